#include "app/profile_file_win32.h"

#include <windows.h>

#include <array>
#include <string_view>
#include <utility>

namespace tessera {

namespace {

// GetPrivateProfileStringA hands back its default both for a missing key and for no file at all,
// and an empty string for a key that is present but empty. A default that holds a line break can
// never be a stored value (the file is read line by line), so getting it back means "missing".
// It ends in a visible character because the function strips trailing blanks from the default.
constexpr std::string_view kMissing = "<\n missing \n>";

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> ProfileFile::ReadString(const std::string& section, const std::string& key) {
    std::array<char, kMaxProfileValueLength + 1> buffer{};
    DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing.data(), buffer.data(),
                                              static_cast<DWORD>(buffer.size()), path_.c_str());
    std::string_view value(buffer.data(), length);
    if (value == kMissing) return std::nullopt;
    return std::string(value);
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) != FALSE;
}

}  // namespace tessera
