#include "store/item_numbering.h"

#include <cstdint>
#include <optional>

#include "text/ascii.h"

namespace tessera {
namespace {

// A decimal integer with an optional sign, within 32 bits, and nothing else.
std::optional<std::int64_t> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) return -value;
    if (value > INT32_MAX) return std::nullopt;
    return value;
}

// The number a file name carries for `prefix`: the character right after the prefix is skipped,
// whatever it is, and the number runs up to the first ".". A name without "." carries none.
std::optional<std::int64_t> NumberOf(std::string_view fileName, std::string_view prefix) {
    if (!StartsWithIgnoringCase(fileName, prefix)) return std::nullopt;
    std::string_view rest = fileName.size() > prefix.size() + 1 ? fileName.substr(prefix.size() + 1) : "";
    const std::size_t dot = rest.find('.');
    rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(0, dot);
    return ParseInteger(rest);
}

}  // namespace

// Every row counts, also those the chooser has not listed yet or will drop as stale: a row
// whose file was deleted by hand still names it, and a new item must never take a name an index
// row holds (the two rows would share one file). Numbers freed by deleting items are reused
// only when they were the greatest. Rows never written hold no name and so no number: only the
// stored rows are visited, which keeps an index that claims billions of rows cheap.
std::int64_t NextNumber(const ClipIndex& index, std::string_view prefix) {
    std::int64_t greatest = 0;
    for (const ClipIndex::StoredRow& row : index.StoredRows()) {
        const std::optional<std::int64_t> number = NumberOf(row.cells[1], prefix);
        if (number && *number > greatest) greatest = *number;
    }
    return greatest + 1;
}

std::string NumberSuffix(std::int64_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return "_" + digits;
}

std::string NextNumberSuffix(const ClipIndex& index, std::string_view prefix) {
    return NumberSuffix(NextNumber(index, prefix));
}

}  // namespace tessera
