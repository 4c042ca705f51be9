// Setting one value in a profile file's text: what the system's reader finds afterwards, and
// that every other line survives.
#include <gtest/gtest.h>

#include "app/profile_text.h"

namespace tessera {
namespace {

TEST(ProfileText, ReplacesTheKeyOfTheFirstMatchingSectionWhateverTheCaseAndBlanks) {
    const std::string text =
        "; notes\r\n[Options]\r\nWinStart=0\r\n\r\n[ window ]\r\nOther=x\r\n  left = "
        "10\r\nTop=20\r\n[Window]\r\nLeft=99\r\n";
    EXPECT_EQ(SetProfileValue(text, "Window", "Left", "-5"),
              "; notes\r\n[Options]\r\nWinStart=0\r\n\r\n[ window "
              "]\r\nOther=x\r\nLeft=-5\r\nTop=20\r\n[Window]\r\nLeft=99\r\n");
}

TEST(ProfileText, AddsAMissingKeyAfterItsSectionsLastLineAndAMissingSectionAtTheEnd) {
    const std::string text = "[Options]\r\nWinStart=1\r\n\r\n[Window]\r\nLeft=1";
    EXPECT_EQ(SetProfileValue(text, "options", "Lang", "fr"),
              "[Options]\r\nWinStart=1\r\nLang=fr\r\n\r\n[Window]\r\nLeft=1\r\n");
    EXPECT_EQ(SetProfileValue(text, "Window", "Top", "2"),
              "[Options]\r\nWinStart=1\r\n\r\n[Window]\r\nLeft=1\r\nTop=2\r\n");
    EXPECT_EQ(SetProfileValue("", "Window", "Top", "2"), "[Window]\r\nTop=2\r\n");
    // A key outside any section, or a look-alike in a comment, is not the section's key.
    EXPECT_EQ(SetProfileValue("Top=1\n;[Window]\n", "Window", "Top", "2"), "Top=1\n;[Window]\n[Window]\r\nTop=2\r\n");
}

}  // namespace
}  // namespace tessera
