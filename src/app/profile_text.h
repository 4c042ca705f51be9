#pragma once
// Changing one value in the text of a profile (INI) file, so that the file can be replaced whole.
#include <string>
#include <string_view>

namespace tessera {

// `text` with `key` of `section` set to `value`, as the system's profile functions would store
// it: names compare without regard to case or surrounding blanks; a missing key goes at the end
// of its section's lines, a missing section at the end of the text. Every other line is kept as
// it is. New lines end with CR LF.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

}  // namespace tessera
