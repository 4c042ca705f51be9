#include "store/store_names.h"

#include <array>

#include "text/ascii.h"

namespace tessera {
namespace {

// Separators, drive and stream colons, wildcards, quotes and redirections.
constexpr std::string_view kForbidden = "<>:\"/\\|?*";

// Windows opens a device for these whatever the folder and the extension ("CON.txt" is the
// console), and ignores blanks before the extension ("NUL .bmp"). The superscript digits are
// those of the ANSI code page that Windows also takes as port numbers.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    static constexpr std::array<std::string_view, 6> kDevices{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kDevices)
        if (EqualsIgnoringCase(base, device)) return true;
    if (base.size() != 4) return false;
    const std::string_view port = base.substr(0, 3);
    const auto digit = static_cast<unsigned char>(base[3]);
    const bool portDigit = (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    return portDigit && (EqualsIgnoringCase(port, "COM") || EqualsIgnoringCase(port, "LPT"));
}

}  // namespace

// The extension runs from the last dot after the last path delimiter, as the index's names were
// made; a crafted name with a separator is rejected later by StoreFilePath anyway.
bool IsTextItemFileName(std::string_view fileName) {
    const std::size_t at = fileName.find_last_of(".\\:");
    if (at == std::string_view::npos || fileName[at] != '.') return false;
    return EqualsIgnoringCase(fileName.substr(at), ".TXT");
}

// The index file is plain text anyone can edit, and its names are joined to the store's folder
// before a file is written, read or deleted: a name that could reach outside the folder, or
// something that is not a plain file, counts as a missing file.
bool IsPlainStoreFileName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos) return false;
    // Windows drops a trailing dot or blank, so "a." would open "a"; this also rules out "." and "..".
    if (name.back() == '.' || name.back() == ' ') return false;
    return !IsDeviceName(name);
}

std::optional<std::string> StoreFilePath(const std::string& storeDir, std::string_view name) {
    if (!IsPlainStoreFileName(name)) return std::nullopt;
    std::string path = storeDir;
    path += '\\';
    path += name;
    return path;
}

}  // namespace tessera
