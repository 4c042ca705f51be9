#include "lang/multi_lang.h"

#include <gtest/gtest.h>

#include "fake_form.h"

namespace tessera {
namespace {

using testing::FakeDialogs;
using testing::FakeForm;

struct MultiLangTest : ::testing::Test {
    FakeForm form;
    FakeDialogs dialogs;
    TMultiLang ml{form, dialogs};
    void TearDown() override { SetAllLanguages(0); }
};

TEST_F(MultiLangTest, SwitchRewritesCaptionsTextsItemsAndHintsEveryTime) {
    form.Add("Label1").caption = "stored";
    auto& edit = form.Add("Edit1");
    edit.hasCaption = false;
    edit.hasText = true;
    form.Add("ListBox1", ComponentKind::ItemList).items = {"a", "b"};
    ml.Words = {"%Form%", "Titre", "Title", "label1",  "Étiquette", "Label",  // the walk ignores the key's letter case
                "Edit1",  "",      "",      "\".HINT", "Aide",      "Help",  "ListBox1", "un",
                "one",    "\"",    "deux",  "two",     "@100",      "libre", "free"};
    std::vector<int> after;
    ml.AfterLanguageChanged = [&](TBaseMultiLang&, uint8_t n) { after.push_back(n); };

    ml.SetActiveLanguage(1);
    EXPECT_EQ(form.form.caption, "Title");
    EXPECT_EQ(form["Label1"].caption, "Label");
    EXPECT_EQ(edit.hint, "Help");
    EXPECT_EQ(form["ListBox1"].items, (std::vector<std::string>{"one", "two"}));

    edit.text = "typed by the user";
    form["Label1"].caption = "changed by the program";
    ml.SetActiveLanguage(0);
    EXPECT_EQ(form.form.caption, "Titre");
    EXPECT_EQ(form["Label1"].caption, "Étiquette");
    EXPECT_EQ(edit.text, "");
    EXPECT_EQ(edit.hint, "Aide");
    EXPECT_EQ(form["ListBox1"].items, (std::vector<std::string>{"un", "deux"}));

    // The same language again applies the whole table again.
    form["Label1"].caption = "changed again";
    ml.SetActiveLanguage(0);
    EXPECT_EQ(form["Label1"].caption, "Étiquette");
    EXPECT_EQ(after, (std::vector<int>{1, 0, 0}));

    // A refusing BeforeLanguageChange cancels the switch.
    ml.BeforeLanguageChange = [](TBaseMultiLang&, uint8_t, bool& allow) { allow = false; };
    ml.SetActiveLanguage(1);
    EXPECT_EQ(ml.ActiveLanguage(), 0);
    EXPECT_EQ(form["Label1"].caption, "Étiquette");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MultiLangTest, EmptyTextsFallBackOnlyWhenDefaultEnabled) {
    auto& label = form.Add("Label1");
    label.hint = "old hint";
    ml.Words = {"Label1", "Bonjour", "", "\".Hint", "", ""};
    ml.SetActiveLanguage(1);
    EXPECT_EQ(label.caption, "");
    EXPECT_EQ(label.hint, "old hint");  // an empty hint row leaves the hint alone

    ml.SetDefaultEnabled(true);  // switches again by itself
    EXPECT_EQ(label.caption, "Bonjour");

    ml.SetDefaultLanguage(1);
    EXPECT_EQ(label.caption, "");  // the fallback is empty too, and still used
    ml.SetDefaultLanguage(2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].first, LanguageBox::InformationCancel);
    EXPECT_EQ(ml.DefaultLanguage(), 1);
}

TEST_F(MultiLangTest, GetWordMatchesKeysExactlyAndReportsUnknownOnes) {
    form.Add("Label1");
    ml.Words = {"@100", "Vide", "Empty", "Label1", "Texte", "Text"};
    EXPECT_EQ(ml.GetWord("@100"), "Vide");
    EXPECT_EQ(ml.GetWord("Label1"), "Texte");  // any row kind can match
    EXPECT_EQ(ml.GetWord("label1"), "label1");
    EXPECT_EQ(ml.GetWord("@999"), "@999");
    ml.SetActiveLanguage(1);
    EXPECT_EQ(ml.GetWord("@100"), "Empty");

    std::string asked;
    ml.IdNotFoundError = [&](TBaseMultiLang&, const std::string& id, std::string& res) {
        EXPECT_EQ(res, id);
        res.clear();  // the id is the handler's own: it stays
        res = "?" + id;
        asked = id;
    };
    EXPECT_EQ(ml.GetWord("@5"), "?@5");
    EXPECT_EQ(asked, "@5");
}

TEST_F(MultiLangTest, ItemListRuleEmptiesItemsWithoutRowsAndLeavesExtraRowsToTheWalk) {
    form.Add("ListBox1", ComponentKind::ItemList).items = {"0", "1", "2", "3", "4"};
    auto& combo = form.Add("ComboBox1", ComponentKind::ComboBox);
    combo.items = {"x"};
    combo.itemIndex = 0;
    auto& label = form.Add("Label1");
    ml.Words = {"ListBox1", "a",         "A",  "\"",  "b",  "B",    "\"",  "c",
                "C",        "ComboBox1", "un", "one", "\"", "deux", "two",  // one item: the second row is skipped
                "Label1",   "L",         "L"};
    ml.SetActiveLanguage(0);
    EXPECT_EQ(form["ListBox1"].items, (std::vector<std::string>{"a", "b", "c", "", ""}));
    EXPECT_EQ(combo.items, (std::vector<std::string>{"un"}));
    EXPECT_EQ(combo.itemIndex, 0);
    EXPECT_EQ(label.caption, "L");
}

TEST_F(MultiLangTest, CollectionsStopAtTheEndOfTheTableAndAtTheNextKey) {
    auto& tree = form.Add("TreeView1", ComponentKind::Collection);
    tree.items = {"n0", "n1", "n2"};
    tree.sorted = true;
    auto& view = form.Add("ListView1", ComponentKind::ListView);
    view.columns = {"c0", "c1"};
    view.items = {"i0"};
    view.subItems = {{"s0"}};
    auto& label = form.Add("Label1");
    ml.Words = {"TreeView1", "a", "A", "\"", "b", "B", "ListView1", "col", "COL",  // rows end while the columns are set
                "Label1",    "L", "L"};
    ml.SetActiveLanguage(0);
    EXPECT_EQ(tree.items, (std::vector<std::string>{"a", "b", "n2"}));
    EXPECT_TRUE(tree.sorted);
    EXPECT_EQ(view.columns, (std::vector<std::string>{"col", "c1"}));
    EXPECT_EQ(view.items[0], "i0");
    EXPECT_EQ(label.caption, "L");

    // A table that ends inside the list view's rows.
    ml.Words = {"ListView1", "k0", "K0", "\"", "k1", "K1", "\"", "item", "ITEM", "\"", "sub", "SUB", "\"", "x"};
    ml.SetActiveLanguage(1);
    EXPECT_EQ(view.columns, (std::vector<std::string>{"K0", "K1"}));
    EXPECT_EQ(view.items[0], "ITEM");
    EXPECT_EQ(view.subItems[0][0], "SUB");
}

TEST_F(MultiLangTest, MalformedTablesAndFailingComponentsDoNotStopTheSwitch) {
    auto& bad = form.Add("Bad");
    bad.throwOnCaption = true;
    auto& label = form.Add("Label1");
    auto& nothing = form.Add("Nothing");
    nothing.hasCaption = nothing.hasHint = false;
    ml.Words = {
        "Bad",     "x", "X", "\"",     "y",  "Y",  "\".Hint", "h",  "H",
        "Nothing", "n", "N", "Label1", "ok", "OK", "Label1",  "cut"};  // a last row without its language 1 entry
    ml.SetActiveLanguage(0);
    EXPECT_EQ(label.caption, "cut");
    // The outgoing language's entry is rewritten with the current font; the incoming one applies.
    form.form.fontCharSet = 2;
    ml.CharSets = {"", "Courier,abc"};
    ml.SetActiveLanguage(1);
    EXPECT_EQ(label.caption, "OK");
    EXPECT_EQ(form.form.fontName, "Courier");
    EXPECT_EQ(form.form.fontCharSet, 2);
    EXPECT_EQ(ml.CharSets[0], "MS Sans Serif,2");
    ml.CharSets = {"Arial", ""};
    ml.SetActiveLanguage(0);
    EXPECT_EQ(form.form.fontName, "Arial");
    EXPECT_EQ(form.form.fontCharSet, 2);
}

TEST_F(MultiLangTest, PositionsAreKeptPerLanguage) {
    ml.SetSwitchPositions(TSwitchPositions::spFormAndControls);
    auto& label = form.Add("Label1");
    label.bounds = {10, 20, 30, 40};
    form.form.bounds = {0, 0, 300, 200};
    auto& menu = form.Add("Menu1", ComponentKind::MenuItem);  // no position: nothing stored
    ml.Words = {"Label1", "a", "b"};
    ml.SetActiveLanguage(1);
    EXPECT_EQ(ml.Positions,
              (std::vector<std::string>{"%Form%,0.0.300.200,0.0.300.200", "label1,10.20.30.40,10.20.30.40"}));

    label.bounds = {50, 60, 70, 80};
    form.form.bounds = {5, 5, 400, 250};
    ml.SetActiveLanguage(0);
    EXPECT_EQ(label.bounds, (ComponentBounds{10, 20, 30, 40}));
    EXPECT_EQ(form.form.bounds, (ComponentBounds{0, 0, 300, 200}));
    ml.SetActiveLanguage(1);
    EXPECT_EQ(label.bounds, (ComponentBounds{50, 60, 70, 80}));
    EXPECT_EQ(menu.bounds, ComponentBounds{});

    // Controls only: the form's entry goes (its values differ, so the user is asked), the form stays put.
    ml.SetSwitchPositions(TSwitchPositions::spControlsOnly);
    EXPECT_EQ(dialogs.shown.back().first, LanguageBox::WarningYesNo);
    EXPECT_EQ(ml.Positions.size(), 1u);
    form.form.bounds = {1, 1, 1, 1};
    ml.SetActiveLanguage(0);
    EXPECT_EQ(form.form.bounds, (ComponentBounds{1, 1, 1, 1}));

    // A malformed value moves nothing.
    ml.Positions = {"label1,1.2.3,x.2.3.4"};
    label.bounds = {9, 9, 9, 9};
    ml.SetActiveLanguage(0);
    ml.SetActiveLanguage(1);
    EXPECT_EQ(label.bounds, (ComponentBounds{9, 9, 9, 9}));

    dialogs.answer = false;  // refusing to drop differing values keeps them
    ml.Positions = {"label1,1.1.1.1,2.2.2.2"};
    ml.SetSwitchPositions(TSwitchPositions::spNone);
    EXPECT_EQ(dialogs.shown.back().second, "Cancelled.");
    EXPECT_EQ(ml.SwitchPositions(), TSwitchPositions::spControlsOnly);
}

TEST_F(MultiLangTest, OutOfRangeLanguagesAndTheCurrentLanguage) {
    auto& label = form.Add("Label1");
    ml.Words = {"Label1", "fr", "en"};
    ml.SetActiveLanguage(2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0],
              std::make_pair(LanguageBox::InformationCancel,
                             std::string("Value must not be higher than\rnumber of available languages.")));
    EXPECT_EQ(label.caption, "");

    SetAllLanguages(1);
    EXPECT_EQ(label.caption, "en");
    SetAllLanguages(3);  // no switcher has it: nothing changes but the current language
    EXPECT_EQ(label.caption, "en");
    EXPECT_EQ(CurrentLanguage(), 3);
    EXPECT_EQ(dialogs.shown.size(), 1u);

    FakeForm later;
    auto& laterLabel = later.Add("Label1");
    laterLabel.caption = "saved";
    TMultiLang lateSwitcher(later, dialogs);
    lateSwitcher.Words = ml.Words;
    lateSwitcher.Loaded();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(laterLabel.caption, "saved");
    EXPECT_EQ(lateSwitcher.ActiveLanguage(), 0);
}

TEST_F(MultiLangTest, ChangingTheNumberOfLanguagesReshapesTheRows) {
    ml.Words = {"a", "fr", "en", "b", "FR", "EN"};
    ml.SetLanguages(3);
    EXPECT_EQ(ml.Words, (std::vector<std::string>{"a", "fr", "en", "?", "b", "FR", "EN", "?"}));
    ml.SetLanguages(0);
    EXPECT_EQ(dialogs.shown.back(),
              std::make_pair(LanguageBox::InformationOk, std::string("You have to provide at least 1 language.")));
    dialogs.answer = false;
    ml.SetLanguages(1);
    EXPECT_EQ(ml.Languages(), 3);
    dialogs.answer = true;
    ml.SetActiveLanguage(2);
    ml.SetLanguages(1);  // the active language goes: the switcher falls back to 0
    EXPECT_EQ(ml.ActiveLanguage(), 0);
    EXPECT_EQ(ml.Words, (std::vector<std::string>{"a", "fr", "b", "FR"}));
}

TEST_F(MultiLangTest, FewerLanguagesWhileLoadingLeaveTheActiveOneAndItsPositionsUsable) {
    // Found by fuzzing: loading asks nothing, so the active language may outlive the count, and
    // the next switch saved the positions of that language past the end of the entry.
    ml.SetSwitchPositions(TSwitchPositions::spControlsOnly);
    auto& label = form.Add("Label1");
    label.bounds = {1, 2, 3, 4};
    ml.SetActiveLanguage(1);
    ml.BeginLoading();
    ml.SetLanguages(1);
    ml.Positions = {"label1,5.6.7.8"};
    ml.Words = {"Label1", "un"};
    EXPECT_EQ(ml.ActiveLanguage(), 1);

    label.bounds = {9, 9, 9, 9};
    ml.SetActiveLanguage(0);
    EXPECT_EQ(ml.Positions, (std::vector<std::string>{"label1,5.6.7.8,9.9.9.9"}));
    EXPECT_EQ(label.bounds, (ComponentBounds{5, 6, 7, 8}));
    EXPECT_EQ(label.caption, "un");
}

}  // namespace
}  // namespace tessera
