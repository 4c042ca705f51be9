#pragma once
// How a modal form ended. Free of <windows.h>, so that the portable core can name it too.

namespace tessera::win {

enum class ModalResult { Ok, Cancel };

}  // namespace tessera::win
