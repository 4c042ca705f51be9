#include "app/profile_text.h"

#include <optional>

#include "text/ascii.h"

namespace tessera {
namespace {

// The name of a "[section]" line, or nothing for another line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
    const std::size_t equals = line.find('=');
    return equals != std::string_view::npos && EqualsIgnoringCase(TrimBlanks(line.substr(0, equals)), key);
}

}  // namespace

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string entry = std::string(TrimBlanks(key)) + "=" + std::string(value) + "\r\n";
    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    bool inSection = false, seen = false, done = false;
    std::size_t sectionEnd = std::string::npos;  // where a missing key of the section goes
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        end = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        std::string_view bare = line;
        while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r')) bare.remove_suffix(1);

        if (const auto name = SectionName(bare)) {
            // Only the first section of that name counts, as for the system's reader.
            inSection = !seen && EqualsIgnoringCase(*name, TrimBlanks(section));
            seen = seen || inSection;
        } else if (inSection && IsKeyLine(bare, key)) {
            out += entry;
            done = true;
            inSection = false;
            continue;
        }
        out += line;
        if (line.back() != '\n') out += "\r\n";  // a last line without its end: nothing may join it
        if (inSection && !TrimBlanks(bare).empty()) sectionEnd = out.size();
    }
    if (done) return out;
    if (sectionEnd != std::string::npos) {
        out.insert(sectionEnd, entry);
        return out;
    }
    out += "[" + std::string(TrimBlanks(section)) + "]\r\n" + entry;
    return out;
}

}  // namespace tessera
