#pragma once
// Which file names from the clip index may be used inside the store's folder.
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// True for a bare file name that stays inside the folder it is joined to and names an ordinary
// file: no path, drive, stream, device name, forbidden character or trailing dot or blank.
bool IsPlainStoreFileName(std::string_view name);

// True when `fileName`'s extension, upper-cased, is ".TXT": a text item (the others are pictures).
bool IsTextItemFileName(std::string_view fileName);

// storeDir + "\" + name, or nothing when `name` is not a plain store file name.
std::optional<std::string> StoreFilePath(const std::string& storeDir, std::string_view name);

}  // namespace tessera
