#include "store/clip_formats_win32.h"

#include <windows.h>

namespace tessera {

bool Win32ClipboardFormats::IsAvailable(unsigned format) const { return ::IsClipboardFormatAvailable(format) != FALSE; }

}  // namespace tessera
