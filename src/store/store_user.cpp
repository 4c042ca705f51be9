#include "store/store_user.h"

#include <charconv>

#include "text/ascii.h"

namespace tessera {
namespace {

constexpr std::string_view kComputer = "Computer=";
constexpr std::string_view kProcess = "Process=";

}  // namespace

// Lines a person can read when they find the file, and that the next version can extend.
std::string DescribeStoreUser(const StoreUser& user) {
    return "[Tessera]\r\n" + std::string(kComputer) + user.computer + "\r\n" + std::string(kProcess) +
           std::to_string(user.process) + "\r\n";
}

std::optional<StoreUser> ReadStoreUser(std::string_view text) {
    StoreUser user;
    bool computer = false, process = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (StartsWithIgnoringCase(line, kComputer)) {
            user.computer = std::string(TrimBlanks(line.substr(kComputer.size())));
            computer = true;
        } else if (StartsWithIgnoringCase(line, kProcess)) {
            const std::string_view digits = TrimBlanks(line.substr(kProcess.size()));
            process = std::from_chars(digits.data(), digits.data() + digits.size(), user.process).ec == std::errc{};
        }
    }
    if (!computer || !process) return std::nullopt;
    return user;
}

}  // namespace tessera
