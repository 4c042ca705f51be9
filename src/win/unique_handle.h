#pragma once
// One move-only owner for every kind of Windows handle, and guards for the paired calls.
#include <windows.h>

#include <utility>

namespace tessera::win {

// The value that owns nothing: null for most handles.
template <typename H>
struct null_handle {
    static H invalid() noexcept { return H{}; }
};
// File and find handles use INVALID_HANDLE_VALUE, which cannot be a template argument.
struct invalid_handle_value {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
};

// Owns a handle of type H and releases it with Close.
template <typename H, auto Close, typename Empty = null_handle<H>>
class unique_any {
public:
    unique_any() noexcept = default;
    explicit unique_any(H h) noexcept : h_(h) {}
    unique_any(unique_any&& other) noexcept : h_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    ~unique_any() { reset(); }

    H get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Empty::invalid(); }
    H release() noexcept { return std::exchange(h_, Empty::invalid()); }
    void reset(H h = Empty::invalid()) noexcept {
        H old = std::exchange(h_, h);
        if (old != Empty::invalid()) Close(old);
    }

private:
    H h_ = Empty::invalid();
};

namespace detail {
inline void CloseHandleChecked(HANDLE h) { ::CloseHandle(h); }
inline void DestroyWindowChecked(HWND h) { ::DestroyWindow(h); }
inline void DestroyIconChecked(HICON h) { ::DestroyIcon(h); }
inline void DestroyCursorChecked(HCURSOR h) { ::DestroyCursor(h); }
inline void DestroyMenuChecked(HMENU h) { ::DestroyMenu(h); }
inline void DeleteObjectChecked(HGDIOBJ h) { ::DeleteObject(h); }
inline void RegCloseKeyChecked(HKEY h) { ::RegCloseKey(h); }
inline void GlobalFreeChecked(HGLOBAL h) { ::GlobalFree(h); }
inline void FreeLibraryChecked(HMODULE h) { ::FreeLibrary(h); }
inline void UnhookChecked(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void DeleteMetaFileChecked(HMETAFILE h) { ::DeleteMetaFile(h); }
inline void DeleteEnhMetaFileChecked(HENHMETAFILE h) { ::DeleteEnhMetaFile(h); }
inline void DeleteDcChecked(HDC h) { ::DeleteDC(h); }
inline void FindCloseChecked(HANDLE h) { ::FindClose(h); }
}  // namespace detail

using unique_handle = unique_any<HANDLE, detail::CloseHandleChecked>;
using unique_hfile = unique_any<HANDLE, detail::CloseHandleChecked, invalid_handle_value>;
using unique_hfind = unique_any<HANDLE, detail::FindCloseChecked, invalid_handle_value>;
using unique_hwnd = unique_any<HWND, detail::DestroyWindowChecked>;
using unique_hicon = unique_any<HICON, detail::DestroyIconChecked>;
using unique_hcursor = unique_any<HCURSOR, detail::DestroyCursorChecked>;
using unique_hmenu = unique_any<HMENU, detail::DestroyMenuChecked>;
using unique_hgdiobj = unique_any<HGDIOBJ, detail::DeleteObjectChecked>;
using unique_hbitmap = unique_any<HBITMAP, detail::DeleteObjectChecked>;
using unique_hfont = unique_any<HFONT, detail::DeleteObjectChecked>;
using unique_hbrush = unique_any<HBRUSH, detail::DeleteObjectChecked>;
using unique_hpalette = unique_any<HPALETTE, detail::DeleteObjectChecked>;
using unique_hkey = unique_any<HKEY, detail::RegCloseKeyChecked>;
using unique_hglobal = unique_any<HGLOBAL, detail::GlobalFreeChecked>;
using unique_hmodule = unique_any<HMODULE, detail::FreeLibraryChecked>;
using unique_hhook = unique_any<HHOOK, detail::UnhookChecked>;
using unique_hmetafile = unique_any<HMETAFILE, detail::DeleteMetaFileChecked>;
using unique_henhmetafile = unique_any<HENHMETAFILE, detail::DeleteEnhMetaFileChecked>;
using unique_hdc = unique_any<HDC, detail::DeleteDcChecked>;

// Runs a function when the scope ends: for paired calls that have no owner type of their own.
template <typename F>
class scope_exit {
public:
    explicit scope_exit(F f) noexcept : f_(std::move(f)) {}
    scope_exit(const scope_exit&) = delete;
    scope_exit& operator=(const scope_exit&) = delete;
    ~scope_exit() {
        if (armed_) f_();
    }
    void release() noexcept { armed_ = false; }

private:
    F f_;
    bool armed_ = true;
};

// GetDC / ReleaseDC.
class window_dc {
public:
    explicit window_dc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~window_dc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class paint_scope {
public:
    explicit paint_scope(HWND hwnd) noexcept : hwnd_(hwnd) { ::BeginPaint(hwnd_, &ps_); }
    ~paint_scope() { ::EndPaint(hwnd_, &ps_); }
    paint_scope(const paint_scope&) = delete;
    paint_scope& operator=(const paint_scope&) = delete;
    HDC dc() const noexcept { return ps_.hdc; }
    const RECT& area() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// SelectObject and its restore.
class select_object {
public:
    select_object(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~select_object() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SelectPalette and RealizePalette, and the old palette selected again at the end of the scope, in
// the background: putting it back must not claim the system palette. A null palette does nothing.
class select_palette {
public:
    select_palette(HDC dc, HPALETTE palette) noexcept
        : dc_(dc), old_(palette ? ::SelectPalette(dc, palette, FALSE) : nullptr) {
        if (old_) ::RealizePalette(dc_);
    }
    ~select_palette() {
        if (old_) ::SelectPalette(dc_, old_, TRUE);
    }
    select_palette(const select_palette&) = delete;
    select_palette& operator=(const select_palette&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

// GlobalLock / GlobalUnlock, typed.
template <typename T = void>
class global_lock {
public:
    explicit global_lock(HGLOBAL mem) noexcept : mem_(mem), ptr_(mem ? ::GlobalLock(mem) : nullptr) {}
    ~global_lock() {
        if (ptr_) ::GlobalUnlock(mem_);
    }
    global_lock(const global_lock&) = delete;
    global_lock& operator=(const global_lock&) = delete;
    T* get() const noexcept { return static_cast<T*>(ptr_); }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }
    SIZE_T size() const noexcept { return ::GlobalSize(mem_); }

private:
    HGLOBAL mem_;
    void* ptr_;
};

}  // namespace tessera::win
