// The number of a new item's file name.
#include "store/item_numbering.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace tessera {
namespace {

ClipIndex IndexOf(std::initializer_list<const char*> fileNames) {
    ClipIndex index;
    for (const char* name : fileNames) index.AppendItem("item", name);
    return index;
}

TEST(NextNumberSuffix, IsOneMoreThanTheGreatestListedNumber) {
    EXPECT_EQ(NextNumberSuffix(ClipIndex{}, "Image"), "_001");

    ClipIndex gaps = IndexOf({"Image_001.bmp", "Image_002.bmp", "Image_005.bmp"});
    EXPECT_EQ(NextNumberSuffix(gaps, "Image"), "_006");
    // Freed numbers come back only when they were the greatest.
    gaps.RemoveRow(2);
    EXPECT_EQ(NextNumberSuffix(gaps, "Image"), "_003");
    gaps.RemoveRow(0);
    EXPECT_EQ(NextNumberSuffix(gaps, "Image"), "_003");

    const ClipIndex wide = IndexOf({"Image_999.bmp", "Image_42.bmp"});
    EXPECT_EQ(NextNumberSuffix(wide, "Image"), "_1000");
    const ClipIndex tens = IndexOf({"Clipart_041.wmf"});
    EXPECT_EQ(NextNumberSuffix(tens, "Clipart"), "_042");
    const ClipIndex longer = IndexOf({"Image_1000.bmp"});
    EXPECT_EQ(NextNumberSuffix(longer, "Image"), "_1001");
}

TEST(NextNumberSuffix, IgnoresNamesOutsideThePattern) {
    const ClipIndex index = IndexOf({"Image_abc.bmp", "Image.bmp", "Image_7", "Image_.bmp", "Image_-4.bmp",
                                     "Image_99999999999.bmp", "Image_ 8.bmp", "Clipart_050.wmf", "Imag_060.bmp"});
    EXPECT_EQ(NextNumberSuffix(index, "Image"), "_001");
}

TEST(NextNumberSuffix, MatchesThePrefixLooselyAsTheNamesAreCompared) {
    // Any one character may follow the prefix, any extension may follow the number, and letter
    // case counts for a to z only.
    const ClipIndex index = IndexOf({"image_004.bmp", "IMAGE-006.txt", "Image_003.emf.bak"});
    EXPECT_EQ(NextNumberSuffix(index, "Image"), "_007");
    const ClipIndex accented = IndexOf({"\xC9t\xE9_004.txt"});  // "Été" in ANSI
    EXPECT_EQ(NextNumberSuffix(accented, "\xE9t\xE9"), "_001");

    // "Texte_003.txt" skips the "e" after "Text" and reads "_003": no number for "Text".
    const ClipIndex languages = IndexOf({"Texte_003.txt", "Text_001.txt"});
    EXPECT_EQ(NextNumberSuffix(languages, "Text"), "_002");
    EXPECT_EQ(NextNumberSuffix(languages, "Texte"), "_004");
}

// Every row counts, listed or not: a row beyond the chooser's list (an emptied list, a file
// deleted by hand) still holds its name, and a capture must never take it again.
TEST(NextNumberSuffix, CountsEveryRowEvenInAnIndexThatClaimsBillions) {
    ClipIndex sparse;  // an index file may claim far more rows than it holds
    sparse.SetRowCount(2000000000);
    sparse.SetCell(1, 1999999998, "Image_123.bmp");
    EXPECT_EQ(NextNumberSuffix(sparse, "Image"), "_124");
}

}  // namespace
}  // namespace tessera
