#include "store/index_startup.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <unordered_set>

#include "store/index_file.h"
#include "store/store_names.h"
#include "text/ascii.h"

namespace tessera {
namespace {

std::string WithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The digits after the last "_" of the name without its extension, when that is all there is.
std::optional<std::uint64_t> ItemNumberOf(const std::string& name) {
    const std::string stem = WithoutExtension(name);
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string::npos) return std::nullopt;
    const std::string digits = stem.substr(underscore + 1);
    if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoull(digits);
}

}  // namespace

void RebuildIndexFromFiles(const std::vector<std::string>& files, ClipIndex& index) {
    for (const std::string& f : files) index.AppendItem(WithoutExtension(f), f);
}

void SortNamesIgnoringCase(std::vector<std::string>& files) {
    std::stable_sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
        });
    });
}

std::vector<std::string> UnnamedFiles(std::vector<std::string> plainFiles, const std::vector<std::string>& named) {
    std::unordered_set<std::string> upperNamed;
    upperNamed.reserve(named.size());
    for (const std::string& name : named) upperNamed.insert(UpperAscii(name));
    std::vector<std::string> unnamed;
    for (std::string& name : plainFiles)
        if (IsPlainStoreFileName(name) && !upperNamed.count(UpperAscii(name))) unnamed.push_back(std::move(name));
    SortByItemNumber(unnamed);
    return unnamed;
}

void SortByItemNumber(std::vector<std::string>& files) {
    SortNamesIgnoringCase(files);
    std::stable_sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        const std::optional<std::uint64_t> x = ItemNumberOf(a), y = ItemNumberOf(b);
        return x && (!y || *x < *y);
    });
}

// The folder is listed only when the index must be rebuilt from it: with a hundred thousand items
// the listing and its sort would take longer than reading the index file.
IndexStartup LoadIndexAtStart(FileSystem& fs, const std::string& indexPath, const std::string& storeDir,
                              ClipIndex& index) {
    IndexStartup result;
    const auto rebuild = [&] {
        result.files = fs.ListPlainFiles(storeDir);
        SortNamesIgnoringCase(result.files);
        RebuildIndexFromFiles(result.files, index);
    };
    if (!fs.FileExists(indexPath)) {
        rebuild();
        return result;
    }
    try {
        LoadIndexFile(fs, index, indexPath);
    } catch (const std::runtime_error& e) {
        // An index file that cannot be read (locked, or a folder in its place) must not hide the
        // items: they are listed from the folder, so a later save names every one of them again.
        result.loadError = e.what();
        index = ClipIndex{};
        rebuild();
    }
    return result;
}

}  // namespace tessera
