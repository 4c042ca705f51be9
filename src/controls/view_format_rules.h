#pragma once
// Which view format the clipboard's content calls for, and what the rebuilt view shows.
#include <optional>
#include <vector>

#include "controls/clipboard_view_format.h"

namespace tessera {

// What the viewer asks of the system clipboard.
class ClipboardProbe {
public:
    virtual ~ClipboardProbe() = default;
    // The system says the format can be had now (without opening the clipboard).
    virtual bool IsAvailable(ClipboardFormat format) const = 0;
    // The clipboard holds no format at all.
    virtual bool IsEmpty() const = 0;
    // Every format on the clipboard in the clipboard's own order; throws when it cannot be opened.
    virtual std::vector<ClipboardFormat> Formats() const = 0;
};

// The texts of the text view when there is no text to show.
inline constexpr const char* kEmptyClipboardText = "Clipboard is empty";
inline constexpr const char* kUnknownFormatText = "Cannot display. Data in Clipboard is in an unknown format.";

// The classes of picture the viewer can read from the clipboard.
enum class PictureClass { None, Metafile, Bitmap, Icon };

PictureClass RecognisedPictureClass(ClipboardFormat format, const RegisteredFormats& registered);
// The first format of `inOrder` that is a recognised picture, or kNone.
ClipboardFormat FirstRecognisedPictureFormat(const std::vector<ClipboardFormat>& inOrder,
                                             const RegisteredFormats& registered);

// Whether the clipboard format of `v` counts as available (the picture format with the wider test).
bool IsViewFormatAvailable(TClipboardViewFormat v, const ClipboardProbe& probe, const RegisteredFormats& registered);

TClipboardViewFormat DetectViewFormat(const ClipboardProbe& probe, const RegisteredFormats& registered);
TClipboardViewFormat ChooseViewFormat(const ClipboardProbe& probe, const RegisteredFormats& registered,
                                      TClipboardViewFormat stored);
bool IsFormatShowable(TClipboardViewFormat v, const ClipboardProbe& probe, const RegisteredFormats& registered);

// The view format a rebuild shows, or nothing when the clipboard is empty (background only).
std::optional<TClipboardViewFormat> PlanView(const ClipboardProbe& probe, const RegisteredFormats& registered,
                                             TClipboardViewFormat stored);

// Where the text view's content comes from.
enum class TextSource { ClipboardText, ComponentText, EmptyNotice, UnknownNotice };
TextSource ChooseTextSource(TClipboardViewFormat v, const ClipboardProbe& probe, const RegisteredFormats& registered);

// Where the picture view's picture comes from.
enum class PictureSource { Nothing, IconFormat, ClipboardPicture };
PictureSource ChoosePictureSource(TClipboardViewFormat v, const ClipboardProbe& probe,
                                  const RegisteredFormats& registered);

}  // namespace tessera
