#include "store/index_writer.h"

#include <system_error>
#include <utility>

namespace tessera {

IndexWriter::IndexWriter(FileSystem& fs, std::string path, Mode mode) : fs_(fs), path_(std::move(path)), mode_(mode) {}

IndexWriter::~IndexWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

// The thread starts with the first request: a store that never changes has none. Without a thread
// (the system refused one) the request is written here and now.
void IndexWriter::Request(std::optional<std::string> bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    pending_.emplace(std::move(bytes));
    failed_.reset();
    if (mode_ == Mode::InBackground && !thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
        }
    }
    if (thread_.joinable()) {
        changed_.notify_all();
        return;
    }
    if (!writing_) WritePending(lock);
}

std::optional<std::string> IndexWriter::Flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!pending_ && failed_) pending_ = std::move(failed_);
    failed_.reset();
    if (thread_.joinable()) {
        changed_.notify_all();
        changed_.wait(lock, [this] { return !pending_ && !writing_; });
    } else if (pending_ && !writing_) {
        WritePending(lock);
    }
    if (!failing_) return std::nullopt;
    failure_.reset();  // told here: not again through TakeFailure
    return "Cannot Create " + path_;
}

std::optional<std::string> IndexWriter::TakeFailure() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(failure_, std::nullopt);
}

// Only the newest request counts: those that came while a write was under way are replaced by
// the last of them. What is pending when the writer ends is still written.
void IndexWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) return;
        WritePending(lock);
        changed_.notify_all();
    }
}

// The user is told of a failure once, not at every change that fails the same way; a write that
// works again ends the run of failures.
void IndexWriter::WritePending(std::unique_lock<std::mutex>& lock) {
    std::optional<std::string> bytes = std::move(*pending_);
    pending_.reset();
    writing_ = true;
    lock.unlock();
    const bool written = bytes ? fs_.ReplaceContents(path_, *bytes) : fs_.RemoveFile(path_);
    lock.lock();
    writing_ = false;
    if (written) {
        failing_ = false;
        return;
    }
    if (!pending_) failed_.emplace(std::move(bytes));
    if (std::exchange(failing_, true)) return;
    failure_ = "Cannot Create " + path_;
    if (OnFailure) {
        lock.unlock();
        OnFailure();
        lock.lock();
    }
}

}  // namespace tessera
