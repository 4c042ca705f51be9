#pragma once
// A clip item's file being written: created whole or not at all.
#include <windows.h>

#include <cstddef>
#include <string>

#include "win/unique_handle.h"

namespace tessera {

// Throws std::runtime_error("Impossible de créer le fichier " + path).
[[noreturn]] void ThrowCannotCreate(const std::string& path);

// Creates or overwrites the file at construction; deleted again unless Close() succeeds.
class NewClipFile {
public:
    // Throws the "cannot create" error when the file cannot be created.
    explicit NewClipFile(std::string path);
    ~NewClipFile();
    NewClipFile(const NewClipFile&) = delete;
    NewClipFile& operator=(const NewClipFile&) = delete;

    // Both throw the "cannot create" error when the bytes do not all reach the file.
    void Write(const void* data, std::size_t size);
    void Close();

private:
    std::string path_;
    win::unique_hfile file_;
    bool closed_ = false;
};

}  // namespace tessera
