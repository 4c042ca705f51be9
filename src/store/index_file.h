#pragma once
// The index file: the clip index saved as text beside the executable, and read back leniently.
#include <string>
#include <string_view>

#include "store/clip_index.h"
#include "store/file_system.h"

namespace tessera {

// The file's exact bytes for `index`.
std::string EncodeIndexFile(const ClipIndex& index);
// Reads `bytes` into `index`; malformed lines are read leniently or skipped, never an error.
void DecodeIndexFile(std::string_view bytes, ClipIndex& index);

// Throws std::runtime_error("Cannot Create " + path) when the file cannot be written.
void SaveIndexFile(FileSystem& fs, const ClipIndex& index, const std::string& path);
// Makes the file say what `index` holds: written when it has items, removed when it is empty.
// Throws std::runtime_error("Cannot Create " + path) when it can do neither.
void SaveIndex(FileSystem& fs, const ClipIndex& index, const std::string& path);
// Throws std::runtime_error("Cannot open file " + path), table unchanged, when it cannot be read.
void LoadIndexFile(FileSystem& fs, ClipIndex& index, const std::string& path);

}  // namespace tessera
