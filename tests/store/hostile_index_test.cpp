// A hand-made index file may claim billions of rows: loading, saving and dropping stale rows must
// cost what the file holds, not what it claims.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <stdexcept>
#include <string>

#include "store/index_file.h"

namespace tessera {
namespace {

TEST(HostileIndexFile, ClaimedRowsCostNothingToLoadSaveOrDrop) {
    const std::string bytes =
        "2,2000000000\r\ncw 0,64\r\ncw 1,64\r\n0,0,Image_001\r\n1,0,Image_001.bmp\r\n0,1999999999,Last\r\n"
        "1,1999999999,Last.bmp\r\n";
    const auto start = std::chrono::steady_clock::now();

    ClipIndex index;
    DecodeIndexFile(bytes, index);
    EXPECT_EQ(index.StoredRows().size(), 2u);  // what the writer visits, and all the table holds
    EXPECT_EQ(EncodeIndexFile(index), bytes);
    EXPECT_EQ(index.GetCell(1, 1999999999), "Last.bmp");

    // The chooser drops rows that name no file.
    EXPECT_EQ(index.RemoveRowsWhere([](const std::string&, const std::string& file) { return file.empty(); }),
              2000000000 - 2);
    EXPECT_EQ(index.RowCount(), 2);
    EXPECT_EQ(index.GetCell(0, 1), "Last");

    // Generous: the work is a few lines; a table that stored every claimed row would take minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // Counts past 32 bits clamp rather than wrap (4294967297 would wrap to 1).
    DecodeIndexFile("2,4294967297\r\n0,2147483646,Far\r\n", index);
    EXPECT_EQ(index.RowCount(), INT_MAX);
    EXPECT_EQ(index.GetCell(0, INT_MAX - 1), "Far");
    EXPECT_THROW(index.AppendItem("one more", "one_more.txt"), std::length_error);
}

}  // namespace
}  // namespace tessera
