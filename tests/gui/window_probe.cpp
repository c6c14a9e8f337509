#include "window_probe.h"

#include <cstring>
#include <thread>

namespace gui_test {

namespace {

struct TopLevelSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || !IsWindowVisible(hwnd)) return TRUE;
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if (std::strcmp(text, search->title) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct ChildSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND WaitForTopLevelWindow(DWORD processId, const char* title, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        TopLevelSearch search{processId, title, nullptr};
        EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (std::chrono::steady_clock::now() >= deadline) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
}

HWND FindChildOfClass(HWND parent, const char* className) {
    ChildSearch search{className, nullptr};
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace gui_test
