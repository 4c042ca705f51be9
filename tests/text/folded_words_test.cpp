#include "text/folded_words.h"

#include <gtest/gtest.h>

#include <string>

#include "text/text_summary.h"

namespace tessera {
namespace {

TEST(FoldedWords, SplitsAtPunctuationAndFoldsCaseAndAccents) {
    EXPECT_EQ(FoldWords("jean@exemple.com, 06 12 34"), " jean exemple com 06 12 34");
    EXPECT_EQ(FoldWords("Élève À l'École: Çà, ÔTÉ ŒUVRE Straße Ærø ÿ ñ Ł"),
              " eleve a l ecole ca ote oeuvre strasse aero y n l");
    // Greek and Cyrillic lose their case (Greek its accents); й stays a letter of its own.
    EXPECT_EQ(FoldWords("Ωμέγα ПРИВЕТ йод Ёж"), " ωμεγα привет йод еж");
    // An accent written as a combining mark folds like the precomposed letter.
    EXPECT_EQ(FoldWords("Montre\xCC\x81" "al"), " montreal");
    // Other scripts are kept; typographic quotes, dashes and symbols end words.
    EXPECT_EQ(FoldWords("東京 l\xE2\x80\x99" "adresse a\xE2\x80\x94" "b 5\xE2\x82\xAC"), " 東京 l adresse a b 5");
}

TEST(FoldedWords, DamagedAndLongInput) {
    // Invalid UTF-8 ends a word and is never read past the end.
    EXPECT_EQ(FoldWords("ab\xFF" "cd\xC3"), " ab cd");
    EXPECT_EQ(FoldWords("\xCC\x81\xCC\x81 x"), " x");  // combining marks alone make no word
    // A long word keeps its first bytes, never half a character.
    const std::string word = FoldWords(std::string(39, 'a') + "éé");
    EXPECT_EQ(word, " " + std::string(39, 'a') + "e");
    EXPECT_EQ(FoldWords(std::string(39, 'a') + "жж"), " " + std::string(39, 'a'));
}

TEST(SummaryLine, FirstLineWithTextCollapsedAndCut) {
    EXPECT_EQ(SummaryLine("\n \t\n  Bonjour,\t\t Jean  \nsuite"), "Bonjour, Jean");
    EXPECT_EQ(SummaryLine("\r\n\xC2\xA0\r\nligne"), "ligne");
    EXPECT_EQ(SummaryLine("éééé", 3), "ééé");  // characters, not bytes
    EXPECT_EQ(SummaryLine(" \n\t"), "");
}

}  // namespace
}  // namespace tessera
