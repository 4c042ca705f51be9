#pragma once
// The clear command's work on the store: the item files and the clip index.
#include <string>
#include <vector>

#include "store/clip_index.h"
#include "store/file_system.h"

namespace tessera {

// Deletes every file an index row names and every plain file of `storeDir` (what the next start
// would list as items once the index file is gone), then leaves in `index` only the items whose
// files could not be deleted: the empty index when all went. Returns the paths of those files.
std::vector<std::string> ClearStore(FileSystem& fs, const std::string& storeDir, ClipIndex& index);

}  // namespace tessera
