#include "app/profile_file_win32.h"

#include <windows.h>

#include <array>
#include <string_view>
#include <utility>

#include "app/profile_text.h"
#include "store/disk_file_system.h"

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

// The system's writer rewrites the file in place and reports success even when a full disk left
// it empty, losing every setting. The new text is made here and replaces the file whole or not
// at all. A file that exists but cannot be read is left alone rather than rewritten from nothing.
bool ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    DiskFileSystem fs;
    const std::optional<std::string> old = fs.ReadAll(path_);
    if (!old && fs.FileExists(path_)) return false;
    return fs.ReplaceContents(path_, SetProfileValue(old.value_or(std::string()), section, key, value));
}

}  // namespace tessera
