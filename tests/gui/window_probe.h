// Finding another process's windows.
#pragma once
#include <windows.h>

#include <chrono>

namespace gui_test {

// Waits for a visible top-level window of the process with exactly this title.
HWND WaitForTopLevelWindow(DWORD processId, const char* title, std::chrono::steady_clock::time_point deadline);
// The first descendant window of the given class.
HWND FindChildOfClass(HWND parent, const char* className);

}  // namespace gui_test
