#include "win/dpi.h"

#include "win/system_libraries.h"

namespace tessera::win {
namespace {

// The per-monitor functions of user32 (Windows 10 version 1607 and later) and, for Windows 8.1,
// shcore's; null where missing.
struct PerMonitorFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    UINT(WINAPI* getDpiForSystem)() = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    BOOL(WINAPI* enableNonClientDpiScaling)(HWND) = nullptr;
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
};

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
    // Through a function type without parameters, which any function pointer may be cast to.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

const PerMonitorFunctions& Functions() {
    static const PerMonitorFunctions functions = [] {
        PerMonitorFunctions f;
        if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
            Find(user32, "GetDpiForWindow", f.getDpiForWindow);
            Find(user32, "GetDpiForSystem", f.getDpiForSystem);
            Find(user32, "GetSystemMetricsForDpi", f.getSystemMetricsForDpi);
            Find(user32, "AdjustWindowRectExForDpi", f.adjustWindowRectExForDpi);
            Find(user32, "EnableNonClientDpiScaling", f.enableNonClientDpiScaling);
        }
        if (!f.getDpiForWindow)
            if (HMODULE shcore = LoadSystemLibrary(L"shcore.dll")) Find(shcore, "GetDpiForMonitor", f.getDpiForMonitor);
        return f;
    }();
    return functions;
}

}  // namespace

int ScaleToDpi(int designPixels, int dpi) { return ::MulDiv(designPixels, dpi, kDesignDpi); }

RECT ScaleToDpi(const RECT& design, int dpi) {
    return {ScaleToDpi(design.left, dpi), ScaleToDpi(design.top, dpi), ScaleToDpi(design.right, dpi),
            ScaleToDpi(design.bottom, dpi)};
}

int SystemDpi() {
    if (Functions().getDpiForSystem) return static_cast<int>(Functions().getDpiForSystem());
    const window_dc screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
    if (window && Functions().getDpiForWindow)
        if (const UINT dpi = Functions().getDpiForWindow(window)) return static_cast<int>(dpi);
    if (window && Functions().getDpiForMonitor) {
        constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
        UINT x = 0, y = 0;
        HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(Functions().getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y) return static_cast<int>(y);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    if (Functions().getSystemMetricsForDpi) return Functions().getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    // Older Windows has one DPI for every monitor, the system's, which GetSystemMetrics uses.
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

RECT WindowRectForDpi(RECT client, DWORD style, DWORD exStyle, int dpi) {
    if (Functions().adjustWindowRectExForDpi)
        Functions().adjustWindowRectExForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        ::AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}

void EnableNonClientScaling(HWND window) {
    if (Functions().enableNonClientDpiScaling) Functions().enableNonClientDpiScaling(window);
}

unique_hicon LoadIconForDpi(const wchar_t* name, int metric, int dpi) {
    const int size = SystemMetricForDpi(metric, dpi);
    return unique_hicon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace tessera::win
