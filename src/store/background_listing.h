#pragma once
// A listing of the store folder made on a thread of its own, so that the window's thread never
// waits for a large folder (a hundred thousand files under Wine, a share over the network).
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/store_listing.h"

namespace tessera {

class BackgroundListing {
public:
    struct Result {
        StoreListing listing;
        std::vector<std::string> plainFiles;  // the names of its plain files
    };

    BackgroundListing() = default;
    BackgroundListing(const BackgroundListing&) = delete;
    BackgroundListing& operator=(const BackgroundListing&) = delete;
    // Waits for a listing under way.
    ~BackgroundListing();

    // Starts listing `dir`; false when no thread could be had (nothing runs then).
    bool Start(FileSystem& fs, std::string dir);
    // Started and not taken yet.
    bool Running() const noexcept { return thread_.joinable(); }
    bool Done();
    // `done` runs once the listing is there: at once when it is, else on the listing's thread. It
    // replaces a callback given before.
    void WhenDone(std::function<void()> done);
    // Waits for the listing and takes it.
    Result Take();

private:
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::optional<Result> result_;
    std::function<void()> done_;
};

}  // namespace tessera
