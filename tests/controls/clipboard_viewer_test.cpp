// The viewer's handling of clipboard messages: the order of its steps, the stored view format
// and its place in the viewer chain.
#include "controls/clipboard_viewer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fake_clipboard.h"

namespace tessera {
namespace {

namespace cf = clipboard_format;
using testing::FakeClipboard;
using testing::kPrivateFormat;
using testing::kRegistered;

constexpr WindowId kOurs = 0x100, kA = 0x200, kB = 0x300, kC = 0x400;

// Records what the core asks of the window, in order.
struct RecordingActions : ViewerActions {
    std::vector<std::string> log;
    bool changeFails = false;

    void PassToNextViewer(WindowId next, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        log.push_back("pass " + std::to_string(next) + " " + std::to_string(message) + " " + std::to_string(wParam) +
                      " " + std::to_string(lParam));
    }
    void FireChange() override {
        log.push_back("change");
        if (changeFails) throw std::runtime_error("Cannot Create C:\\x");
    }
    void RebuildView() override { log.push_back("rebuild"); }
};

class ViewerCore : public ::testing::Test {
protected:
    FakeClipboard clipboard;
    RecordingActions actions;
    ClipboardViewerCore core{clipboard, kRegistered, actions};

    std::string Pass(WindowId next, unsigned message, WindowId w, WindowId l) {
        return "pass " + std::to_string(next) + " " + std::to_string(message) + " " + std::to_string(w) + " " +
               std::to_string(l);
    }
};

TEST_F(ViewerCore, DrawClipboardPassesOnThenNotifiesThenRebuilds) {
    // The notification that comes with joining arrives while no follower is known.
    clipboard.formats = {cf::kText};
    core.OnDrawClipboard(kA, 0);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"change", "rebuild"}));

    core.Joined(kB);
    actions.log.clear();
    core.OnDrawClipboard(kA, 0);
    EXPECT_EQ(actions.log, (std::vector<std::string>{Pass(kB, kDrawClipboardMessage, kA, 0), "change", "rebuild"}));
}

TEST_F(ViewerCore, AFailingChangeHandlerStopsTheRebuild) {
    core.Joined(kB);
    clipboard.formats = {};
    actions.changeFails = true;
    EXPECT_THROW(core.OnDrawClipboard(0, 0), std::runtime_error);
    // Passing on and the view format's update already happened.
    EXPECT_EQ(actions.log, (std::vector<std::string>{Pass(kB, kDrawClipboardMessage, 0, 0), "change"}));
    EXPECT_EQ(core.ViewFormat(), cvEmpty);
}

TEST_F(ViewerCore, StoredViewFormatFollowsTheClipboardEmptyingAndFilling) {
    clipboard.formats = {};
    core.OnDrawClipboard(0, 0);
    EXPECT_EQ(core.ViewFormat(), cvEmpty);
    clipboard.formats = {kPrivateFormat};
    core.OnDrawClipboard(0, 0);
    EXPECT_EQ(core.ViewFormat(), cvDefault);

    // A requested format stays while its data does, then gives way.
    clipboard.formats = {cf::kText, cf::kBitmap};
    core.RequestViewFormat(cvBitmap);
    EXPECT_EQ(core.ViewFormat(), cvBitmap);
    clipboard.formats = {cf::kBitmap};
    core.OnDrawClipboard(0, 0);
    EXPECT_EQ(core.ViewFormat(), cvBitmap);
    clipboard.formats = {cf::kText};
    core.OnDrawClipboard(0, 0);
    EXPECT_EQ(core.ViewFormat(), cvDefault);

    // Losing the clipboard's ownership empties the view without passing anything on.
    core.Joined(kB);
    actions.log.clear();
    core.OnDestroyClipboard();
    EXPECT_EQ(core.ViewFormat(), cvEmpty);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"change", "rebuild"}));
}

TEST_F(ViewerCore, RequestingAViewFormatRebuildsWithoutNotifying) {
    clipboard.formats = {cf::kText, cf::kBitmap};
    core.RequestViewFormat(cvDefault);
    EXPECT_TRUE(actions.log.empty());  // no change: nothing happens

    core.RequestViewFormat(cvPalette);  // not on the clipboard
    EXPECT_EQ(core.ViewFormat(), cvDefault);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"rebuild"}));

    actions.log.clear();
    core.RequestViewFormat(cvText);
    EXPECT_EQ(core.ViewFormat(), cvText);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"rebuild"}));

    // cvEmpty has no clipboard format of its own, so asking for it returns to the default.
    core.RequestViewFormat(cvEmpty);
    EXPECT_EQ(core.ViewFormat(), cvDefault);
}

TEST_F(ViewerCore, ChainFollowsViewersThatLeaveRightAfterItAndPassesOnTheOthers) {
    EXPECT_EQ(core.Leave(), std::nullopt);  // never joined: nothing to leave

    core.Joined(kA);
    EXPECT_TRUE(core.chained());
    // A leaves, C followed it: C is now next.
    core.OnChangeCbChain(kA, kC);
    EXPECT_EQ(core.nextViewer(), kC);
    EXPECT_TRUE(actions.log.empty());

    // B leaves elsewhere in the chain: the message goes on unchanged.
    core.OnChangeCbChain(kB, kOurs + 1);
    EXPECT_EQ(core.nextViewer(), kC);
    EXPECT_EQ(actions.log, (std::vector<std::string>{Pass(kC, kChangeCbChainMessage, kB, kOurs + 1)}));

    // The last viewer leaves: nobody follows, and later messages stop here.
    core.OnChangeCbChain(kC, 0);
    EXPECT_EQ(core.nextViewer(), 0u);
    actions.log.clear();
    core.OnChangeCbChain(kB, kA);
    core.OnDrawClipboard(0, 0);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"change", "rebuild"}));

    EXPECT_EQ(core.Leave(), WindowId{0});
    EXPECT_FALSE(core.chained());
    EXPECT_EQ(core.Leave(), std::nullopt);

    core.Joined(kB);
    EXPECT_EQ(core.Leave(), kB);
    EXPECT_EQ(core.nextViewer(), 0u);
}

}  // namespace
}  // namespace tessera
