#include "gui/win32/form_window.h"

#include "gui/win32/modal.h"

#include "gui/win32/dpi.h"

namespace tw::gui {

void FormWindow::CreateHidden(HWND owner, HICON icon, int width96, int height96, UINT dpi) {
    RegisterClassOnce(className_.c_str(), icon, icon);
    HWND parent = nullptr;
    const DWORD style = parked_.Park(owner, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, parent);
    Create(className_.c_str(), caption_.c_str(), style, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, parent, nullptr,
           CW_USEDEFAULT, CW_USEDEFAULT, Scale(width96, dpi), Scale(height96, dpi));
}

void FormWindow::Fill() {
    parked_.Unpark(hwnd(), false);
    if (!hwnd() || filled_) return;
    filled_ = true;
    CreateControls(DpiOf(hwnd()));
}

void FormWindow::ShowModal() {
    if (!hwnd() || modal_) return;
    // Modal before it comes up: a close that arrives meanwhile ends it.
    modal_ = true;
    // Before the window is placed over its owner: the controls set its size.
    Fill();
    if (modal_) RunModal(hwnd(), &modal_);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) Fill();
            break;
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
