#pragma once
// A ProfileStore over one profile (INI) file, through the system's private profile functions.
#include "app/settings.h"

#include <string>

namespace tessera {

// Reads and writes the values of the profile file at a full path (ANSI code page).
class ProfileFile final : public ProfileStore {
public:
    explicit ProfileFile(std::string path);

    std::optional<std::string> ReadString(const std::string& section, const std::string& key) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    std::string Path() const override { return path_; }

private:
    std::string path_;
};

}  // namespace tessera
