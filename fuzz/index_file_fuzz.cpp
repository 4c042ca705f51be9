// Reads any bytes as the index file, then checks what the reader promises: a sane table, the
// same table when the same file is read over it again, and the same table after a save and a load.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "store/index_file.h"
#include "support/memory_file_system.h"

namespace {

using tessera::ClipIndex;

constexpr char kPath[] = "C:\\Tessera\\clips.idx";

using Cells = std::vector<std::tuple<int, std::string, std::string>>;

// The rows that hold text; a stored row whose cells were emptied reads like one never written.
Cells NonEmptyRows(const ClipIndex& index) {
    Cells cells;
    for (const auto& row : index.StoredRows())
        if (!row.cells[0].empty() || !row.cells[1].empty()) cells.emplace_back(row.index, row.cells[0], row.cells[1]);
    return cells;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckShape(const ClipIndex& index) {
    Check(index.RowCount() >= 1);
    int previous = -1;
    for (const auto& row : index.StoredRows()) {
        Check(row.index > previous && row.index < index.RowCount());
        previous = row.index;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessera::testing::MemoryFileSystem fs;
    fs.files[kPath] = std::string(reinterpret_cast<const char*>(data), size);

    ClipIndex index;
    tessera::LoadIndexFile(fs, index, kPath);
    CheckShape(index);
    const Cells read = NonEmptyRows(index);

    // Every cell a line names gets that line's text, whatever it held: reading again changes nothing.
    tessera::LoadIndexFile(fs, index, kPath);
    Check(NonEmptyRows(index) == read);

    // What was read survives a save and a load.
    tessera::SaveIndexFile(fs, index, kPath);
    ClipIndex reloaded;
    tessera::LoadIndexFile(fs, reloaded, kPath);
    CheckShape(reloaded);
    Check(reloaded.RowCount() == index.RowCount());
    Check(NonEmptyRows(reloaded) == read);
    return 0;
}
