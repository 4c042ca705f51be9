#pragma once
// What screen readers learn of an owner-drawn list box: a no-data list holds no text the system
// could give them, so the list answers their questions itself, each line named by its owner.
#include <windows.h>

#include <functional>
#include <string>

namespace tessera::win {

class ListAccessible;

class ListAccessibility {
public:
    // Makes `list` answer for its lines with `lineName` (line from 0 to its spoken text), for as
    // long as this lives; called on the list's thread only.
    ListAccessibility(HWND list, std::function<std::wstring(int line)> lineName);
    // A reader still holding the list's object gets errors from then on.
    ~ListAccessibility();
    ListAccessibility(const ListAccessibility&) = delete;
    ListAccessibility& operator=(const ListAccessibility&) = delete;

private:
    static LRESULT CALLBACK Subclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    LRESULT GetObject(WPARAM wParam, LPARAM lParam);

    HWND list_;
    ListAccessible* object_;
    bool comStarted_ = false;
};

}  // namespace tessera::win
