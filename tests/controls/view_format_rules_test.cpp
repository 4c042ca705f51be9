// Which view format a clipboard calls for and what the rebuilt view shows.
#include "controls/view_format_rules.h"

#include <gtest/gtest.h>

#include "fake_clipboard.h"

namespace tessera {
namespace {

namespace cf = clipboard_format;
using testing::FakeClipboard;
using testing::kDib;
using testing::kPrivateFormat;
using testing::kRegistered;

FakeClipboard Holding(std::vector<ClipboardFormat> formats) {
    FakeClipboard clipboard;
    clipboard.formats = std::move(formats);
    return clipboard;
}

TEST(ViewFormatToClipboardFormat, SelectsTheRowByTheLowSevenBits) {
    EXPECT_EQ(ViewFormatToClipboardFormat(static_cast<TClipboardViewFormat>(0x83), kRegistered), cf::kText);
    EXPECT_EQ(ViewFormatToClipboardFormat(static_cast<TClipboardViewFormat>(0x8A), kRegistered), kRegistered.icon);
    EXPECT_EQ(ViewFormatToClipboardFormat(static_cast<TClipboardViewFormat>(11), kRegistered), cf::kNone);
    EXPECT_EQ(ViewFormatToClipboardFormat(static_cast<TClipboardViewFormat>(0x7F), kRegistered), cf::kNone);
    // Before registration the registered rows map to no format, which is never available.
    EXPECT_FALSE(IsViewFormatAvailable(cvIcon, Holding({cf::kText}), RegisteredFormats{}));
}

// The view format, and the kind of view that shows it.
TEST(DetectViewFormat, TakesTheFirstMatchInItsOrder) {
    struct Case {
        std::vector<ClipboardFormat> formats;
        TClipboardViewFormat expected;
        ViewKind kind;
    };
    const Case cases[] = {
        {{cf::kBitmap, cf::kText}, cvText, ViewKind::Text},  // text beats a picture, whatever the clipboard order
        {{cf::kOemText}, cvOemText, ViewKind::Text},
        {{cf::kOemText, cf::kText}, cvText, ViewKind::Text},
        {{kRegistered.icon, cf::kBitmap, cf::kPalette}, cvBitmap, ViewKind::Picture},
        {{cf::kMetafilePict}, cvMetafile, ViewKind::Picture},
        {{cf::kEnhMetafile}, cvMetafile, ViewKind::Picture},
        {{kRegistered.component, kRegistered.icon}, cvIcon, ViewKind::Picture},
        {{kRegistered.component, kRegistered.picture}, cvPicture, ViewKind::Picture},
        {{cf::kPalette, kRegistered.component}, cvComponent, ViewKind::Component},
        {{cf::kPalette}, cvPalette, ViewKind::Palette},
        {{kPrivateFormat, kDib + 100}, cvUnknown, ViewKind::Text},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectViewFormat(Holding(c.formats), kRegistered), c.expected) << "case " << (&c - cases);
        EXPECT_EQ(ViewKindOf(c.expected), c.kind) << "case " << (&c - cases);
    }
}

TEST(PlanView, FallsBackToTheUnknownTextWhenTheChosenFormatCannotBeShown) {
    EXPECT_EQ(PlanView(Holding({}), kRegistered, cvDefault), std::nullopt);
    EXPECT_EQ(PlanView(Holding({}), kRegistered, cvBitmap), std::nullopt);

    // An enhanced metafile alone is detected but its row's format is the metafile picture.
    const FakeClipboard enhancedOnly = Holding({cf::kEnhMetafile});
    EXPECT_EQ(PlanView(enhancedOnly, kRegistered, cvDefault), cvUnknown);
    EXPECT_EQ(ChooseTextSource(cvUnknown, enhancedOnly, kRegistered), TextSource::UnknownNotice);
    const FakeClipboard bothMetafiles = Holding({cf::kEnhMetafile, cf::kMetafilePict});
    EXPECT_EQ(PlanView(bothMetafiles, kRegistered, cvDefault), cvMetafile);
    EXPECT_EQ(ChoosePictureSource(cvMetafile, bothMetafiles, kRegistered), PictureSource::ClipboardPicture);

    // OEM text alone is shown as text that cannot be pasted: only CF_TEXT is.
    const FakeClipboard oemOnly = Holding({cf::kOemText});
    EXPECT_EQ(PlanView(oemOnly, kRegistered, cvDefault), cvOemText);
    EXPECT_EQ(ChooseTextSource(cvOemText, oemOnly, kRegistered), TextSource::UnknownNotice);
    EXPECT_EQ(ChooseTextSource(cvUnknown, Holding({cf::kText, kPrivateFormat}), kRegistered),
              TextSource::ClipboardText);

    // A stored request wins while its format is there, else the unknown text shows.
    EXPECT_EQ(PlanView(Holding({cf::kText, cf::kBitmap}), kRegistered, cvBitmap), cvBitmap);
    EXPECT_EQ(PlanView(Holding({cf::kText}), kRegistered, cvBitmap), cvUnknown);
    EXPECT_EQ(PlanView(Holding({kPrivateFormat}), kRegistered, cvDefault), cvUnknown);
    EXPECT_EQ(PlanView(Holding({kPrivateFormat}), kRegistered, cvEmpty), cvEmpty);
}

TEST(TextSource, ComponentTextOnlyForTheTextFormatAndEmptyOnlyWhenEmpty) {
    const FakeClipboard component = Holding({kRegistered.component});
    EXPECT_EQ(ChooseTextSource(cvText, component, kRegistered), TextSource::ComponentText);
    EXPECT_EQ(ChooseTextSource(cvUnknown, component, kRegistered), TextSource::UnknownNotice);
    // The clipboard emptied while the view was being rebuilt.
    EXPECT_EQ(ChooseTextSource(cvText, Holding({}), kRegistered), TextSource::EmptyNotice);
}

TEST(PictureFormat, StandsForAnyRecognisedPictureAndTheFirstInClipboardOrderIsRead) {
    // The picture format counts as present through any recognised format, by walking the clipboard.
    FakeClipboard bitmap = Holding({kPrivateFormat, cf::kBitmap});
    EXPECT_TRUE(IsViewFormatAvailable(cvPicture, bitmap, kRegistered));
    EXPECT_EQ(bitmap.walks, 1);
    EXPECT_TRUE(IsFormatShowable(cvPicture, bitmap, kRegistered));
    EXPECT_FALSE(IsViewFormatAvailable(cvPicture, Holding({kPrivateFormat, kDib}), kRegistered));
    EXPECT_EQ(ChoosePictureSource(cvPicture, bitmap, kRegistered), PictureSource::ClipboardPicture);

    EXPECT_EQ(FirstRecognisedPictureFormat({kPrivateFormat, kDib, kRegistered.icon, cf::kBitmap}, kRegistered),
              kRegistered.icon);
    EXPECT_EQ(FirstRecognisedPictureFormat({cf::kEnhMetafile, cf::kMetafilePict}, kRegistered), cf::kEnhMetafile);
    EXPECT_EQ(FirstRecognisedPictureFormat({cf::kText, kDib}, kRegistered), cf::kNone);
    EXPECT_EQ(RecognisedPictureClass(cf::kMetafilePict, kRegistered), PictureClass::Metafile);
    EXPECT_EQ(RecognisedPictureClass(kRegistered.icon, kRegistered), PictureClass::Icon);
    EXPECT_EQ(RecognisedPictureClass(kRegistered.picture, kRegistered), PictureClass::None);
    // Nothing registered yet: format 0 is no icon.
    EXPECT_EQ(RecognisedPictureClass(0, RegisteredFormats{}), PictureClass::None);

    // A bitmap view loads only when the bitmap is there; an enhanced metafile loads for any view.
    EXPECT_EQ(ChoosePictureSource(cvBitmap, Holding({cf::kText}), kRegistered), PictureSource::Nothing);
    EXPECT_EQ(ChoosePictureSource(cvBitmap, Holding({cf::kEnhMetafile}), kRegistered), PictureSource::ClipboardPicture);
    EXPECT_EQ(ChoosePictureSource(cvIcon, Holding({kRegistered.icon}), kRegistered), PictureSource::IconFormat);
    EXPECT_EQ(ChoosePictureSource(cvIcon, Holding({cf::kEnhMetafile}), kRegistered), PictureSource::Nothing);
}

}  // namespace
}  // namespace tessera
