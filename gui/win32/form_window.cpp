#include "gui/win32/form_window.h"

#include "gui/win32/dpi.h"

namespace tw::gui {

void FormWindow::CreateHidden(HWND owner, HICON icon, int width96, int height96, UINT dpi) {
    RegisterClassOnce(className_.c_str(), icon, icon);
    Create(className_.c_str(), caption_.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
           WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, owner, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, Scale(width96, dpi),
           Scale(height96, dpi));
    if (hwnd()) CreateControls(DpiOf(hwnd()));
}

void FormWindow::CenterOverOwner() {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    RECT area{};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT self{};
    GetWindowRect(hwnd(), &self);
    const int w = self.right - self.left;
    const int h = self.bottom - self.top;
    SetWindowPos(hwnd(), nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ShowModal() {
    if (!hwnd() || modal_) return;
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    CenterOverOwner();
    if (owner) EnableWindow(owner, FALSE);
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd());
    modal_ = true;
    MSG msg;
    while (modal_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop ends the program
            break;
        }
        if (got < 0) break;
        if (!IsDialogMessageA(hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    modal_ = false;
    // The owner comes back before this hides, so activation returns to it.
    if (owner) EnableWindow(owner, TRUE);
    ShowWindow(hwnd(), SW_HIDE);
    if (owner) SetActiveWindow(owner);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (modal_) {
                EndModal();
            } else {
                ShowWindow(hwnd(), SW_HIDE);
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                SendMessageA(hwnd(), WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace tw::gui
