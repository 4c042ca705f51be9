#pragma once
// Keeps the index file saying what the clip index holds: every change is handed over at once and
// written whole (the old file or the new one, never a mix), the newest content replacing one not
// yet written.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "store/file_system.h"

namespace tessera {

class IndexWriter {
public:
    enum class Mode {
        AtOnce,        // each request is written before Request returns
        InBackground,  // requests are written by a thread of the writer's own
    };

    IndexWriter(FileSystem& fs, std::string path, Mode mode);
    IndexWriter(const IndexWriter&) = delete;
    IndexWriter& operator=(const IndexWriter&) = delete;
    // Writes what is still to be written, then ends.
    ~IndexWriter();

    // The file is to hold `bytes`, or is to be removed when there are none.
    void Request(std::optional<std::string> bytes);
    // Waits until the newest request is on disk, trying again a write that failed; the failure's
    // text ("Cannot Create " + path) when it could not be written.
    std::optional<std::string> Flush();

    // Called (from the writer's thread in the background) when a write fails after the one before
    // it succeeded: the caller asks TakeFailure for the text.
    std::function<void()> OnFailure;
    // The text of a failure not yet taken.
    std::optional<std::string> TakeFailure();

private:
    void Run();
    // Writes the pending request; the lock is released meanwhile.
    void WritePending(std::unique_lock<std::mutex>& lock);

    FileSystem& fs_;
    const std::string path_;
    const Mode mode_;

    std::mutex mutex_;
    std::condition_variable changed_;
    // A request not yet written; after a failed write, that request until another replaces it.
    std::optional<std::optional<std::string>> pending_;
    std::optional<std::optional<std::string>> failed_;
    bool failing_ = false;  // the last write failed
    bool writing_ = false;
    bool stopping_ = false;
    std::optional<std::string> failure_;  // not yet taken
    std::thread thread_;                  // declared last: started once everything else is there
};

}  // namespace tessera
