#pragma once
// A clipboard the viewer's rules can be asked about: the formats it holds, in clipboard order.
#include <algorithm>
#include <vector>

#include "controls/view_format_rules.h"

namespace tessera::testing {

// The numbers the tests give the registered formats.
inline constexpr RegisteredFormats kRegistered{0xC001, 0xC002, 0xC003};
inline constexpr ClipboardFormat kPrivateFormat = 0xC0FF;
inline constexpr ClipboardFormat kDib = 8;

struct FakeClipboard : ClipboardProbe {
    std::vector<ClipboardFormat> formats;
    mutable int walks = 0;

    bool IsAvailable(ClipboardFormat format) const override {
        return std::find(formats.begin(), formats.end(), format) != formats.end();
    }
    bool IsEmpty() const override { return formats.empty(); }
    std::vector<ClipboardFormat> Formats() const override {
        ++walks;
        return formats;
    }
};

}  // namespace tessera::testing
