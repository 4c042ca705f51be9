#pragma once
// Loading system DLLs from the system folder only.
#include <windows.h>

namespace tessera::win {

// From now on, DLLs are looked up in the system folder and never beside the executable: the
// program lives in a writable folder, where a planted DLL (riched20.dll, say) must not load.
void RestrictDllSearchToSystemFolder();

// Loads a DLL of the system folder; null when it is not there. The DLL stays loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace tessera::win
