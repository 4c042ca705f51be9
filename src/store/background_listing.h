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
        std::vector<std::string> unnamed;  // plain store files no name of `named` names, in number order
    };

    BackgroundListing() = default;
    BackgroundListing(const BackgroundListing&) = delete;
    BackgroundListing& operator=(const BackgroundListing&) = delete;
    // Waits for a listing under way.
    ~BackgroundListing();

    // Starts listing `dir`, and finding its files that none of `named` names when asked; false when
    // no thread could be had (nothing runs then).
    bool Start(FileSystem& fs, std::string dir, std::optional<std::vector<std::string>> named = std::nullopt);
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
