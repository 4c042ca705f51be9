#pragma once
// A watch on the names of a folder's files, as a port: the system says which names changed.
#include <string>
#include <vector>

namespace tessera {

// What a folder watch saw since it was last asked.
struct FolderChanges {
    // The watch cannot tell what changed: it has just started, missed changes (its buffer ran
    // over) or lost the folder (replaced, removed). Whoever relies on it lists the folder again.
    bool unknown = true;
    // Names added, removed or renamed (both the old and the new name), in the program's 8-bit
    // code page, in any order and perhaps more than once. Folders may be among them.
    std::vector<std::string> names;
};

class FolderWatch {
public:
    virtual ~FolderWatch() = default;
    // The changes made to the folder since the last call (every change completed before this
    // call is in the answer, or the answer is `unknown`).
    virtual FolderChanges TakeChanges() = 0;
};

}  // namespace tessera
