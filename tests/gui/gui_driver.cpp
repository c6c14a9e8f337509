// tarnwell_gui_driver: starts tarnwell.exe, finds its main window and checks
// from outside, as a user would see it, that the drive list shows the
// machine's drives, that View > Refresh keeps them, that the View toggles
// flip their check marks, and that every menu entry and toolbar button that
// does not end the program can be run, every box and window it opens closed
// as soon as it shows, and the program still answers. The windows of other
// programs it starts are closed at the end. Exit code 0 when every check
// passed.
//
//   tarnwell_gui_driver <path to tarnwell.exe> [<screenshot folder>]
//
// With a screenshot folder the driver, for each picture, creates
// "<folder>\<name>.ready" and waits (up to a minute) for "<name>.done", so
// that a script can take a screenshot meanwhile: the main window, the list's
// pop-up menu and the "Eject CD" button's drop-down menu.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "remote_list.h"
#include "window_probe.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(120);
constexpr DWORD kCommandTimeoutMs = 120000;

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failures;
}

bool Contains(const std::vector<std::string>& items, const std::string& wanted) {
    for (const auto& s : items) {
        if (s == wanted) return true;
    }
    return false;
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& s : items) out += (out.empty() ? "\"" : ", \"") + s + "\"";
    return "[" + out + "]";
}

// Sends a menu command and waits until the window has handled it.
bool SendCommand(HWND window, UINT id) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, kCommandTimeoutMs, &answer) != 0;
}

void CheckToggle(gui_test::RemoteMenu& menu, HWND window, const char* caption) {
    const auto id = menu.FindCommand(caption);
    Check(id.has_value(), std::string("menu entry \"") + caption + "\" exists");
    if (!id) return;
    const auto before = menu.IsChecked(*id);
    Check(before.has_value(), std::string("check mark of \"") + caption + "\" is readable");
    if (!before) return;
    Check(SendCommand(window, *id), std::string("\"") + caption + "\" handled");
    const auto after = menu.IsChecked(*id);
    Check(after.has_value() && *after != *before, std::string("\"") + caption + "\" flips its check mark");
    SendCommand(window, *id);
    const auto back = menu.IsChecked(*id);
    Check(back.has_value() && *back == *before, std::string("\"") + caption + "\" flips it back");
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void PauseForScreenshot(const std::string& folder, const std::string& name) {
    const std::string ready = folder + "\\" + name + ".ready";
    const std::string done = folder + "\\" + name + ".done";
    HANDLE f = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        std::printf("note: cannot create %s\n", ready.c_str());
        return;
    }
    CloseHandle(f);
    const auto until = Clock::now() + std::chrono::seconds(60);
    while (!FileExists(done) && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

struct ProcessWindows {
    DWORD processId;
    HWND main;
    std::vector<HWND> found;
};

// The process a window belongs to, and its class name.
struct WindowOwner {
    DWORD process = 0;
    char className[64] = {};
};

WindowOwner OwnerOf(HWND hwnd) {
    WindowOwner owner;
    GetWindowThreadProcessId(hwnd, &owner.process);
    GetClassNameA(hwnd, owner.className, sizeof owner.className);
    return owner;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* windows = reinterpret_cast<ProcessWindows*>(param);
    const WindowOwner owner = OwnerOf(hwnd);
    // Menus close by themselves; tool tips are not windows the user closes.
    if (owner.process == windows->processId && hwnd != windows->main && IsWindowVisible(hwnd) &&
        lstrcmpA(owner.className, "#32768") != 0 && lstrcmpA(owner.className, "tooltips_class32") != 0) {
        windows->found.push_back(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK AppendText(HWND hwnd, LPARAM param) {
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof className);
    char text[512] = {};
    if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(hwnd, text, sizeof text) > 0) {
        auto* out = reinterpret_cast<std::string*>(param);
        *out += (out->empty() ? "" : " | ") + std::string(text);
    }
    return TRUE;
}

// Handles what is queued for this thread: the answers to SendCommandAsync.
void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void CALLBACK CommandHandled(HWND, UINT, ULONG_PTR handled, LRESULT) { *reinterpret_cast<bool*>(handled) = true; }

// Queues a menu command without waiting for it: `handled` turns true once the
// window has handled it (a box it holds up keeps it from that), seen by a
// PumpMessages after that. A posted command would never say when it is done.
bool SendCommandAsync(HWND window, UINT id, bool& handled) {
    return SendMessageCallbackA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0, &CommandHandled,
                                reinterpret_cast<ULONG_PTR>(&handled)) != 0;
}

// The program's boxes and windows other than the main window: each is read
// into the log and closed (a question answered No, a box OK, a window closed).
// True once the command is handled and the program is idle with none left.
bool CloseWhatAppeared(DWORD processId, HWND main, const std::string& command, const bool& handled) {
    std::set<HWND> reported;
    std::map<HWND, Clock::time_point> answered;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kCommandTimeoutMs);
    while (Clock::now() < deadline) {
        PumpMessages();
        ProcessWindows windows{processId, main, {}};
        EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
        if (windows.found.empty() && handled) {
            DWORD_PTR answer = 0;
            return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, kCommandTimeoutMs, &answer) != 0;
        }
        for (HWND w : windows.found) {
            char className[64] = {};
            GetClassNameA(w, className, sizeof className);
            char title[256] = {};
            GetWindowTextA(w, title, sizeof title);
            std::string text;
            EnumChildWindows(w, &AppendText, reinterpret_cast<LPARAM>(&text));
            if (reported.insert(w).second) {
                std::printf("  %s opened %s \"%s\": %s\n", command.c_str(), className, title, text.c_str());
            }
            // Answered once, and again only if it is still up a while later.
            const auto last = answered.find(w);
            if (last != answered.end() && Clock::now() - last->second < std::chrono::milliseconds(300)) continue;
            answered[w] = Clock::now();
            if (lstrcmpA(className, "#32770") == 0) {
                // A message box or dialog: No where it asks, OK where that is all
                // it has, otherwise Cancel.
                if (GetDlgItem(w, IDNO)) {
                    PostMessageA(w, WM_COMMAND, IDNO, 0);
                } else if (!GetDlgItem(w, IDCANCEL) && GetDlgItem(w, IDOK)) {
                    PostMessageA(w, WM_COMMAND, IDOK, 0);
                } else {
                    PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
                }
            } else {
                PostMessageA(w, WM_CLOSE, 0, 0);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// Runs one command as its menu entry or button would and cleans up after it:
// what it opens is closed as soon as it shows, and the next command waits
// until this one is handled.
void RunCommand(DWORD processId, HWND window, UINT id, const std::string& what) {
    bool handled = false;
    if (!SendCommandAsync(window, id, handled)) {
        Check(false, what + " can be sent");
        return;
    }
    Check(CloseWhatAppeared(processId, window, what, handled), what + " leaves the program answering");
}

struct MenuSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindMenu(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<MenuSearch*>(param);
    const WindowOwner owner = OwnerOf(hwnd);
    if (owner.process == search->processId && IsWindowVisible(hwnd) && lstrcmpA(owner.className, "#32768") == 0) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Whether one of the program's menus shows on the screen.
bool MenuShows(DWORD processId) {
    MenuSearch search{processId, false};
    EnumWindows(&FindMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits (up to ten seconds) until the program's menu shows or not.
void WaitForMenu(DWORD processId, bool shown) {
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (MenuShows(processId) != shown && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// Holds a menu open for a screenshot: `open` posts what opens it, and the
// main window's cancel-mode message closes it again.
void ScreenshotOfMenu(DWORD processId, HWND window, const std::string& folder, const std::string& name,
                      const std::function<void()>& open) {
    open();
    WaitForMenu(processId, true);
    PauseForScreenshot(folder, name);
    PostMessageA(window, WM_CANCELMODE, 0, 0);
    WaitForMenu(processId, false);
}

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd)) reinterpret_cast<std::set<HWND>*>(param)->insert(hwnd);
    return TRUE;
}

std::set<HWND> VisibleTopLevelWindows() {
    std::set<HWND> windows;
    EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Some commands start other programs ("Explore" opens an Explorer window).
// They share the wine server with the tests that follow, so their windows
// are closed once the program has gone: the next test finds the screen as
// this one did. True once none is left.
bool CloseOtherPrograms(const std::set<HWND>& before) {
    std::set<HWND> reported;
    const auto until = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < until) {
        std::vector<HWND> left;
        for (HWND w : VisibleTopLevelWindows()) {
            if (!before.count(w)) left.push_back(w);
        }
        if (left.empty()) return true;
        for (HWND w : left) {
            if (reported.insert(w).second) {
                char className[64] = {};
                GetClassNameA(w, className, sizeof className);
                char title[256] = {};
                GetWindowTextA(w, title, sizeof title);
                std::printf("  closing %s \"%s\", left open by another program\n", className, title);
            }
            PostMessageA(w, WM_CLOSE, 0, 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarnwell_gui_driver <tarnwell.exe> [<pause file>]\n");
        return 2;
    }
    const std::string exe = argv[1];
    const std::set<HWND> before = VisibleTopLevelWindows();
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("FAIL: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);

    const auto deadline = Clock::now() + kStartTimeout;
    HWND window = gui_test::WaitForTopLevelWindow(process.dwProcessId, "Tarnwell", deadline);
    Check(window != nullptr, "a top-level window titled \"Tarnwell\" appears");
    HWND list = window ? gui_test::FindChildOfClass(window, WC_LISTVIEWA) : nullptr;
    Check(list != nullptr, "the window holds a SysListView32");

    if (list) {
        gui_test::RemoteList rows(process.hProcess, list);
        // The first refresh runs when the program becomes active; wait for rows.
        while (rows.Count() <= 0 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::vector<std::string> captions = rows.Captions();
        std::printf("rows: %s\n", Join(captions).c_str());
        Check(Contains(captions, "C: "), "the list shows drive C: as \"C: \"");
        Check(Contains(captions, "Z: "), "the list shows drive Z: as \"Z: \"");

        gui_test::RemoteMenu menu(process.hProcess, process.dwProcessId, window);
        Check(menu.Ready(), "the menu probe is loaded into the program");
        const auto refresh = menu.FindCommand("Refresh");
        Check(refresh.has_value(), "the menu bar has a \"Refresh\" entry");
        if (refresh) {
            Check(SendCommand(window, *refresh), "View > Refresh handled");
            const std::vector<std::string> again = rows.Captions();
            std::printf("rows after refresh: %s\n", Join(again).c_str());
            Check(again == captions, "View > Refresh keeps the same rows");
        }
        CheckToggle(menu, window, "Skip A and B drives");
        CheckToggle(menu, window, "Bold");

        if (argc > 2) {
            PauseForScreenshot(argv[2], "tarnwell-main-window");
            ScreenshotOfMenu(process.dwProcessId, window, argv[2], "list-popup-menu",
                             [&] { PostMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1); });
            // The arrow of "Eject CD": a press at its right edge opens the drop-down menu.
            HWND bar = gui_test::FindChildOfClass(window, TOOLBARCLASSNAMEA);
            gui_test::RemoteToolBar buttons(process.hProcess, bar);
            const std::vector<UINT> ids = bar ? buttons.Commands() : std::vector<UINT>{};
            const auto rect = ids.size() > 2 ? buttons.Rect(ids[2]) : std::nullopt;
            if (rect) {
                ScreenshotOfMenu(process.dwProcessId, window, argv[2], "eject-drop-down-menu", [&] {
                    const LPARAM at = MAKELPARAM(rect->right - 4, (rect->top + rect->bottom) / 2);
                    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
                    PostMessageA(bar, WM_LBUTTONUP, 0, at);
                });
            }
        }

        // Every menu entry and toolbar button, except those that end the program.
        const auto close = menu.FindCommand("Close");
        const std::vector<UINT> entries = menu.Commands();
        Check(entries.size() >= 30, "the menu bar's entries are read (" + std::to_string(entries.size()) + ")");
        for (UINT id : entries) {
            if (close && id == *close) continue;
            RunCommand(process.dwProcessId, window, id, "menu entry " + std::to_string(id));
        }
        HWND toolBar = gui_test::FindChildOfClass(window, TOOLBARCLASSNAMEA);
        Check(toolBar != nullptr, "the window holds a toolbar");
        if (toolBar) {
            gui_test::RemoteToolBar buttons(process.hProcess, toolBar);
            const std::vector<UINT> ids = buttons.Commands();
            Check(ids.size() == 11, "the toolbar has its 11 buttons");
            for (UINT id : ids) {
                const std::string caption = buttons.Caption(id);
                if (caption == "Exit") continue;
                RunCommand(process.dwProcessId, window, id, "button \"" + caption + "\"");
            }
            ShowWindow(window, SW_RESTORE);
        }
        DWORD_PTR answer = 0;
        Check(IsWindow(window) && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) != 0,
              "the program still answers after every command");
        Check(gui_test::RemoteList(process.hProcess, list).Count() > 0, "the list still shows the drives");
    }

    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    Check(waited == WAIT_OBJECT_0, "the program exits after WM_CLOSE");
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    if (waited == WAIT_OBJECT_0) Check(code == 0, "the program's exit code is 0");
    CloseHandle(process.hProcess);
    Check(CloseOtherPrograms(before), "the windows of the programs it started close");

    std::printf("%s (%d failed)\n", failures ? "FAILED" : "ALL PASSED", failures);
    return failures ? 1 : 0;
}
