#pragma once
// The RunRegistry over the real registry: the Run key of HKEY_LOCAL_MACHINE and of HKEY_CURRENT_USER.
#include "app/start_with_windows.h"

#include <string>

namespace tessera {

// Key, under either root, whose string values Windows starts at log-on.
inline constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Writes REG_SZ values under kRunKeyPath of the scope's root key (ANSI code page).
class Win32RunRegistry final : public RunRegistry {
public:
    bool SetRunValue(RunScope scope, const std::string& name, const std::string& data) override;
    bool DeleteRunValue(RunScope scope, const std::string& name) override;
};

}  // namespace tessera
