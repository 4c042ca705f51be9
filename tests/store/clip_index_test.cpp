#include "store/clip_index.h"

#include <gtest/gtest.h>

#include "../support/index_rows.h"

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tessera {
namespace {

using testing::Rows;
using testing::RowsOf;

TEST(ClipIndex, AppendFillsTheEmptyIndexThenAddsRows) {
    ClipIndex index;
    // Emptiness looks at the file name only: a lone display name is overwritten.
    index.SetCell(0, 0, "left over");
    EXPECT_TRUE(index.IsEmpty());
    index.AppendItem("Image_001", "Image_001.bmp");
    index.AppendItem("Texte_002", "Texte_002.txt");
    EXPECT_EQ(RowsOf(index), (Rows{{"Image_001", "Image_001.bmp"}, {"Texte_002", "Texte_002.txt"}}));
}

TEST(ClipIndex, RowCountChangesDropRowsForGood) {
    ClipIndex index;
    for (const char* name : {"a", "b", "c"}) index.AppendItem(name, std::string(name) + ".txt");
    index.SetRowCount(1);
    index.SetRowCount(3);  // must not bring the dropped rows back
    EXPECT_EQ(RowsOf(index), (Rows{{"a", "a.txt"}, {"", ""}, {"", ""}}));
    index.SetRowCount(-7);
    EXPECT_EQ(RowsOf(index), (Rows{{"a", "a.txt"}}));
    index.RemoveRow(0);
    EXPECT_EQ(RowsOf(index), (Rows{{"", ""}}));
}

TEST(ClipIndex, RemoveRowMovesLaterRowsUpAcrossRowsNeverWritten) {
    ClipIndex index;
    index.SetRowCount(5);
    index.SetCell(1, 0, "a.txt");
    index.SetCell(1, 3, "d.txt");
    index.RemoveRow(0);
    index.RemoveRow(1);
    EXPECT_EQ(RowsOf(index), (Rows{{"", ""}, {"", "d.txt"}, {"", ""}}));
}

// What RemoveRowsWhere stands for, written the slow way.
int RemoveLoop(ClipIndex& index, const ClipIndex::RowPredicate& stale) {
    int removed = 0;
    while (!index.IsEmpty()) {
        int found = -1;
        for (int r = 0; r < index.RowCount() && found < 0; ++r)
            if (stale(index.GetCell(0, r), index.GetCell(1, r))) found = r;
        if (found < 0) break;
        index.RemoveRow(found);
        ++removed;
    }
    return removed;
}

bool NoFile(const std::string&, const std::string& file) { return file.empty() || file[0] == 'x'; }
bool CrossedOut(const std::string&, const std::string& file) { return !file.empty() && file[0] == 'x'; }

TEST(ClipIndex, RemoveRowsWhereStopsWhereTheLoopStops) {
    // The loop stops at the empty index, so the last row's display name stays.
    ClipIndex index;
    index.AppendItem("gone", "x.txt");
    index.SetRowCount(2);
    index.SetCell(0, 1, "kept");
    EXPECT_EQ(index.RemoveRowsWhere(NoFile), 1);
    EXPECT_EQ(RowsOf(index), (Rows{{"kept", ""}}));
}

TEST(ClipIndex, RemoveRowsWhereMatchesTheLoopOnRandomTables) {
    std::mt19937 random(1234);
    const std::vector<std::string> files = {"", "x.bmp", "a.bmp"};
    for (int round = 0; round < 3000; ++round) {
        ClipIndex index;
        const int rows = 1 + static_cast<int>(random() % 7);
        index.SetRowCount(rows);
        // Some rows are never written, so runs of blank rows meet stored ones.
        for (int r = 0; r < rows; ++r) {
            if (random() % 3 == 0) continue;
            index.SetCell(0, r, random() % 2 ? "n" : "");
            index.SetCell(1, r, files[random() % files.size()]);
        }
        // With NoFile rows never written are stale, with CrossedOut they are not.
        const auto stale = round % 2 ? NoFile : CrossedOut;
        ClipIndex expected = index;
        const int expectedRemoved = RemoveLoop(expected, stale);
        const Rows before = RowsOf(index);
        EXPECT_EQ(index.RemoveRowsWhere(stale), expectedRemoved) << ::testing::PrintToString(before);
        EXPECT_EQ(RowsOf(index), RowsOf(expected)) << ::testing::PrintToString(before);
    }
}

}  // namespace
}  // namespace tessera
