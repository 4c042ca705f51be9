#include "store/clip_formats_win32.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "win/clipboard.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

// Registering a name that is registered already gives its number; 0 only when the system refuses.
UINT RegisteredFormat(std::string_view name) { return ::RegisterClipboardFormatA(std::string(name).c_str()); }

}  // namespace

bool Win32ClipboardFormats::IsAvailable(unsigned format) const { return ::IsClipboardFormatAvailable(format) != FALSE; }

bool Win32ClipboardMarks::Holds(std::string_view formatName) const {
    const UINT format = RegisteredFormat(formatName);
    return format != 0 && ::IsClipboardFormatAvailable(format) != FALSE;
}

// A clipboard another program holds tells nothing: the number is then unknown.
std::optional<std::uint32_t> Win32ClipboardMarks::Number(std::string_view formatName) const {
    try {
        const win::ClipboardScope open(owner_);
        const win::global_lock<const char> data(::GetClipboardData(RegisteredFormat(formatName)));
        std::uint32_t number = 0;
        if (!data || data.size() < sizeof number) return std::nullopt;
        std::memcpy(&number, data.get(), sizeof number);
        return number;
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

std::uint32_t Win32ClipboardMarks::ChangeCount() const { return ::GetClipboardSequenceNumber(); }

}  // namespace tessera
