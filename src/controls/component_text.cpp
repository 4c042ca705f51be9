#include "controls/component_text.h"

namespace tessera {

std::vector<std::string> ComponentToText(std::string_view block) {
    // The clipboard's block is rounded up in size: the data ends at the first NUL.
    block = block.substr(0, block.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < block.size()) {
        const std::size_t end = block.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(block.substr(start));
            break;
        }
        lines.emplace_back(block.substr(start, end - start));
        // CR LF, a lone LF and a lone CR each end one line.
        start = end + ((block[end] == '\r' && end + 1 < block.size() && block[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

}  // namespace tessera
