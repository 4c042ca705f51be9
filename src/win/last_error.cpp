#include "win/last_error.h"

namespace tessera::win {

Win32Error::Win32Error(const char* call, DWORD code)
    : std::runtime_error(std::string(call) + " failed (error " + std::to_string(code) + ")"), code_(code) {}

void ThrowLastError(const char* call) { throw Win32Error(call, ::GetLastError()); }

}  // namespace tessera::win
