#include "text/text_summary.h"

namespace tessera {

namespace {

// The length of the blank at `p` (a space, a control or a Unicode space), 0 when it is none.
std::size_t BlankSize(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c <= ' ' || c == 0x7F) return 1;
    const auto at = [&](std::size_t k) { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0; };
    if (c == 0xC2 && (at(1) == 0xA0 || at(1) == 0x85)) return 2;                       // no-break space, NEL
    if (c == 0xE2 && at(1) == 0x80 && (at(2) <= 0x8B || at(2) == 0xAF)) return 3;     // U+2000..200B, 202F
    if (c == 0xE3 && at(1) == 0x80 && at(2) == 0x80) return 3;                         // ideographic space
    if (c == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return 3;                         // byte order mark
    return 0;
}

}  // namespace

// Reads line by line up to the first one with something other than blanks; each run of blanks
// inside it becomes one space, and a character is counted at each byte that begins one.
std::string SummaryLine(std::string_view text, std::size_t maxChars) {
    std::string out;
    std::size_t chars = 0;
    bool pendingSpace = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            if (!out.empty()) break;
            pendingSpace = false;
            ++i;
            continue;
        }
        if (const std::size_t blank = BlankSize(text, i)) {
            pendingSpace = !out.empty();
            i += blank;
            continue;
        }
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            if (chars + (pendingSpace ? 1 : 0) >= maxChars) break;
            if (pendingSpace) {
                out += ' ';
                ++chars;
                pendingSpace = false;
            }
            ++chars;
        }
        out += c;
        ++i;
    }
    return out;
}

}  // namespace tessera
