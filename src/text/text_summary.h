#pragma once
// The line the chooser's list shows for a text item.
#include <cstddef>
#include <string>
#include <string_view>

namespace tessera {

inline constexpr std::size_t kSummaryChars = 200;

// The first line of `text` (UTF-8) that holds more than blanks, its blanks and controls
// collapsed to single spaces and trimmed, cut to `maxChars` characters; empty when none.
std::string SummaryLine(std::string_view text, std::size_t maxChars = kSummaryChars);

}  // namespace tessera
