#pragma once
// The capture's clipboard tests over the real clipboard: the formats it offers, and the marks
// that keep its content out of clipboard histories.
#include <windows.h>

#include "store/clip_kind.h"
#include "store/copy_marks.h"

namespace tessera {

// Asks IsClipboardFormatAvailable, which needs no open clipboard.
class Win32ClipboardFormats final : public ClipboardFormats {
public:
    bool IsAvailable(unsigned format) const override;
};

// The registered formats by name, a number read with the clipboard opened for `owner`, and the
// clipboard's sequence number.
class Win32ClipboardMarks final : public ClipboardMarks {
public:
    explicit Win32ClipboardMarks(HWND owner) noexcept : owner_(owner) {}
    bool Holds(std::string_view formatName) const override;
    std::optional<std::uint32_t> Number(std::string_view formatName) const override;
    std::uint32_t ChangeCount() const override;

private:
    HWND owner_;
};

}  // namespace tessera
