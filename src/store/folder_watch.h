#pragma once
// A watch on the names of a folder's files, as a port: the system says which names changed.
#include <string>
#include <vector>

namespace tessera {

// One change of a file's name: the file came (made, or renamed to it) or went (deleted, or renamed
// away from it). Folders are not files: their names never come here.
struct NameChange {
    std::string name;      // in the program's 8-bit code page
    bool present = false;  // the name is a file of the folder after this change
};

// What a folder watch saw since it was last asked.
struct FolderChanges {
    // The watch cannot tell what changed: it has just started, missed changes (its buffer ran
    // over) or lost the folder (replaced, removed). Whoever relies on it lists the folder again.
    bool unknown = true;
    // In the order the changes were made.
    std::vector<NameChange> changes;
};

class FolderWatch {
public:
    virtual ~FolderWatch() = default;
    // The changes made to the folder since the last call (every change completed before this
    // call is in the answer, or the answer is `unknown`).
    virtual FolderChanges TakeChanges() = 0;
};

}  // namespace tessera
