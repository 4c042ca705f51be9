#pragma once
// Making sure that the clip store's folder exists.
#include <string>

#include "store/file_system.h"

namespace tessera {

// Creates `dir` and any missing parent folder. Failures are not reported here: whoever needs
// the folder checks that it exists.
void ForceDirectories(FileSystem& fs, std::string dir);

}  // namespace tessera
