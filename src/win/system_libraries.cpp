#include "win/system_libraries.h"

namespace tessera::win {

void RestrictDllSearchToSystemFolder() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The current folder is searched by older loaders for LoadLibrary calls of other libraries.
    ::SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) { return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }

}  // namespace tessera::win
