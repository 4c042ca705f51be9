#include "store/background_listing.h"

#include "store/index_startup.h"

#include <system_error>
#include <utility>

namespace tessera {

BackgroundListing::~BackgroundListing() {
    if (thread_.joinable()) thread_.join();
}

bool BackgroundListing::Start(FileSystem& fs, std::string dir, std::optional<std::vector<std::string>> named) {
    if (thread_.joinable()) Take();
    result_.reset();
    done_ = nullptr;
    try {
        thread_ = std::thread([this, &fs, dir = std::move(dir), named = std::move(named)] {
            std::vector<std::string> plainFiles;
            StoreListing listing(fs, dir, named ? &plainFiles : nullptr);
            std::vector<std::string> unnamed = named ? UnnamedFiles(std::move(plainFiles), *named) : plainFiles;
            std::function<void()> done;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                result_.emplace(Result{std::move(listing), std::move(unnamed)});
                done = std::move(done_);
            }
            finished_.notify_all();
            if (done) done();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool BackgroundListing::Done() {
    std::lock_guard<std::mutex> lock(mutex_);
    return result_.has_value();
}

void BackgroundListing::WhenDone(std::function<void()> done) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!result_) {
            done_ = std::move(done);
            return;
        }
    }
    if (done) done();
}

BackgroundListing::Result BackgroundListing::Take() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [this] { return result_.has_value(); });
    }
    thread_.join();
    Result result = std::move(*result_);
    result_.reset();
    return result;
}

}  // namespace tessera
