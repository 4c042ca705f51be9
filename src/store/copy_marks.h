#pragma once
// The marks with which a program keeps what it puts on the clipboard out of clipboard histories:
// registered formats that the system's own history honours. Password managers put them beside
// the passwords they copy.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessera {

// Present: the content is not to be kept, whatever the format holds.
inline constexpr std::string_view kExcludeFromMonitorFormat = "ExcludeClipboardContentFromMonitorProcessing";
inline constexpr std::string_view kViewerIgnoreFormat = "Clipboard Viewer Ignore";
// A 32-bit number: 0, the content is not to be kept; 1, it may be.
inline constexpr std::string_view kCanIncludeInHistoryFormat = "CanIncludeInClipboardHistory";

// The clipboard's registered formats, asked by name, and its changes.
class ClipboardMarks {
public:
    virtual ~ClipboardMarks() = default;
    virtual bool Holds(std::string_view formatName) const = 0;
    // The format's first four bytes as a number; nothing when it is missing, shorter or unreadable.
    virtual std::optional<std::uint32_t> Number(std::string_view formatName) const = 0;
    // A count that changes with every change of the clipboard's content.
    virtual std::uint32_t ChangeCount() const = 0;
};

// Whether the content's owner asked that it be kept out of clipboard histories.
bool MarkedNotForHistory(const ClipboardMarks& marks);

}  // namespace tessera
