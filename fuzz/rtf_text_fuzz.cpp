// Reads any bytes as an item's file, then checks what the reader promises: UTF-8 text within its
// limit; and that the words and the summary line made of it hold no more than it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/folded_words.h"
#include "text/rtf_text.h"
#include "text/text_summary.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t size = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (size == 0 || i + size > text.size()) return false;
        for (std::size_t k = 1; k < size; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += size;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = tessera::RtfToText(bytes);
    Check(IsUtf8(text));
    const std::size_t limit = size % 64;
    Check(tessera::RtfToText(bytes, limit).size() <= limit);

    tessera::FoldedWords words(text);
    std::size_t total = 0;
    for (std::string_view word; words.Next(word);) {
        Check(!word.empty() && word.size() <= tessera::kMaxWordBytes && IsUtf8(word));
        total += word.size();
    }
    Check(total <= 2 * text.size());
    const std::string summary = tessera::SummaryLine(text, 10);
    Check(IsUtf8(summary) && summary.size() <= 40 && summary.find('\n') == std::string::npos);
    return 0;
}
