// Which names from the clip index may be used inside the store's folder.
#include "store/store_names.h"

#include <gtest/gtest.h>

#include <string>

namespace tessera {
namespace {

TEST(StoreNames, AcceptOrdinaryItemFileNames) {
    for (const std::string name : {"Image_001.bmp", "Texte_012.txt", "My notes.txt", "a", "CONSOLE.txt", "com10.bmp",
                                   "LPT.txt", "nul_001.txt", "\xC9t\xE9 2024.rtf", ".hidden", "a..b", " lead"})
        EXPECT_TRUE(IsPlainStoreFileName(name)) << name;
}

TEST(StoreNames, RefuseNamesThatLeaveTheFolderOrAreNoPlainFile) {
    // clang-format off
    for (const std::string name :
         {"", ".", "..", "..\\..\\boot.ini", "../x", "C:\\x", "C:x", "a\\b", "a/b", "x:stream", "\\\\server\\share",
          "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a\tb", "a\x01z", "name.", "name ", "CON",
          "con", "CON.txt", "Nul.bmp", "nul .txt", "PRN", "AUX.emf", "COM1", "com9.txt", "LPT1", "lpt3.wmf",
          "COM\xB9", "conin$", "CONOUT$.txt", "nul.tar.gz"})
        // clang-format on
        EXPECT_FALSE(IsPlainStoreFileName(name)) << name;
    EXPECT_FALSE(IsPlainStoreFileName(std::string("a\0b", 3)));
}

TEST(StoreNames, JoinOnlyPlainNamesToTheFolder) {
    EXPECT_EQ(StoreFilePath("C:\\Tessera\\Clipboard", "Image_001.bmp"), "C:\\Tessera\\Clipboard\\Image_001.bmp");
    EXPECT_EQ(StoreFilePath("C:\\Tessera\\Clipboard", "..\\Tessera.FIC"), std::nullopt);
    EXPECT_EQ(StoreFilePath("C:\\Tessera\\Clipboard", ""), std::nullopt);
}

}  // namespace
}  // namespace tessera
