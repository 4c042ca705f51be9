#include "store/clip_file_win32.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tessera {

// The path is ANSI and the rest of the message UTF-8: the error display copes with the mix.
void ThrowCannotCreate(const std::string& path) {
    throw std::runtime_error("Impossible de créer le fichier " + path);
}

NewClipFile::NewClipFile(std::string path) : path_(std::move(path)) {
    file_.reset(::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (!file_) ThrowCannotCreate(path_);
}

// A half-written file would be an item that shows wrong: a failed capture leaves none.
NewClipFile::~NewClipFile() {
    if (closed_) return;
    file_.reset();
    ::DeleteFileA(path_.c_str());
}

void NewClipFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        // WriteFile takes 32-bit counts.
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written == 0) ThrowCannotCreate(path_);
        bytes += written;
        size -= written;
    }
}

void NewClipFile::Close() {
    if (!::CloseHandle(file_.release())) ThrowCannotCreate(path_);
    closed_ = true;
}

}  // namespace tessera
