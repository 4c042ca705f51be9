// A small Windows program the end-to-end scripts use to see and poke Tessera's windows from the
// Wine side, where the X tools cannot reach (window messages, window rectangles, the clipboard).
//   e2e_probe wait CLASS TITLE SECONDS       exit 0 once the window exists
//   e2e_probe gone CLASS TITLE SECONDS       exit 0 once it does not
//   e2e_probe rect CLASS TITLE               prints "left top width height visible"
//   e2e_probe command CLASS TITLE ID         posts WM_COMMAND with ID
//   e2e_probe post CLASS TITLE MSG WP LP     posts a message (numbers in C notation)
//   e2e_probe children CLASS TITLE           prints "class|text|left top width height|visible" per child
//   e2e_probe child-text CLASS TITLE CHILD   prints the text of the first child of class CHILD (asked
//                                            of the control itself, as for an edit box of another program)
//   e2e_probe modules EXE                    prints the paths of the modules a running EXE has loaded
//   e2e_probe clipboard-formats              prints the formats on the clipboard, one per line
// CLASS may be "-" for any class.
// The probe speaks ANSI throughout, like the scripts that read its output.
#undef UNICODE
#undef _UNICODE
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND FindTarget(const char* cls, const char* title) {
    return ::FindWindowA(std::string(cls) == "-" ? nullptr : cls, title);
}

bool WaitFor(const char* cls, const char* title, double seconds, bool present) {
    const DWORD deadline = ::GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        if ((FindTarget(cls, title) != nullptr) == present) return true;
        if (static_cast<LONG>(::GetTickCount() - deadline) > 0) return false;
        ::Sleep(50);
    }
}

BOOL CALLBACK PrintChild(HWND c, LPARAM) {
    char cls[64] = {}, text[256] = {};
    ::GetClassNameA(c, cls, sizeof cls);
    ::GetWindowTextA(c, text, sizeof text);
    RECT r{};
    ::GetWindowRect(c, &r);
    std::printf("%s|%s|%ld %ld %ld %ld|%d\n", cls, text, r.left, r.top, r.right - r.left, r.bottom - r.top,
                ::IsWindowVisible(c) ? 1 : 0);
    return TRUE;
}

unsigned long long Number(const char* s) { return std::strtoull(s, nullptr, 0); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string verb = argv[1];
    if (verb == "clipboard-formats") {
        if (!::OpenClipboard(nullptr)) return 1;
        for (UINT f = ::EnumClipboardFormats(0); f; f = ::EnumClipboardFormats(f)) std::printf("%u\n", f);
        ::CloseClipboard();
        return 0;
    }
    if (verb == "modules" && argc >= 3) {
        HANDLE procs = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 pe{};
        pe.dwSize = sizeof pe;
        DWORD pid = 0;
        for (BOOL ok = ::Process32First(procs, &pe); ok; ok = ::Process32Next(procs, &pe))
            if (::lstrcmpiA(pe.szExeFile, argv[2]) == 0) pid = pe.th32ProcessID;
        ::CloseHandle(procs);
        if (!pid) return 1;
        HANDLE mods = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
        MODULEENTRY32 me{};
        me.dwSize = sizeof me;
        for (BOOL ok = ::Module32First(mods, &me); ok; ok = ::Module32Next(mods, &me)) std::printf("%s\n", me.szExePath);
        ::CloseHandle(mods);
        return 0;
    }
    if (argc < 4) return 2;
    const char* cls = argv[2];
    const char* title = argv[3];
    if ((verb == "wait" || verb == "gone") && argc >= 5) return WaitFor(cls, title, std::atof(argv[4]), verb == "wait") ? 0 : 1;
    HWND h = FindTarget(cls, title);
    if (!h) {
        std::fprintf(stderr, "e2e_probe: no window %s \"%s\"\n", cls, title);
        return 1;
    }
    if (verb == "rect") {
        RECT r{};
        ::GetWindowRect(h, &r);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top, ::IsWindowVisible(h) ? 1 : 0);
        return 0;
    }
    if (verb == "child-text" && argc >= 5) {
        HWND child = ::FindWindowExA(h, nullptr, argv[4], nullptr);
        if (!child) return 1;
        const LRESULT length = ::SendMessageA(child, WM_GETTEXTLENGTH, 0, 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        ::SendMessageA(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        std::printf("%s", text.c_str());
        return 0;
    }
    if (verb == "children") {
        ::EnumChildWindows(h, PrintChild, 0);
        return 0;
    }
    if (verb == "command" && argc >= 5) return ::PostMessageA(h, WM_COMMAND, static_cast<WPARAM>(Number(argv[4])), 0) ? 0 : 1;
    if (verb == "post" && argc >= 7)
        return ::PostMessageA(h, static_cast<UINT>(Number(argv[4])), static_cast<WPARAM>(Number(argv[5])),
                              static_cast<LPARAM>(Number(argv[6])))
                   ? 0
                   : 1;
    return 2;
}
