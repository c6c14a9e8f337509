#include "gui/win32/modal.h"

namespace tw::gui {

void CenterOverOwner(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    RECT area{};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT self{};
    GetWindowRect(window, &self);
    const int w = self.right - self.left;
    const int h = self.bottom - self.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunModal(HWND window, bool* running) {
    HWND owner = GetWindow(window, GW_OWNER);
    CenterOverOwner(window);
    if (owner) EnableWindow(owner, FALSE);
    // Modal before it shows: coming to the front can run the refresh that
    // follows activation, whose message pump may already deliver a close,
    // which must end this loop rather than only hide the window.
    *running = true;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    MSG msg;
    while (*running) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop ends the program
            break;
        }
        if (got < 0) break;
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    *running = false;
    // The owner comes back before this hides, so activation returns to it.
    if (owner) EnableWindow(owner, TRUE);
    ShowWindow(window, SW_HIDE);
    if (owner) SetActiveWindow(owner);
}

}  // namespace tw::gui
