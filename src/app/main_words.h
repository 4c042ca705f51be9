#pragma once
// The main window's free texts ("@100" to "@103"), in French, the language the program shows.
#include <string>
#include <string_view>

namespace tessera {

// The text of `id` (UTF-8), or `id` itself when the window has no such text.
std::string MainWord(std::string_view id);

}  // namespace tessera
