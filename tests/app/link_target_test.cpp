// What a link label opens: its URL as written, its caption when the URL is blank, nothing when both are.
#include <gtest/gtest.h>

#include "app/link_target.h"

namespace tessera {
namespace {

TEST(LinkTargetTest, UrlWinsUnlessBlank) {
    EXPECT_EQ(LinkTarget("https://tessera.example.org/", "Site web"), "https://tessera.example.org/");
    // Only the blank test trims: the shell gets the URL as written.
    EXPECT_EQ(LinkTarget(" https://a.example/ ", "Site web"), " https://a.example/ ");
    EXPECT_EQ(LinkTarget("", "https://b.example/"), "https://b.example/");
    EXPECT_EQ(LinkTarget(" \t\r\n", "https://b.example/"), "https://b.example/");
}

TEST(LinkTargetTest, NothingToOpenWhenBothAreBlank) {
    EXPECT_EQ(LinkTarget("", ""), "");
    EXPECT_EQ(LinkTarget("  ", "\t "), "");
    // Accented text is not blank, whatever the sign of char.
    EXPECT_EQ(LinkTarget("", "\xE9t\xE9"), "\xE9t\xE9");
}

}  // namespace
}  // namespace tessera
