#pragma once
// The capture's clipboard test over the real clipboard.
#include "store/clip_kind.h"

namespace tessera {

// Asks IsClipboardFormatAvailable, which needs no open clipboard.
class Win32ClipboardFormats final : public ClipboardFormats {
public:
    bool IsAvailable(unsigned format) const override;
};

}  // namespace tessera
