// The order of the hot-key commands against a fake program: what each hot key does, what is
// ignored, and how the capture follows a clipboard change.
#include "commands/hot_key_commands.h"

#include "keys/key_string.h"

#include <gtest/gtest.h>

#include <map>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessera {
namespace {

using Calls = std::vector<std::string>;

// Records every call in order; the answers are set by the test.
struct FakeProgram : CommandPort, KeyboardState, WindowLookup {
    Calls calls;
    RememberedWindow front{42, "doc.txt - Notepad"};
    std::set<std::uintptr_t> windows{42, 7};       // the top-level windows there
    std::map<std::string, std::uintptr_t> titled;  // what a search by title finds
    bool chooserVisible = false;
    int items = 2;
    std::optional<std::string> chosen = "Texte_001.txt";
    bool plainText = false;
    std::set<std::pair<unsigned, int>> taken;  // keys other programs hold
    bool clipboardFails = false;
    std::set<int> down;
    std::uint32_t now = 0;
    bool watching = false;

    RememberedWindow ForegroundWindow() override { return front; }
    bool ChooserVisible() override { return chooserVisible; }
    int ItemCount() override { return items; }
    void ShowStoreEmpty() override { calls.push_back("store empty"); }
    // As on the desktop: the program's own window is in front from then on.
    void BringProgramForward() override {
        calls.push_back("forward");
        front = {7, "Coller..."};
    }
    std::optional<ChosenItem> ChooseItem() override {
        calls.push_back("chooser");
        if (!chosen) return std::nullopt;
        return ChosenItem{*chosen, plainText};
    }
    void PutTextPreviewOnClipboard(bool plainOnly) override { Put(plainOnly ? "plain text" : "text"); }
    void PutPicturePreviewOnClipboard() override { Put("picture"); }
    void CaptureClipboard() override { calls.push_back("capture"); }
    std::optional<std::string> CaptureCopy(const std::optional<std::string>& replacing) override {
        calls.push_back("copy " + std::to_string(++copies) + (replacing ? " in place of " + *replacing : ""));
        return std::to_string(copies);
    }
    int copies = 0;
    bool ours = false;  // the clipboard holds the program's own content
    bool ClipboardIsOurs() override { return ours; }
    std::uint32_t wake = 0;  // the wait asked for last
    void WakeAfter(std::uint32_t ms) override { wake = ms; }
    const KeyboardState& Keyboard() override { return *this; }
    bool IsDown(std::uint8_t vk) const override { return down.count(vk) != 0; }
    std::uint32_t Now() override { return now; }
    void WatchKeyboard(bool on) override { watching = on; }
    WindowLookup& Windows() override { return *this; }
    bool Exists(std::uintptr_t window) override { return windows.count(window) != 0; }
    std::uintptr_t FindByTitle(const std::string& title) override { return titled.count(title) ? titled[title] : 0; }
    void PlayKeys(const std::string& keys, std::uintptr_t window, bool makeForeground) override {
        calls.push_back("keys " + std::string(keys == kCopyKeys ? "Ctrl+C" : "Ctrl+V") + " to " +
                        std::to_string(window) + (makeForeground ? " in front" : ""));
    }

    // A key is refused when another program or the other command holds it.
    bool RegisterHotKey(int id, const HotKey& keys) override {
        calls.push_back("register " + std::to_string(id));
        const std::pair<unsigned, unsigned> key{keys.modifiers, keys.virtualKey};
        for (const auto& [holder, held] : registered)
            if (holder != id && held == key) return false;
        if (taken.count(key)) return false;
        registered[id] = key;
        return true;
    }
    void UnregisterHotKey(int id) override {
        calls.push_back("release " + std::to_string(id));
        registered.erase(id);
    }
    std::map<int, std::pair<unsigned, unsigned>> registered;
    void ReportTakenHotKey(int id, const HotKey&) override { calls.push_back("taken " + std::to_string(id)); }
    void ReportSameHotKeys(const HotKey&) override { calls.push_back("same keys"); }

    // Set by the test through `commands`, to see the flag while the item goes on the clipboard.
    HotKeyCommands* commands = nullptr;
    void Put(const char* what) {
        calls.push_back(std::string(what) + (commands->CaptureSuppressed ? " (suppressed)" : ""));
        if (clipboardFails) throw std::runtime_error("Ne peut ouvrir le Presse-papiers");
    }
};

struct Commands : ::testing::Test {
    FakeProgram program;
    HotKeyCommands commands{program};
    void SetUp() override {
        program.commands = &commands;
        commands.CaptureSuppressed = false;  // start-up is over
    }
};

TEST_F(Commands, PasteShowsTheChooserThenPutsTheItemAndSendsCtrlVToTheWindowInFront) {
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls, (Calls{"forward", "chooser", "text (suppressed)", "keys Ctrl+V to 42 in front"}));
    EXPECT_FALSE(commands.CaptureSuppressed);

    program.calls.clear();
    program.chosen = "Image_001.BMP";
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls[2], "picture (suppressed)");

    // Shift held as a text item was chosen: its text without its formatting.
    program.calls.clear();
    program.chosen = "Texte_001.txt";
    program.plainText = true;
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls[2], "plain text (suppressed)");
}

// Seen by users: a hot key another program held was silently not registered; now it is said, the
// other key works, and a change releases the old key and takes the new one.
TEST_F(Commands, HotKeysInForceAreRegisteredReportedWhenTakenAndChangedOneByOne) {
    using namespace hot_key_mod;
    const HotKey ctrlShiftV{kCtrl | kShift, 'V'};
    program.taken = {{kCtrl, 'Q'}};
    commands.UseHotKeys(kDefaultCopyHotKey, kDefaultPasteHotKey);
    EXPECT_EQ(program.calls, (Calls{"register 101", "taken 101", "register 100"}));
    EXPECT_FALSE(commands.Active(HotKeyCommands::kCopyHotKey));
    EXPECT_TRUE(commands.Active(HotKeyCommands::kPasteHotKey));

    program.calls.clear();
    commands.UseHotKeys({kCtrl | kAlt, 'C'}, ctrlShiftV);
    EXPECT_EQ(program.calls, (Calls{"release 100", "register 101", "register 100"}));
    EXPECT_TRUE(commands.Active(HotKeyCommands::kCopyHotKey));
    EXPECT_EQ(commands.HotKeyOf(HotKeyCommands::kPasteHotKey), ctrlShiftV);

    program.calls.clear();
    commands.UseHotKeys({kCtrl | kAlt, 'C'}, ctrlShiftV);  // nothing changed: nothing released
    EXPECT_TRUE(program.calls.empty());

    // The two keys trade places: both are given back before either is taken.
    commands.UseHotKeys(ctrlShiftV, {kCtrl | kAlt, 'C'});
    EXPECT_TRUE(commands.Active(HotKeyCommands::kCopyHotKey));
    EXPECT_TRUE(commands.Active(HotKeyCommands::kPasteHotKey));
}

// Seen by users: both keys set to one in the settings file left no key for the chooser, and the
// message blamed another program.
TEST_F(Commands, OneKeyForBothIsToldAndThePasteKeepsItsOwn) {
    using namespace hot_key_mod;
    const HotKey ctrlB{kCtrl, 'B'};
    commands.UseHotKeys(ctrlB, ctrlB);
    EXPECT_EQ(program.calls, (Calls{"same keys", "register 101", "register 100"}));
    EXPECT_EQ(commands.HotKeyOf(HotKeyCommands::kCopyHotKey), ctrlB);
    EXPECT_EQ(commands.HotKeyOf(HotKeyCommands::kPasteHotKey), kDefaultPasteHotKey);
    commands.UseHotKeys(kDefaultPasteHotKey, kDefaultPasteHotKey);
    EXPECT_EQ(commands.HotKeyOf(HotKeyCommands::kCopyHotKey), kDefaultCopyHotKey);
    EXPECT_TRUE(commands.Active(HotKeyCommands::kCopyHotKey) && commands.Active(HotKeyCommands::kPasteHotKey));
}

// Seen by users: the window pasted into had been closed while the chooser was open, and the keys
// went to whatever came to the front.
TEST_F(Commands, APasteWhoseWindowIsGoneGoesToANamesakeOrNowhere) {
    program.windows.erase(42);
    program.titled["doc.txt - Notepad"] = 43;
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls.back(), "keys Ctrl+V to 43 in front");

    program.calls.clear();
    program.front = {42, "doc.txt - Notepad"};
    program.titled.clear();
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls.back(), "text (suppressed)") << "no keys: the item waits on the clipboard";
    // The copy's keys go to the focus all the same.
    program.front = {99, ""};
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);
    EXPECT_EQ(program.calls.back(), "keys Ctrl+C to 0");
}

// The ticks may come late: keys whose time has come go before the next hot key is weighed, which
// would otherwise be ignored as coming while keys wait.
TEST_F(Commands, KeysAlreadyDueGoBeforeTheNextHotKey) {
    program.down = {17, 'Q'};
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);
    program.down.clear();
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls,
              (Calls{"keys Ctrl+C to 42", "forward", "chooser", "text (suppressed)", "keys Ctrl+V to 42 in front"}));
}

TEST_F(Commands, PasteWithNothingToPasteOrCancelledSendsNothing) {
    program.items = 0;
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls, (Calls{"store empty"}));

    program.calls.clear();
    program.items = 1;
    program.chosen.reset();
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    EXPECT_EQ(program.calls, (Calls{"forward", "chooser"}));

    // A clipboard that cannot be written lets captures in again and sends no keys.
    program.calls.clear();
    program.chosen = "Texte_001.txt";
    program.clipboardFails = true;
    EXPECT_THROW(commands.OnHotKey(HotKeyCommands::kPasteHotKey), std::runtime_error);
    EXPECT_FALSE(commands.CaptureSuppressed);
    EXPECT_EQ(program.calls.back(), "text (suppressed)");
}

TEST_F(Commands, CopySendsCtrlCAndFilesTheNextChangeOnly) {
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);
    EXPECT_TRUE(commands.CapturePending);
    EXPECT_EQ(program.calls, (Calls{"keys Ctrl+C to 42"}));

    commands.OnClipboardChange();
    commands.OnClipboardChange();  // a change of someone else's: not filed
    EXPECT_EQ(program.calls, (Calls{"keys Ctrl+C to 42", "capture"}));
    EXPECT_FALSE(commands.CapturePending);
}

TEST_F(Commands, AChangeWhileCapturesAreSuppressedClearsThePendingCopy) {
    // Captures wait until start-up has made every form.
    const HotKeyCommands fresh(program);
    EXPECT_TRUE(fresh.CaptureSuppressed);
    EXPECT_FALSE(fresh.CapturePending);

    commands.CaptureSuppressed = true;  // a paste writing the clipboard
    commands.CapturePending = true;
    commands.OnClipboardChange();
    EXPECT_FALSE(commands.CapturePending);
    EXPECT_TRUE(program.calls.empty());
}

TEST_F(Commands, BothHotKeysAreIgnoredWhileTheChooserIsOpen) {
    program.chooserVisible = true;
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);
    EXPECT_TRUE(program.calls.empty());
    EXPECT_FALSE(commands.CapturePending);
}

// Seen by users: Ctrl+Q held down filed one item, then its repeats typed "qqq" into the document.
TEST_F(Commands, AHeldCopyHotKeyRunsOnceAndItsKeysWaitForTheRelease) {
    program.down = {17, 'Q'};
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);   // the key's repeat
    commands.OnHotKey(HotKeyCommands::kPasteHotKey);  // keys still wait
    EXPECT_TRUE(program.calls.empty());
    EXPECT_TRUE(program.watching);

    program.down.clear();
    program.now = 30;
    commands.OnTick();
    EXPECT_EQ(program.calls, (Calls{"keys Ctrl+C to 42"}));
    EXPECT_FALSE(program.watching);
}

// Seen by users of other histories: a program rewriting the clipboard in a loop filled the
// history, and their own paste came back as a new item. A copy is filed at once; a burst that
// follows takes its place with its last content.
TEST_F(Commands, WithKeepEveryCopyACopyIsFiledAtOnceAndABurstAsItsLastContent) {
    commands.KeepEveryCopy = true;
    const auto at = [&](std::uint32_t ms, bool change) {
        program.now = ms;
        change ? commands.OnClipboardChange() : commands.OnQuietTick();
    };
    at(0xFFFFFF00u, true);  // a burst, across the wrap of the clock
    at(0xFFFFFF10u, false);
    at(0xFFFFFFF0u, true);
    at(44, false);
    EXPECT_EQ(program.wake, 240u) << "quiet for 60 ms only";
    at(284, false);
    at(1000, true);  // a copy half a second later, then one while the chooser is open
    at(1300, false);
    program.chooserVisible = true;
    at(1500, true);
    at(1800, false);
    EXPECT_EQ(program.calls, (Calls{"copy 1", "copy 2 in place of 1", "copy 3"})) << "none while the chooser is open";
    program.chooserVisible = false;
    at(2100, false);
    program.ours = true;  // Tessera's own paste
    at(3000, true);
    at(3300, false);
    program.ours = false;
    at(4000, true);  // the hot key's copy follows another: filed once
    commands.OnHotKey(HotKeyCommands::kCopyHotKey);
    at(4100, true);
    EXPECT_EQ(program.wake, 0u);
    EXPECT_EQ(program.calls, (Calls{"copy 1", "copy 2 in place of 1", "copy 3", "copy 4", "copy 5", "keys Ctrl+C to 42",
                                    "capture"}));
}

}  // namespace
}  // namespace tessera
