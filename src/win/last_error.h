#pragma once
// Errors of Windows calls, read at the failing call and named after it.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace tessera::win {

// A failed Windows call: what() names the call and gives the system's code.
class Win32Error : public std::runtime_error {
public:
    Win32Error(const char* call, DWORD code);
    DWORD code() const noexcept { return code_; }

private:
    DWORD code_;
};

// Throws Win32Error for `call` with the thread's last error.
[[noreturn]] void ThrowLastError(const char* call);

}  // namespace tessera::win
