#include "app/run_registry_win32.h"

#include <windows.h>

#include "win/unique_handle.h"

namespace tessera {

namespace {

HKEY RootOf(RunScope scope) { return scope == RunScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// True only when the key or the value is known to be missing; a refused read proves nothing.
bool ValueIsAbsent(HKEY root, const std::string& name) {
    HKEY raw = nullptr;
    LONG opened = ::RegOpenKeyExA(root, kRunKeyPath, 0, KEY_QUERY_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    win::unique_hkey key(raw);
    return ::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}

}  // namespace

// Only the rights the write needs are asked for, not full access: a user to whom an administrator
// gave write access to the Run key (but not the right to change its permissions or owner, which
// full access includes) can then register the program machine-wide, and a refusal means that the
// write itself is refused. The key is created when missing, as on a freshly installed system.
bool Win32RunRegistry::SetRunValue(RunScope scope, const std::string& name, const std::string& data) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExA(RootOf(scope), kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    win::unique_hkey key(raw);
    // REG_SZ data counts its terminating null.
    return ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

// Opening the machine-wide key for writing is refused to a standard user even when it holds no
// value of ours; the value is then looked for with read access, so that unchecking the box without
// administrator rights succeeds whenever there is nothing to remove.
bool Win32RunRegistry::DeleteRunValue(RunScope scope, const std::string& name) {
    HKEY root = RootOf(scope);
    HKEY raw = nullptr;
    LONG opened = ::RegOpenKeyExA(root, kRunKeyPath, 0, KEY_SET_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return ValueIsAbsent(root, name);
    win::unique_hkey key(raw);
    LONG deleted = ::RegDeleteValueA(key.get(), name.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace tessera
