#include "search/search_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "search/search_build.h"

namespace tessera {
namespace {

// The file names of the items `query` matches, in the order they were added.
std::vector<std::string> Matches(const SearchIndex& index, const std::vector<std::string>& names, std::string_view query) {
    const SearchResult result = index.Search(query);
    std::vector<std::string> found;
    for (const auto& name : names)
        if (result.Contains(index.Find(name))) found.push_back(name);
    EXPECT_EQ(result.Count(), found.size());
    return found;
}

TEST(SearchIndex, QueryWordsBeginWordsOfTheNameOrTextInAnyOrder) {
    SearchIndex index;
    const std::vector<std::string> names = {"Texte_001.txt", "Texte_002.txt", "Image_003.bmp", "Texte_004.txt"};
    index.Add(names[0], "Texte_001");
    index.Add(names[1], "Adresse de Jean");
    index.Add(names[2], "Plan de Montréal");
    index.Add(names[3], "Texte_004");
    index.SetText(names[0], "Écrire à jean@exemple.com\nTél. 06 12 34 56 78");
    index.SetText(names[3], "Rendez-vous à MONTREAL le 12");

    using V = std::vector<std::string>;
    EXPECT_EQ(Matches(index, names, "adr"), V{names[1]});
    EXPECT_EQ(Matches(index, names, "montr"), (V{names[2], names[3]}));
    EXPECT_EQ(Matches(index, names, "Montréal plan"), V{names[2]});
    EXPECT_EQ(Matches(index, names, "exemple.com"), V{names[0]});
    EXPECT_EQ(Matches(index, names, "06 12"), V{names[0]});
    EXPECT_EQ(Matches(index, names, "ecrire JEAN"), V{names[0]});
    EXPECT_EQ(Matches(index, names, "12 rendez"), V{names[3]});
    EXPECT_EQ(Matches(index, names, "xempl"), V{});  // inside a word is no beginning
    EXPECT_EQ(Matches(index, names, "jean absent"), V{});
    EXPECT_EQ(Matches(index, names, "  ,; "), names);
    EXPECT_EQ(index.Summary(index.Find("TEXTE_001.TXT")), "Écrire à jean@exemple.com");
}

TEST(SearchIndex, StaysCurrentThroughEveryChange) {
    SearchIndex index;
    std::vector<std::string> names;
    std::string common;
    for (int k = 0; k < 250; ++k) common += " m" + std::to_string(k);
    // Enough texts and edits that the texts set here are merged, and compacted, several times.
    for (int i = 0; i < 300; ++i) {
        names.push_back("Texte_" + std::to_string(i) + ".txt");
        index.Add(names.back(), "Texte");
        index.SetText(names.back(), "commun item" + std::to_string(i) + common);
    }
    for (int round = 0; round < 40; ++round)
        for (int i = 0; i < 300; i += 7)
            index.SetText(names[i], "commun edit" + std::to_string(round) + " " + std::to_string(i) + common);
    using V = std::vector<std::string>;
    EXPECT_EQ(Matches(index, names, "item7"),
              (V{names[71], names[72], names[73], names[74], names[75], names[76], names[78], names[79]}));
    EXPECT_EQ(Matches(index, names, "edit39 287"), V{names[287]});
    EXPECT_EQ(Matches(index, names, "edit38"), V{});
    EXPECT_EQ(Matches(index, names, "commun m249").size(), 300u);

    index.Rename(names[5], "Liste de courses");
    EXPECT_EQ(Matches(index, names, "courses"), V{names[5]});
    EXPECT_EQ(Matches(index, names, "texte").size(), 299u);
    index.Remove(names[5]);
    EXPECT_EQ(Matches(index, names, "courses"), V{});
    EXPECT_EQ(index.Find(names[5]), SearchIndex::kNoItem);
    EXPECT_EQ(index.ItemCount(), 299u);
    index.Clear();
    EXPECT_EQ(Matches(index, names, "commun"), V{});
    EXPECT_EQ(index.Add(names[0], "Texte"), 0u);
    EXPECT_EQ(Matches(index, names, ""), V{names[0]});
}

TEST(SearchIndex, TextsFromABuildServeTheItemsWithoutTextsOfTheirOwn) {
    ItemTextsWriter writer;
    writer.Add("texte_001.TXT", {}, "ancien texte");
    writer.Add("Texte_002.txt", {}, "ancien texte");
    writer.Add("Texte_009.txt", {}, "ancien texte");  // an item the index does not know
    const auto built = std::make_shared<const ItemTexts>(writer.Finish());

    SearchIndex index;
    const std::vector<std::string> names = {"Texte_001.txt", "Texte_002.txt"};
    index.Add(names[0], "un");
    index.Add(names[1], "deux");
    index.SetText(names[1], "nouveau texte");  // an edit while the build ran
    index.AdoptTexts(built);
    EXPECT_EQ(Matches(index, names, "ancien"), std::vector<std::string>{names[0]});
    EXPECT_EQ(Matches(index, names, "nouveau"), std::vector<std::string>{names[1]});
    EXPECT_EQ(index.Summary(index.Find(names[0])), "ancien texte");

    index.SetText(names[0], "autre");
    EXPECT_EQ(Matches(index, names, "ancien"), std::vector<std::string>{});
    index.Remove(names[1]);
    index.AdoptTexts(built);  // a later hand-over
    EXPECT_EQ(Matches(index, names, "texte"), std::vector<std::string>{});
}

}  // namespace
}  // namespace tessera
