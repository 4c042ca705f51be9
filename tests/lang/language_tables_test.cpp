#include "lang/language_tables.h"

#include <gtest/gtest.h>

#include "fake_form.h"

namespace tessera {
namespace {

using testing::FakeDialogs;
using testing::FakeForm;

TEST(LanguageTables, MainWindowShowsFrenchAfterLoading) {
    FakeForm form;
    for (const char* name : {"Label1", "Label2", "Label4", "SpeedButton1", "SpeedButton3", "WinStart", "Button1"})
        form.Add(name).caption = "stored";
    for (const char* name : {"Showmainscreen2", "ViderlePressepapiers1", "Close2", "Animatetray1"})
        form.Add(name, ComponentKind::MenuItem).caption = "stored";
    FakeDialogs dialogs;
    TMultiLang ml(form, dialogs);
    LoadStoredData(ml, MainFormTable());

    EXPECT_EQ(ml.ActiveLanguage(), 0);
    EXPECT_EQ(form["WinStart"].caption, "D\xC3\xA9marrer avec Windows");  // UTF-8 é
    EXPECT_EQ(form["Label1"].caption, "Raccourci pour \"Coller\" : Ctrl + Espace");
    EXPECT_EQ(form["Showmainscreen2"].caption, "&Options...");
    EXPECT_EQ(form["ViderlePressepapiers1"].caption, "&Vider le Presse-papiers...");
    EXPECT_EQ(form["Close2"].caption, "&Quitter");
    EXPECT_EQ(form["Animatetray1"].caption, "stored");
    EXPECT_EQ(ml.GetWord("@100"), "Le Presse-papiers interne est vide.");
    EXPECT_EQ(ml.GetWord("@103"), "Texte");
    EXPECT_EQ(ml.CharSets, (std::vector<std::string>{"MS Sans Serif,0", "MS Sans Serif,0"}));
    EXPECT_TRUE(dialogs.shown.empty());

    ml.SetActiveLanguage(1);
    EXPECT_EQ(form["Label1"].caption, "\"Paste\" shortcut : Ctrl + Space");
    EXPECT_EQ(form["ViderlePressepapiers1"].caption, "&Clear the Clipboard...");
    EXPECT_EQ(ml.GetWord("@101"), "Do you really want to clear the internal ClipBoard ?");
}

TEST(LanguageTables, ChooserTitleRenameFieldAndMessageParts) {
    FakeForm form;
    form.form.caption = "stored";
    form.form.fontCharSet = 1;
    auto& edit = form.Add("Edit1");
    edit.hasCaption = false;
    edit.hasText = true;
    edit.text = "typed";
    for (const char* name : {"Button1", "Button2", "Button3"}) form.Add(name);
    form.Add("Supprimer1", ComponentKind::MenuItem);
    FakeDialogs dialogs;
    TMultiLang ml(form, dialogs);
    LoadStoredData(ml, ChooserTable());

    EXPECT_EQ(form.form.caption, "Coller...");
    EXPECT_EQ(edit.text, "");
    EXPECT_EQ(edit.hint, "Renommez ici l'\xC3\xA9l\xC3\xA9ment \xC3\xA0 coller");
    EXPECT_EQ(form["Button3"].caption, "Annuler");
    EXPECT_EQ(ml.GetWord("@103"), "Presse-papiers interne vid\xC3\xA9.");
    EXPECT_EQ(ml.GetWord("@100") + "C:\\Prog\\" + ml.GetWord("@101"),
              "R\xC3\xA9pertoire \"C:\\Prog\\Clipboard\" introuvable.");
    EXPECT_EQ(ml.GetWord("@102"), " introuvable.");

    ml.SetActiveLanguage(1);
    EXPECT_EQ(ml.GetWord("@100") + "C:\\Prog\\" + ml.GetWord("@101"), "Folder \"C:\\Prog\\Clipboard\" missing.");
    EXPECT_EQ(edit.hint, "Rename this item here");
    EXPECT_EQ(form.form.fontCharSet, 1);
}

TEST(LanguageTables, AboutBox) {
    FakeForm form;
    form.Add("Comments");
    form.Add("UrlLabel1");
    FakeDialogs dialogs;
    TMultiLang ml(form, dialogs);
    LoadStoredData(ml, AboutBoxTable());
    EXPECT_EQ(form.form.caption, "A propos");
    EXPECT_EQ(form["Comments"].caption, "pour Windows 95/98/ME/2000/XP");
    EXPECT_EQ(form["UrlLabel1"].caption, "Site web");
}

}  // namespace
}  // namespace tessera
