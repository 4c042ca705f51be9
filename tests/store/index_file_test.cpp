#include "store/index_file.h"

#include <gtest/gtest.h>

#include "../support/index_rows.h"

#include <string>
#include <utility>
#include <vector>

namespace tessera {
namespace {

using testing::Rows;
using testing::RowsOf;

Rows Decoded(std::string_view bytes, ClipIndex index = {}) {
    DecodeIndexFile(bytes, index);
    return RowsOf(index);
}

TEST(IndexFile, WritesTheExactLines) {
    ClipIndex index;
    index.AppendItem("Image_001", "Image_001.bmp");
    EXPECT_EQ(EncodeIndexFile(index), "2,1\r\ncw 0,64\r\ncw 1,64\r\n0,0,Image_001\r\n1,0,Image_001.bmp\r\n");
    EXPECT_EQ(Decoded(EncodeIndexFile(index)), RowsOf(index));

    // Empty cells have no line.
    index.AppendItem("Texte_002", "Texte_002.txt");
    index.SetCell(0, 0, "");
    index.SetRowCount(3);
    EXPECT_EQ(EncodeIndexFile(index),
              "2,3\r\ncw 0,64\r\ncw 1,64\r\n1,0,Image_001.bmp\r\n0,1,Texte_002\r\n1,1,Texte_002.txt\r\n");
}

TEST(IndexFile, CellTextsRoundTripOrLoseTheirLineBreaks) {
    ClipIndex index;
    index.SetRowCount(5);
    const std::vector<std::string> texts = {"a, b,, c,", "one\ntwo\r\nthree", "one\rtwo", "one\ntwo",
                                            std::string(1 << 20, 'L')};
    for (int r = 0; r < 5; ++r) index.SetCell(0, r, texts[r]);
    const std::string bytes = EncodeIndexFile(index);
    EXPECT_NE(bytes.find("\r\n0,1,one\btwo\t\bthree\r\n0,2,one\ttwo\r\n0,3,one\ntwo\r\n"), std::string::npos);

    const Rows back = Decoded(bytes);
    EXPECT_EQ(back[0].first, texts[0]);
    EXPECT_EQ(back[1].first, "one\ntwo");  // cut at the first CR
    EXPECT_EQ(back[2].first, "one\ttwo");  // no BS, so the TAB stays
    EXPECT_EQ(back[3].first, "one\ntwo");  // a lone LF does not end a line
    EXPECT_EQ(back[4].first, texts[4]);
}

TEST(IndexFile, HeaderCountsBoundTheCellsRead) {
    // The column count serves only the range test; the table keeps two columns.
    EXPECT_EQ(Decoded("1,2\r\n0,0,A\r\n1,0,A.bmp\r\n0,1,B\r\n"), (Rows{{"A", ""}, {"B", ""}}));
    EXPECT_EQ(Decoded("0,0\r\n0,0,A\r\n1,0,A.bmp\r\n0,1,B\r\n"), (Rows{{"A", ""}}));
    EXPECT_EQ(Decoded("5,1\r\n2,0,C\r\n1,0,A.bmp\r\n"), (Rows{{"", "A.bmp"}}));
    EXPECT_EQ(Decoded("2,3\r\n0,5,F\r\n0,2,C\r\n"), (Rows{{"", ""}, {"", ""}, {"C", ""}}));
    EXPECT_EQ(Decoded("3\r\n").size(), 3u);  // no comma: the whole line is the row count

    // An empty first line keeps the table's counts.
    ClipIndex three;
    three.SetRowCount(3);
    const char* noHeader = "\r\ncw 0,64\r\n0,0,A\r\n1,0,A.bmp\r\n0,1,B\r\n";
    EXPECT_EQ(Decoded(noHeader), (Rows{{"A", "A.bmp"}}));
    EXPECT_EQ(Decoded(noHeader, three), (Rows{{"A", "A.bmp"}, {"B", ""}, {"", ""}}));

    // The header applies at once: a smaller row count drops rows; cells no line names stay.
    ClipIndex existing;
    existing.AppendItem("old", "old.bmp");
    existing.AppendItem("gone", "gone.bmp");
    EXPECT_EQ(Decoded("2,1\r\n1,0,new.bmp\r\n", existing), (Rows{{"old", "new.bmp"}}));
}

TEST(IndexFile, ReadsMalformedLinesLeniently) {
    const auto cells = [](std::string lines) { return Decoded("2,2\r\ncw 0,64\r\ncw 1,64\r\n" + lines); };
    // Missing commas: the number reads 0 and the text stays whole.
    EXPECT_EQ(cells("1,B.bmp\r\nplain\r\n"), (Rows{{"plain", "B.bmp"}, {"", ""}}));
    // An empty line names cell (0,0) with no text.
    EXPECT_EQ(cells("0,0,A\r\n\r\n"), (Rows{{"", ""}, {"", ""}}));
    // Numbers: blanks and a sign before digits, anything after them ignored, no digits is 0.
    EXPECT_EQ(cells(" +1, 1 row,X\r\nabc,def,Y\r\n"), (Rows{{"Y", ""}, {"", "X"}}));
    // Negative numbers are skipped, and so are numbers past 32 bits (clamped, not wrapped to 0).
    EXPECT_EQ(cells("-1,0,A\r\n0,-1,B\r\n-0,1,D\r\n0,4294967296,C\r\n0,18446744073709551617,E\r\n"),
              (Rows{{"", ""}, {"D", ""}}));
    EXPECT_EQ(cells("cw 7,1\r\ncwA\r\n"), (Rows{{"", ""}, {"", ""}}));

    // Lines end at CR (an LF after it is part of the line end), the file at Ctrl+Z.
    EXPECT_EQ(Decoded("2,2\r0,0,A\r1,1,B.bmp"), (Rows{{"A", ""}, {"", "B.bmp"}}));
    EXPECT_EQ(Decoded("2,1\r\n0,0,A\x1a\r\n1,0,A.bmp\r\n"), (Rows{{"A", ""}}));
    EXPECT_EQ(Decoded("2,1\n0,0,A\n"), (Rows{{"", ""}}));  // one header line
}

TEST(IndexFile, LinesInAnyRowOrderEndAsIfStoredInTurn) {
    // The last line naming a cell wins, whatever the order of the rows.
    EXPECT_EQ(Decoded("2,4\r\n0,3,D\r\n0,1,B\r\n1,1,b\r\n0,0,A\r\n0,3,D2\r\n0,1,B2\r\n0,2,C\r\n"),
              (Rows{{"A", ""}, {"B2", "b"}, {"C", ""}, {"D2", ""}}));
    ClipIndex existing;
    existing.AppendItem("old 0", "old_0.bmp");
    existing.AppendItem("old 1", "old_1.bmp");
    EXPECT_EQ(Decoded("2,3\r\n0,2,C\r\n0,1,new 1\r\n", existing),
              (Rows{{"old 0", "old_0.bmp"}, {"new 1", "old_1.bmp"}, {"C", ""}}));
}

}  // namespace
}  // namespace tessera
