#pragma once
// The item files on the disk: the store folder of the platform the program is built for.
#include <string>

#include "search/item_files.h"

namespace tessera {

class DiskItemFiles final : public ItemFiles {
public:
    // `storeDir` without its trailing separator.
    explicit DiskItemFiles(std::string storeDir) : storeDir_(std::move(storeDir)) {}

    std::optional<FileStamp> Stamp(const std::string& fileName) override;
    std::optional<std::string> Read(const std::string& fileName) override;
    std::optional<std::vector<std::pair<std::string, FileStamp>>> ListStamps() override;

private:
    std::string storeDir_;
};

}  // namespace tessera
