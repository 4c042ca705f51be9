#pragma once
// Who uses a store folder: the computer and the process of the Tessera that holds its lock, as
// written in the lock file for a second start to read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

struct StoreUser {
    std::string computer;
    std::uint32_t process = 0;
};

// The lock file's text for `user`.
std::string DescribeStoreUser(const StoreUser& user);
// What a lock file says; nothing for a text that is not one (a lock being written, a foreign file).
std::optional<StoreUser> ReadStoreUser(std::string_view text);

}  // namespace tessera
