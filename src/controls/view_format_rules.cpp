#include "controls/view_format_rules.h"

#include <algorithm>

namespace tessera {
namespace cf = clipboard_format;

PictureClass RecognisedPictureClass(ClipboardFormat format, const RegisteredFormats& registered) {
    if (format == cf::kNone) return PictureClass::None;
    if (format == cf::kMetafilePict || format == cf::kEnhMetafile) return PictureClass::Metafile;
    if (format == cf::kBitmap) return PictureClass::Bitmap;
    if (format == registered.icon) return PictureClass::Icon;
    return PictureClass::None;
}

ClipboardFormat FirstRecognisedPictureFormat(const std::vector<ClipboardFormat>& inOrder,
                                             const RegisteredFormats& registered) {
    auto it = std::find_if(inOrder.begin(), inOrder.end(), [&](ClipboardFormat f) {
        return RecognisedPictureClass(f, registered) != PictureClass::None;
    });
    return it == inOrder.end() ? cf::kNone : *it;
}

namespace {

// The picture format stands for any picture: it counts as present when one of the recognised
// formats is, which needs the clipboard opened and walked.
bool IsPictureFormatAvailable(const ClipboardProbe& probe, const RegisteredFormats& registered) {
    if (registered.picture != cf::kNone && probe.IsAvailable(registered.picture)) return true;
    return FirstRecognisedPictureFormat(probe.Formats(), registered) != cf::kNone;
}

bool IsFormatAvailable(ClipboardFormat format, const ClipboardProbe& probe, const RegisteredFormats& registered) {
    if (format == cf::kNone) return false;
    if (format == registered.picture) return IsPictureFormatAvailable(probe, registered);
    return probe.IsAvailable(format);
}

}  // namespace

bool IsViewFormatAvailable(TClipboardViewFormat v, const ClipboardProbe& probe, const RegisteredFormats& registered) {
    return IsFormatAvailable(ViewFormatToClipboardFormat(v, registered), probe, registered);
}

TClipboardViewFormat DetectViewFormat(const ClipboardProbe& probe, const RegisteredFormats& registered) {
    auto has = [&](ClipboardFormat f) { return IsFormatAvailable(f, probe, registered); };
    // Text first: text that comes with a picture is shown as text.
    if (has(cf::kText)) return cvText;
    if (has(cf::kOemText)) return cvOemText;
    if (has(cf::kBitmap)) return cvBitmap;
    if (has(cf::kMetafilePict) || has(cf::kEnhMetafile)) return cvMetafile;
    if (has(registered.icon)) return cvIcon;
    if (has(registered.picture)) return cvPicture;
    if (has(registered.component)) return cvComponent;
    if (has(cf::kPalette)) return cvPalette;
    return cvUnknown;
}

TClipboardViewFormat ChooseViewFormat(const ClipboardProbe& probe, const RegisteredFormats& registered,
                                      TClipboardViewFormat stored) {
    if (probe.IsEmpty()) return cvEmpty;
    if (stored != cvDefault) return stored;
    return DetectViewFormat(probe, registered);
}

bool IsFormatShowable(TClipboardViewFormat v, const ClipboardProbe& probe, const RegisteredFormats& registered) {
    if (v < cvText) return true;
    return IsViewFormatAvailable(v, probe, registered);
}

std::optional<TClipboardViewFormat> PlanView(const ClipboardProbe& probe, const RegisteredFormats& registered,
                                             TClipboardViewFormat stored) {
    if (probe.IsEmpty()) return std::nullopt;
    const TClipboardViewFormat v = ChooseViewFormat(probe, registered, stored);
    // A metafile detected through CF_ENHMETAFILE alone lands here: its row is CF_METAFILEPICT.
    return IsFormatShowable(v, probe, registered) ? v : cvUnknown;
}

TextSource ChooseTextSource(TClipboardViewFormat v, const ClipboardProbe& probe, const RegisteredFormats& registered) {
    // Only CF_TEXT is pasted, whatever the view format: OEM text alone shows the notice.
    if (probe.IsAvailable(cf::kText)) return TextSource::ClipboardText;
    if (v == cvText && IsFormatAvailable(registered.component, probe, registered)) return TextSource::ComponentText;
    // The clipboard may have emptied since the rebuild began.
    return probe.IsEmpty() ? TextSource::EmptyNotice : TextSource::UnknownNotice;
}

PictureSource ChoosePictureSource(TClipboardViewFormat v, const ClipboardProbe& probe,
                                  const RegisteredFormats& registered) {
    if (v == cvIcon)
        return IsFormatAvailable(registered.icon, probe, registered) ? PictureSource::IconFormat
                                                                     : PictureSource::Nothing;
    const bool load = (v == cvBitmap && probe.IsAvailable(cf::kBitmap)) ||
                      (v == cvMetafile && probe.IsAvailable(cf::kMetafilePict)) ||
                      probe.IsAvailable(cf::kEnhMetafile) ||
                      (v == cvPicture && IsPictureFormatAvailable(probe, registered));
    return load ? PictureSource::ClipboardPicture : PictureSource::Nothing;
}

}  // namespace tessera
