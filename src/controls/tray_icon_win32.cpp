#include "controls/tray_icon_win32.h"

#include <shellapi.h>

#include <cstring>
#include <iterator>

#include "controls/icon_image.h"
#include "win/application.h"
#include "win/dpi.h"

namespace tessera {

// The notification area shows small icons, at the size of the system's DPI: the image nearest
// that size, scaled to it.
IconHandle IconMakerWin32::Make(std::span<const std::uint8_t> image) {
    const int size = win::SystemMetricForDpi(SM_CXSMICON, win::SystemDpi());
    const auto ref = FindIconImage(image, size);
    if (!ref) return 0;
    // The call takes a non-const pointer but only reads the image.
    auto* bits = const_cast<std::uint8_t*>(image.data() + ref->offset);
    HICON icon =
        ::CreateIconFromResourceEx(bits, static_cast<DWORD>(ref->size), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
    return reinterpret_cast<IconHandle>(icon);
}

void IconMakerWin32::Free(IconHandle handle) {
    if (handle) ::DestroyIcon(reinterpret_cast<HICON>(handle));
}

std::vector<std::uint8_t> LoadIconImage(HMODULE module, const wchar_t* name) {
    // A group resource is the file's directory with resource ids where the file has offsets;
    // each image is an RT_ICON resource of its own.
    auto load = [module](const wchar_t* id, const wchar_t* type) -> std::span<const std::uint8_t> {
        HRSRC info = ::FindResourceW(module, id, type);
        HGLOBAL data = info ? ::LoadResource(module, info) : nullptr;
        const void* bytes = data ? ::LockResource(data) : nullptr;
        if (!bytes) return {};
        return {static_cast<const std::uint8_t*>(bytes), ::SizeofResource(module, info)};
    };
    constexpr std::size_t kHeader = 6, kGroupEntry = 14, kFileEntry = 16;
    const auto group = load(name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    if (group.size() < kHeader) return {};
    const std::size_t count = group[4] | (group[5] << 8);
    if (group.size() < kHeader + count * kGroupEntry) return {};

    std::vector<std::uint8_t> file(group.begin(), group.begin() + kHeader);
    std::vector<std::uint8_t> images;
    std::size_t offset = kHeader + count * kFileEntry;
    for (std::size_t i = 0; i < count; ++i) {
        const auto entry = group.subspan(kHeader + i * kGroupEntry, kGroupEntry);
        const unsigned id = entry[12] | (entry[13] << 8);
        const auto image = load(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3) /* RT_ICON */);
        if (image.empty()) return {};
        file.insert(file.end(), entry.begin(), entry.begin() + 8);
        for (unsigned v : {static_cast<unsigned>(image.size()), static_cast<unsigned>(offset)})
            for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(v >> shift));
        images.insert(images.end(), image.begin(), image.end());
        offset += image.size();
    }
    file.insert(file.end(), images.begin(), images.end());
    return file;
}

// The tray keeps copies of what it is given; the local icons go at the end of the call.
void SetIconsFromResources(TTrayIcon& tray, HMODULE module, const wchar_t* still,
                           std::initializer_list<const wchar_t*> frames) {
    IconMakerWin32 maker;
    TIcon icon(&maker);
    icon.SetImage(LoadIconImage(module, still));
    TIconList list;
    for (const wchar_t* name : frames) {
        TIcon frame(&maker);
        frame.SetImage(LoadIconImage(module, name));
        list.Add(frame);
    }
    tray.SetIcon(icon);
    tray.SetIcons(list);
}

TShiftState ShiftStateNow() {
    TShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TrayIconWin32::HiddenWindow::HiddenWindow(TrayIconWin32& owner) : owner_(owner) {
    // Never shown: it only receives the shell's callbacks and owns the menu while it is open.
    // A top-level window, not a message-only one, so that the shell's broadcasts reach it.
    CreateWindowObject(L"TesseraTrayWindow", 0, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    // A restarted shell (after a crash or an update) broadcasts this to every top-level window.
    // Run as administrator, the program would not get it from the shell, which runs with fewer
    // rights, unless it lets this message through.
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (taskbarCreated_) ::ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

LRESULT TrayIconWin32::HiddenWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ && owner_.tray_) {
        owner_.tray_->ShellRestarted();
        return 0;
    }
    if (message != TrayNotifyMessage || !owner_.tray_) return win::Window::HandleMessage(message, wParam, lParam);
    // The shell gives no position: the cursor is read now. GET_X_LPARAM's rule does not apply,
    // POINT holds signed coordinates already.
    POINT at{};
    ::GetCursorPos(&at);
    owner_.tray_->HandleNotify(static_cast<std::uintptr_t>(lParam), ShiftStateNow(), at.x, at.y);
    return 0;
}

TrayIconWin32::TrayIconWin32()
    : window_(*this), tray_(std::make_unique<TTrayIcon>(static_cast<NotificationArea&>(*this), &maker_)) {}

TrayIconWin32::~TrayIconWin32() {
    // The tray removes its icon and cuts off its thread while the window and the maker still
    // exist; then the members go.
    tray_.reset();
}

// The first layout of the record is 88 bytes in the 32-bit build, 104 in the 64-bit one.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 4 ? 88 : 104));

bool TrayIconWin32::Notify(NotifyAction action, const NotifyRecord& record) {
    NOTIFYICONDATAA data{};
    // The first, smallest layout: every shell version takes it, and it has all we fill.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = reinterpret_cast<HWND>(record.window);
    data.uID = record.id;
    data.uFlags = record.flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.icon);
    std::strncpy(data.szTip, record.tip.c_str(), sizeof data.szTip - 1);
    const DWORD message = action == NotifyAction::Add      ? NIM_ADD
                          : action == NotifyAction::Modify ? NIM_MODIFY
                                                           : NIM_DELETE;
    return ::Shell_NotifyIconA(message, &data) != FALSE;
}

// Balloons need the record's second layout (shell 5.0 and later); an older shell refuses it.
bool TrayIconWin32::ShowBalloon(const std::wstring& title, const std::wstring& text) {
    if (!tray_->Added()) return false;
    const NotifyRecord record = tray_->IconData();
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = reinterpret_cast<HWND>(record.window);
    data.uID = record.id;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_WARNING;
    ::lstrcpynW(data.szInfoTitle, title.c_str(), static_cast<int>(std::size(data.szInfoTitle)));
    ::lstrcpynW(data.szInfo, text.c_str(), static_cast<int>(std::size(data.szInfo)));
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

TrayWindowId TrayIconWin32::TrayWindow() const { return reinterpret_cast<TrayWindowId>(window_.hwnd()); }

void TrayIconWin32::CancelModes() {
    // Releases the mouse capture and closes drop-downs of the active window before the menu.
    if (HWND active = ::GetActiveWindow()) ::SendMessageW(active, WM_CANCELMODE, 0, 0);
}

void TrayIconWin32::ForegroundTrayWindow() {
    HWND hwnd = window_.hwnd();
    if (hwnd && ::IsWindowEnabled(hwnd)) ::SetForegroundWindow(hwnd);
}

void TrayIconWin32::ProcessMessages() { win::Application::Instance().ProcessMessages(); }

bool TrayIconWin32::TrackMenu(TrayMenuId menu, TrayWindowId commandWindow, int x, int y) {
    HWND owner = commandWindow ? reinterpret_cast<HWND>(commandWindow) : window_.hwnd();
    return ::TrackPopupMenu(reinterpret_cast<HMENU>(menu), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr) !=
           FALSE;
}

TimerHooks TrayIconWin32::Hooks() {
    // Nothing here refers to this object: a thread may finish its pause after it is gone.
    return {[](unsigned ms) { ::SleepEx(ms, FALSE); }, [] { return win::Application::Instance().Terminated(); }};
}

}  // namespace tessera
