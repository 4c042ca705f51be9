// A small Windows program the end-to-end scripts use to see and poke Tessera's windows from the
// Wine side, where the X tools cannot reach (window messages, window rectangles, the clipboard).
//   e2e_probe ids                            prints the ids the scripts post to Tessera, taken from
//                                            its own constants and the API's, as shell assignments
//   e2e_probe wait CLASS TITLE SECONDS       exit 0 once the window exists
//   e2e_probe gone CLASS TITLE SECONDS       exit 0 once it does not
//   e2e_probe rect CLASS TITLE               prints "left top width height visible"
//   e2e_probe command CLASS TITLE ID         posts WM_COMMAND with ID
//   e2e_probe answers CLASS TITLE SECONDS    exit 0 once the window's thread answers a message
//   e2e_probe post CLASS TITLE MSG WP LP     posts a message (numbers in C notation)
//   e2e_probe children CLASS TITLE           prints "class|text|left top width height|visible" per child
//   e2e_probe select-all CLASS TITLE CHILD   selects all the text of the first child of class CHILD
//   e2e_probe selected CLASS TITLE CHILD     prints the selected line (from 0, -1 for none) of the first
//                                            list box of class CHILD
//   e2e_probe list-count CLASS TITLE         prints the line count of the window's first list box
//   e2e_probe key CLASS TITLE CHILD VK       posts a press and release of the key VK (a number) to the
//                                            first child of class CHILD
//   e2e_probe child-text CLASS TITLE CHILD [N]  prints the text of the first (Nth) child of class CHILD (asked
//                                            of the control itself, as for an edit box of another program)
//   e2e_probe modules EXE                    prints the paths of the modules a running EXE has loaded
//   e2e_probe clipboard-formats              prints the formats on the clipboard, one per line
//   e2e_probe clipboard-bitmap               prints "width height" of the clipboard's bitmap
//   e2e_probe clipboard-has NAME             exit 0 when the clipboard holds the registered format NAME
//   e2e_probe time-copy DIR                  posts the copy hot key to Tessera; prints the ms until the
//                                            clipboard changed and until DIR holds one more file
//   e2e_probe time-paste [LINES]             posts the paste hot key; prints the ms until the chooser
//                                            shows and its list holds LINES lines (any, by default),
//                                            then closes it
//   e2e_probe time-search QUERY...           types each QUERY into the open chooser's search field a
//                                            letter at a time; per query prints "QUERY|lines|ms per
//                                            letter", then "median M slowest S round-trip R emptied E":
//                                            over every letter the ms from the field's change to the
//                                            list's count read, the bare count question's ms, and the
//                                            ms of emptying the field (every line back)
//   e2e_probe search-until QUERY LINES       puts QUERY in the open chooser's search field and prints
//                                            "ms-of-the-change ms-until-LINES-lines" (-1: not in 10 s)
//   e2e_probe ready CLASS TITLE SECONDS      exit 0 once the window exists and its thread answers
//   e2e_probe put-text FILE [HOLD_MS]        puts FILE's bytes on the clipboard as text; with HOLD_MS,
//                                            holds the clipboard that long from before Tessera hears of it
//   e2e_probe put-bitmap WIDTH HEIGHT        puts a striped bitmap of that size on the clipboard
//   e2e_probe clipboard-text FILE            writes the clipboard's text (without its final NUL) to FILE
//   e2e_probe foreground                     prints the foreground window, its thread's focus, and who
//                                            holds the clipboard open (for diagnosing a scenario)
//   e2e_probe counts EXE                     prints "<handles> <GDI objects>" of the running EXE
//   e2e_probe topmost CLASS TITLE            keeps the window above all others, without activating it
//   e2e_probe hotkey-free MODS VK            exit 0 when another program could take the hot key
//                                            (MOD_* flags and a virtual key, numbers)
// CLASS may be "-" for any class.
// The probe speaks ANSI throughout, like the scripts that read its output.
#undef UNICODE
#undef _UNICODE
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../../support/handle_count_win32.h"
#include "../../support/viewer_chain_win32.h"
#include "app/window_ids.h"
#include "commands/hot_key_commands.h"

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

double NowMs() {
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

int CountFiles(const std::string& dir) {
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return n;
}

// Polls `done` every millisecond for up to 10 s; the elapsed ms since `start`, or -1.
template <typename Done>
double PollUntil(double start, Done done) {
    while (!done()) {
        if (NowMs() - start > 10000) return -1;
        ::Sleep(1);
    }
    return NowMs() - start;
}

using tessera::HotKeyCommands;

// One line per id, NAME=value, for the scripts to evaluate.
void PrintIds() {
    const std::pair<const char*, long> ids[] = {
        {"CMD_SHOW_OPTIONS", tessera::kShowOptionsCommand},
        {"CMD_ANIMATE_TRAY", tessera::kAnimateTrayCommand},
        {"CMD_CLEAR_STORE", tessera::kClearStoreCommand},
        {"CMD_QUIT", tessera::kQuitCommand},
        {"CMD_KEEP_EVERY_COPY", tessera::kKeepEveryCopyCommand},
        {"CMD_ABOUT", tessera::kAboutCommand},
        {"PASTE_HOTKEY", HotKeyCommands::kPasteHotKey},
        {"COPY_HOTKEY", HotKeyCommands::kCopyHotKey},
        {"WM_HOTKEY", WM_HOTKEY},
        {"WM_CLOSE", WM_CLOSE},
        {"VK_END", VK_END},
        {"IDOK", IDOK},
    };
    for (const auto& [name, value] : ids) std::printf("%s=%ld\n", name, value);
}

// The file's size and last write, or zeros when it is not there.
std::pair<ULONGLONG, ULONGLONG> FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {0, 0};
    return {(ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
            (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

// The hot keys arrive as Tessera's WM_HOTKEY. With an index file, filed is when it changed: the
// store writes it once the item's file is made (and a folder of many files is slow to count).
int TimeCopy(const std::string& dir, const std::string& index) {
    HWND tessera = ::FindWindowA("TForm1", "Tessera");
    if (!tessera) return 1;
    const int before = index.empty() ? CountFiles(dir) : 0;
    const auto stamp = FileStamp(index);
    const DWORD sequence = ::GetClipboardSequenceNumber();
    const double start = NowMs();
    ::PostMessageA(tessera, WM_HOTKEY, HotKeyCommands::kCopyHotKey, 0);
    const double copied = PollUntil(start, [&] { return ::GetClipboardSequenceNumber() != sequence; });
    const double filed =
        PollUntil(start, [&] { return index.empty() ? CountFiles(dir) > before : FileStamp(index) != stamp; });
    std::printf("%.1f %.1f\n", copied, filed);
    return copied < 0 || filed < 0 ? 1 : 0;
}

// The list's count is asked of Tessera's thread, which answers once the showing is done and the
// dialog reads its messages. Prints the ms to the list holding `lines` lines (any, when
// negative), and the longest Tessera took to answer one of those questions meanwhile.
int TimePaste(long lines) {
    HWND tessera = ::FindWindowA("TForm1", "Tessera");
    HWND chooser = ::FindWindowA("TChoix", nullptr);
    HWND list = chooser ? ::FindWindowExA(chooser, nullptr, "ListBox", nullptr) : nullptr;
    if (!tessera || !list) return 1;
    double longest = 0;
    const auto filled = [&] {
        DWORD_PTR count = 0;
        const double asked = NowMs();
        const bool answered = ::SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count) != 0;
        longest = std::max(longest, NowMs() - asked);
        if (!answered) return false;
        return lines < 0 ? count > 0 : static_cast<long>(count) == lines;
    };
    const double start = NowMs();
    ::PostMessageA(tessera, WM_HOTKEY, HotKeyCommands::kPasteHotKey, 0);
    const double shown = PollUntil(start, [&] { return ::IsWindowVisible(chooser) != FALSE && filled(); });
    ::PostMessageA(chooser, WM_CLOSE, 0, 0);
    PollUntil(NowMs(), [&] { return !::IsWindowVisible(chooser); });
    std::printf("%.1f %.1f\n", shown, longest);
    return shown < 0 ? 1 : 0;
}

// The chooser's search field is its first edit box (the tab order's), the list its list box.
struct ChooserParts {
    HWND field = nullptr;
    HWND list = nullptr;
};
ChooserParts FindChooserParts() {
    HWND chooser = ::FindWindowA("TChoix", nullptr);
    if (!chooser) return {};
    return {::FindWindowExA(chooser, nullptr, "Edit", nullptr), ::FindWindowExA(chooser, nullptr, "ListBox", nullptr)};
}

// The field's text is set as typing sets it (the chooser hears of each change); the list is
// filtered once the change is handled, and its count read then.
long SetSearch(const ChooserParts& parts, const std::string& text, double& ms) {
    const double start = NowMs();
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutA(parts.field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 20000,
                               &count) ||
        !::SendMessageTimeoutA(parts.list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 20000, &count))
        return -1;
    ms = NowMs() - start;
    return static_cast<long>(count);
}

double MedianOf(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

int TimeSearch(int count, char** queries) {
    const ChooserParts parts = FindChooserParts();
    if (!parts.field || !parts.list) return 1;
    std::vector<double> all, trips;
    double emptied = 0;
    for (int q = 0; q < count; ++q) {
        const std::string query = queries[q];
        std::string times;
        long lines = 0;
        for (std::size_t typed = 1; typed <= query.size(); ++typed) {
            double ms = 0;
            lines = SetSearch(parts, query.substr(0, typed), ms);
            if (lines < 0) return 1;
            all.push_back(ms);
            char one[32];
            std::snprintf(one, sizeof one, " %.1f", ms);
            times += one;
        }
        std::printf("%s|%ld|%s\n", query.c_str(), lines, times.c_str());
        for (int i = 0; i < 5; ++i) {
            DWORD_PTR ignored = 0;
            const double asked = NowMs();
            ::SendMessageTimeoutA(parts.list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 20000, &ignored);
            trips.push_back(NowMs() - asked);
        }
        if (SetSearch(parts, "", emptied) < 0) return 1;
    }
    std::printf("median %.1f slowest %.1f round-trip %.2f emptied %.1f\n", MedianOf(all),
                all.empty() ? -1 : *std::max_element(all.begin(), all.end()), MedianOf(trips), emptied);
    return 0;
}

// The texts come in the background: the chooser fills its list again as they arrive.
int SearchUntil(const std::string& query, long lines) {
    const ChooserParts parts = FindChooserParts();
    if (!parts.field || !parts.list) return 1;
    const double start = NowMs();
    double changed = 0;
    if (SetSearch(parts, query, changed) < 0) return 1;
    const double full = PollUntil(start, [&] {
        DWORD_PTR count = 0;
        return ::SendMessageTimeoutA(parts.list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 20000, &count) &&
               static_cast<long>(count) == lines;
    });
    std::printf("%.1f %.1f\n", changed, full);
    return full < 0 ? 1 : 0;
}

// Another program may hold the clipboard a moment (Tessera reading a capture, Wine handing a
// large item to X): wait for it as a patient program would, up to ten seconds.
bool OpenClipboardPatiently(HWND owner = nullptr) {
    for (int tries = 0; tries < 1000; ++tries) {
        if (::OpenClipboard(owner)) return true;
        ::Sleep(10);
    }
    return false;
}

bool PutOnClipboard(UINT format, HANDLE data, HWND owner = nullptr) {
    if (!OpenClipboardPatiently(owner)) return false;
    ::EmptyClipboard();
    const bool put = ::SetClipboardData(format, data) != nullptr;
    ::CloseClipboard();
    return put;
}

// Holds the clipboard open from the moment its change is announced, before the next viewer in
// the chain (Tessera) hears of it: joining the chain puts the probe first, and the notice is
// passed on only once the clipboard is held. A hold that merely followed the change would race
// with Tessera's read of it.
HWND g_nextViewer = nullptr;
bool g_held = false;

LRESULT CALLBACK HoldingViewer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWCLIPBOARD) {
        // Wine's bridge to the X clipboard may read the new content first: wait for it.
        for (int tries = 0; tries < 200 && !g_held; ++tries) {
            g_held = ::OpenClipboard(window) != FALSE;
            if (!g_held) ::Sleep(5);
        }
        if (g_nextViewer) ::SendNotifyMessageA(g_nextViewer, message, wParam, lParam);
        return 0;
    }
    if (message == WM_CHANGECBCHAIN) {
        tessera::testing::FollowChainChange(g_nextViewer, wParam, lParam,
                                            [&](HWND to) { ::SendNotifyMessageA(to, message, wParam, lParam); });
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void PumpFor(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(::GetTickCount() - end) < 0) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(5);
    }
}

int PutTextAndHold(HGLOBAL memory, DWORD holdMs) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = HoldingViewer;
    cls.lpszClassName = "E2eHoldingViewer";
    ::RegisterClassA(&cls);
    HWND window = ::CreateWindowA(cls.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    g_nextViewer = ::SetClipboardViewer(window);
    PumpFor(50);  // the joining call's own notice
    g_held = false;
    // Put from another thread, so that the notice of the change reaches this one's queue after
    // the put has closed the clipboard.
    std::atomic<bool> put = false, done = false;
    std::thread putter([&] {
        put = PutOnClipboard(CF_TEXT, memory, window);
        done = true;
    });
    for (int i = 0; i < 500 && !(done && g_held); ++i) PumpFor(10);
    putter.join();
    PumpFor(holdMs);
    if (g_held) ::CloseClipboard();
    ::ChangeClipboardChain(window, g_nextViewer);
    ::DestroyWindow(window);
    if (!put || !g_held) std::fprintf(stderr, "put-text: %s\n", put ? "the change was not held" : "nothing put");
    return put && g_held ? 0 : 1;
}

int PutText(const char* path, DWORD holdMs) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return 1;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (!memory) return 1;
    char* into = static_cast<char*>(::GlobalLock(memory));
    std::memcpy(into, bytes.c_str(), bytes.size() + 1);
    ::GlobalUnlock(memory);
    if (!holdMs) return PutOnClipboard(CF_TEXT, memory) ? 0 : 1;
    return PutTextAndHold(memory, holdMs);
}

// Vertical stripes of eight colours: a copy that loses or shifts pixels shows at once.
int PutBitmap(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap) return 1;
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF colours[8] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),     RGB(255, 255, 0),
                                 RGB(0, 255, 255), RGB(255, 0, 255), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (int i = 0; i < 8; ++i) {
        HBRUSH brush = ::CreateSolidBrush(colours[i]);
        const RECT stripe{width * i / 8, 0, width * (i + 1) / 8, height};
        ::FillRect(dc, &stripe, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return PutOnClipboard(CF_BITMAP, bitmap) ? 0 : 1;
}

int WriteClipboardText(const char* path) {
    if (!::OpenClipboard(nullptr)) return 1;
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(::GlobalLock(data)) : nullptr;
    if (text) {
        std::ofstream(path, std::ios::binary).write(text, static_cast<std::streamsize>(std::strlen(text)));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text ? 0 : 1;
}

DWORD ProcessIdOf(const char* exe) {
    HANDLE procs = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe{};
    pe.dwSize = sizeof pe;
    DWORD pid = 0;
    for (BOOL ok = ::Process32First(procs, &pe); ok; ok = ::Process32Next(procs, &pe))
        if (::lstrcmpiA(pe.szExeFile, exe) == 0) pid = pe.th32ProcessID;
    ::CloseHandle(procs);
    return pid;
}

// Wine answers 0 to GetGuiResources too; its GDI handle table, which the process environment
// block points at, tells the objects in use: an entry with a type is taken.
struct GdiHandleEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandles = 0x10000;

long GdiObjectCountOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    unsigned long long table = 0;
    constexpr std::size_t kGdiTableAt = sizeof(void*) == 8 ? 0xf8 : 0x94;
    if (!::ReadProcessMemory(process, peb + kGdiTableAt, &table, sizeof(void*), nullptr) || !table) return -1;
    std::vector<GdiHandleEntry> entries(kGdiHandles);
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<ULONG_PTR>(table)), entries.data(),
                             entries.size() * sizeof(GdiHandleEntry), nullptr))
        return -1;
    long count = 0;
    for (const GdiHandleEntry& entry : entries) count += entry.type != 0;
    return count;
}

int PrintCounts(const char* exe) {
    const DWORD pid = ProcessIdOf(exe);
    if (!pid) return 1;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    std::printf("%lu %ld\n", tessera::testing::HandleCountOf(pid), GdiObjectCountOf(process));
    ::CloseHandle(process);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string verb = argv[1];
    if (verb == "ids") {
        PrintIds();
        return 0;
    }
    if (verb == "clipboard-formats") {
        if (!::OpenClipboard(nullptr)) return 1;
        for (UINT f = ::EnumClipboardFormats(0); f; f = ::EnumClipboardFormats(f)) std::printf("%u\n", f);
        ::CloseClipboard();
        return 0;
    }
    if (verb == "clipboard-bitmap") {
        if (!::OpenClipboard(nullptr)) return 1;
        BITMAP info{};
        const auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        const bool found = bitmap && ::GetObjectA(bitmap, sizeof info, &info);
        ::CloseClipboard();
        if (!found) return 1;
        std::printf("%ld %ld\n", info.bmWidth, info.bmHeight);
        return 0;
    }
    if (verb == "clipboard-has" && argc >= 3)
        return ::IsClipboardFormatAvailable(::RegisterClipboardFormatA(argv[2])) ? 0 : 1;
    if (verb == "time-copy" && argc >= 3) return TimeCopy(argv[2], argc >= 4 ? argv[3] : "");
    if (verb == "time-paste") return TimePaste(argc >= 3 ? std::atol(argv[2]) : -1);
    if (verb == "time-search") return TimeSearch(argc - 2, argv + 2);
    if (verb == "search-until" && argc >= 4) return SearchUntil(argv[2], std::atol(argv[3]));
    if (verb == "foreground") {
        char cls[64] = {}, title[256] = {};
        HWND f = ::GetForegroundWindow();
        ::GetClassNameA(f, cls, sizeof cls);
        ::GetWindowTextA(f, title, sizeof title);
        std::printf("%s|%s\n", cls, title);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(f, nullptr), &gui)) {
            ::GetClassNameA(gui.hwndFocus, cls, sizeof cls);
            std::printf("focus %p %s, active %p, capture %p, flags %lx\n", static_cast<void*>(gui.hwndFocus), cls,
                        static_cast<void*>(gui.hwndActive), static_cast<void*>(gui.hwndCapture), gui.flags);
        }
        if (HWND open = ::GetOpenClipboardWindow()) {
            ::GetClassNameA(open, cls, sizeof cls);
            ::GetWindowTextA(open, title, sizeof title);
            std::printf("clipboard held by %s|%s\n", cls, title);
        }
        return 0;
    }
    if (verb == "put-text" && argc >= 3) return PutText(argv[2], argc >= 4 ? static_cast<DWORD>(Number(argv[3])) : 0);
    if (verb == "put-bitmap" && argc >= 4) return PutBitmap(std::atoi(argv[2]), std::atoi(argv[3]));
    if (verb == "clipboard-text" && argc >= 3) return WriteClipboardText(argv[2]);
    if (verb == "counts" && argc >= 3) return PrintCounts(argv[2]);
    if (verb == "hotkey-free" && argc >= 4) {
        if (!::RegisterHotKey(nullptr, 1, static_cast<UINT>(Number(argv[2])), static_cast<UINT>(Number(argv[3]))))
            return 1;
        ::UnregisterHotKey(nullptr, 1);
        return 0;
    }
    if (verb == "modules" && argc >= 3) {
        const DWORD pid = ProcessIdOf(argv[2]);
        if (!pid) return 1;
        HANDLE mods = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
        MODULEENTRY32 me{};
        me.dwSize = sizeof me;
        for (BOOL ok = ::Module32First(mods, &me); ok; ok = ::Module32Next(mods, &me))
            std::printf("%s\n", me.szExePath);
        ::CloseHandle(mods);
        return 0;
    }
    if (argc < 4) return 2;
    const char* cls = argv[2];
    const char* title = argv[3];
    if ((verb == "wait" || verb == "gone") && argc >= 5)
        return WaitFor(cls, title, std::atof(argv[4]), verb == "wait") ? 0 : 1;
    if (verb == "ready" && argc >= 5) {
        const double seconds = std::atof(argv[4]);
        DWORD_PTR ignored = 0;
        return WaitFor(cls, title, seconds, true) &&
                       ::SendMessageTimeoutA(FindTarget(cls, title), WM_NULL, 0, 0, SMTO_NORMAL,
                                             static_cast<UINT>(seconds * 1000), &ignored)
                   ? 0
                   : 1;
    }
    HWND h = FindTarget(cls, title);
    if (!h) {
        std::fprintf(stderr, "e2e_probe: no window %s \"%s\"\n", cls, title);
        return 1;
    }
    if (verb == "rect") {
        RECT r{};
        ::GetWindowRect(h, &r);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    ::IsWindowVisible(h) ? 1 : 0);
        return 0;
    }
    if (verb == "child-text" && argc >= 5) {
        HWND child = ::FindWindowExA(h, nullptr, argv[4], nullptr);
        for (long later = argc >= 6 ? std::atol(argv[5]) : 1; child && later > 1; --later)
            child = ::FindWindowExA(h, child, argv[4], nullptr);
        if (!child) return 1;
        const LRESULT length = ::SendMessageA(child, WM_GETTEXTLENGTH, 0, 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        ::SendMessageA(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        std::printf("%s", text.c_str());
        return 0;
    }
    if (verb == "key" && argc >= 6) {
        HWND child = ::FindWindowExA(h, nullptr, argv[4], nullptr);
        const auto key = static_cast<WPARAM>(Number(argv[5]));
        return child && ::PostMessageA(child, WM_KEYDOWN, key, 1) && ::PostMessageA(child, WM_KEYUP, key, 0xC0000001)
                   ? 0
                   : 1;
    }
    if (verb == "list-count") {
        HWND list = ::FindWindowExA(h, nullptr, "ListBox", nullptr);
        if (!list) return 1;
        std::printf("%ld\n", static_cast<long>(::SendMessageA(list, LB_GETCOUNT, 0, 0)));
        return 0;
    }
    if (verb == "selected" && argc >= 5) {
        HWND child = ::FindWindowExA(h, nullptr, argv[4], nullptr);
        if (!child) return 1;
        std::printf("%ld\n", static_cast<long>(::SendMessageA(child, LB_GETCURSEL, 0, 0)));
        return 0;
    }
    if (verb == "select-all" && argc >= 5) {
        HWND child = ::FindWindowExA(h, nullptr, argv[4], nullptr);
        return child && ::SendMessageA(child, EM_SETSEL, 0, -1) >= 0 ? 0 : 1;
    }
    if (verb == "topmost")
        return ::SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? 0 : 1;
    if (verb == "children") {
        ::EnumChildWindows(h, PrintChild, 0);
        return 0;
    }
    if (verb == "answers" && argc >= 5) {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(std::atof(argv[4]) * 1000),
                                     &ignored)
                   ? 0
                   : 1;
    }
    if (verb == "command" && argc >= 5)
        return ::PostMessageA(h, WM_COMMAND, static_cast<WPARAM>(Number(argv[4])), 0) ? 0 : 1;
    if (verb == "post" && argc >= 7)
        return ::PostMessageA(h, static_cast<UINT>(Number(argv[4])), static_cast<WPARAM>(Number(argv[5])),
                              static_cast<LPARAM>(Number(argv[6])))
                   ? 0
                   : 1;
    return 2;
}
