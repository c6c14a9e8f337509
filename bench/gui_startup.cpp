// Starts a window program, waits until its window titled TITLE (default
// "Tarnwell") shows a list with rows and the program is idle, and prints how
// long that took and the process's working set at that moment.
//   tarnwell-gui-startup PATH\PROGRAM.exe [TITLE]
#include <windows.h>
// After <windows.h>, which they need.
#include <commctrl.h>
#include <psapi.h>

#include <charconv>
#include <iostream>
#include <string>

namespace {

HWND FindList(HWND main) { return FindWindowExA(main, nullptr, WC_LISTVIEWA, nullptr); }

std::string Number(unsigned long long v) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    (void)ec;
    return std::string(buffer, end);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: tarnwell-gui-startup PATH\\PROGRAM.exe [TITLE]\n";
        return 2;
    }
    const char* title = argc == 3 ? argv[2] : "Tarnwell";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = std::string("\"") + argv[1] + "\"";
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::cerr << "cannot start " << argv[1] << '\n';
        return 1;
    }
    HWND main = nullptr;
    HWND list = nullptr;
    double ms = -1;
    // The list counts as painted once it has rows and the window has taken
    // its paint messages (the program is idle again).
    for (int i = 0; i < 120000; ++i) {
        main = main ? main : FindWindowA(nullptr, title);
        list = main && !list ? FindList(main) : list;
        if (list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0 && WaitForInputIdle(process.hProcess, 0) == 0) {
            UpdateWindow(main);
            QueryPerformanceCounter(&now);
            ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
            break;
        }
        Sleep(1);
    }
    int rc = 0;
    if (ms < 0) {
        std::cerr << "no list appeared\n";
        rc = 1;
    } else {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
        std::cout << "first list ms " << Number(static_cast<unsigned long long>(ms + 0.5)) << '\n'
                  << "working set KiB " << Number(memory.WorkingSetSize / 1024) << '\n'
                  << "peak working set KiB " << Number(memory.PeakWorkingSetSize / 1024) << '\n';
    }
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return rc;
}
