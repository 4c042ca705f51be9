#include "commands/type_ahead.h"

#include "text/ascii.h"

namespace tessera {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (UpperWestern(text[i]) != UpperWestern(prefix[i])) return false;
    return true;
}

}  // namespace

// A new prefix, and the same letter typed again, look from the line after the selection, so that
// "s", "s", "s" steps through the lines that start with s; a longer prefix looks from the
// selection itself, which stays when it still matches.
std::optional<int> TypeAhead::Type(char character, std::uint32_t now, int current, int count,
                                   const std::function<const std::string&(int)>& line) {
    const bool pause = !typed_ || now - last_ > kPauseMs;
    typed_ = true;
    last_ = now;
    const bool repeated = !pause && prefix_.find_first_not_of(character) == std::string::npos;
    int start = current + 1;
    if (pause || repeated) {
        prefix_.assign(1, character);
    } else {
        prefix_ += character;
        start = current < 0 ? 0 : current;
    }
    if (count <= 0) return std::nullopt;
    for (int step = 0; step < count; ++step) {
        const int at = ((start % count) + count + step) % count;
        if (StartsWith(line(at), prefix_)) return at;
    }
    return std::nullopt;
}

}  // namespace tessera
