// tarnwell_gui_driver: starts tarnwell.exe, finds its main window and checks
// from outside, as a user would see it, that the drive list shows the
// machine's drives, that View > Refresh keeps them, and that the View toggles
// flip their check marks. Exit code 0 when every check passed.
//
//   tarnwell_gui_driver <path to tarnwell.exe> [<pause file>]
//
// With a pause file the driver, before closing the program, creates
// "<pause file>.ready" and waits (up to a minute) for "<pause file>.done", so
// that a script can take a screenshot of the window meanwhile.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
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

void PauseForScreenshot(const std::string& pauseFile) {
    const std::string ready = pauseFile + ".ready";
    const std::string done = pauseFile + ".done";
    HANDLE f = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        std::printf("note: cannot create %s\n", ready.c_str());
        return;
    }
    CloseHandle(f);
    const auto until = Clock::now() + std::chrono::seconds(60);
    while (!FileExists(done) && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(250));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarnwell_gui_driver <tarnwell.exe> [<pause file>]\n");
        return 2;
    }
    const std::string exe = argv[1];
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
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
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
    }

    if (argc > 2 && window) PauseForScreenshot(argv[2]);

    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    Check(waited == WAIT_OBJECT_0, "the program exits after WM_CLOSE");
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    if (waited == WAIT_OBJECT_0) Check(code == 0, "the program's exit code is 0");
    CloseHandle(process.hProcess);

    std::printf("%s (%d failed)\n", failures ? "FAILED" : "ALL PASSED", failures);
    return failures ? 1 : 0;
}
