#pragma once
// The component format's data as the text view shows it.
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

// The text lines of a component's data block (the program keeps components in their text form,
// ANSI, lines ending CR LF; a NUL ends the data before the block does).
std::vector<std::string> ComponentToText(std::string_view block);

}  // namespace tessera
