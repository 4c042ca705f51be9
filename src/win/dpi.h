#pragma once
// Display scaling: the DPI a window is shown at, lengths designed at 96 DPI scaled to it, and the
// per-monitor functions of newer Windows, found at run time so that older versions still start.
#include <windows.h>

#include "win/unique_handle.h"

namespace tessera::win {

// Layouts, fonts and pictures are designed at this DPI (100 %).
inline constexpr int kDesignDpi = 96;

// A length designed at 96 DPI, at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int designPixels, int dpi);
// The rectangle's edges scaled one by one: controls that touch at 96 DPI still touch.
RECT ScaleToDpi(const RECT& design, int dpi);

// The DPI of the primary monitor as the program was started with.
int SystemDpi();
// The DPI of the monitor the window is on (the system DPI where Windows cannot tell).
int WindowDpi(HWND window);
// GetSystemMetrics at `dpi` (SM_CXSMICON, SM_CXVSCROLL, ...).
int SystemMetricForDpi(int index, int dpi);
// The window rectangle around `client` for a window of these styles at `dpi`.
RECT WindowRectForDpi(RECT client, DWORD style, DWORD exStyle, int dpi);
// Lets Windows scale the caption and borders of a top-level window with its DPI under
// per-monitor awareness of the first kind; called at WM_NCCREATE.
void EnableNonClientScaling(HWND window);

// The icon resource `name` of the program at the size `metric` (SM_CXICON or SM_CXSMICON) has at
// `dpi`, drawn from the icon's nearest image; null when there is none.
unique_hicon LoadIconForDpi(const wchar_t* name, int metric, int dpi);

}  // namespace tessera::win
