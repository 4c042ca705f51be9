// Typing in the chooser's list, as in a Windows list box.
#include "commands/type_ahead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessera {
namespace {

struct Typing : ::testing::Test {
    std::vector<std::string> lines{"Texte_001", "image", "Texte_002", "tableau", "\xC9t\xE9", "Image_002"};
    TypeAhead typing;
    int selected = 0;
    std::uint32_t now = 5000;

    void Pause() { now += 2000; }
    void Type(const std::string& keys) {
        for (const char c : keys) {
            now += 100;
            const auto line = typing.Type(c, now, selected, static_cast<int>(lines.size()),
                                          [this](int i) -> const std::string& { return lines[i]; });
            if (line) selected = *line;
        }
    }
};

TEST_F(Typing, LettersTypedTogetherFormOnePrefixIgnoringCase) {
    Type("im");
    EXPECT_EQ(selected, 1);
    Type("AGE_");
    EXPECT_EQ(selected, 5);
    Pause();  // a new prefix, looked for after the selection
    Type("texte_002");
    EXPECT_EQ(selected, 2);
    Pause();
    Type("\xE9");  // an accented capital matches its small letter
    EXPECT_EQ(selected, 4);
}

TEST_F(Typing, TheSameLetterAgainStepsThroughTheLinesItStartsAndWraps) {
    Type("t");
    EXPECT_EQ(selected, 2);
    Type("t");
    EXPECT_EQ(selected, 3);
    Type("t");
    EXPECT_EQ(selected, 0);
    Type("x");  // "tx": nothing starts with it; the selection stays
    EXPECT_EQ(selected, 0);
}

}  // namespace
}  // namespace tessera
