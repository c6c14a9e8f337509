#include "gui/win32/parked_window.h"

#include "gui/win32/dpi.h"

namespace tw::gui {

namespace {

// The bits a parked window goes without (or, WS_POPUP, takes instead).
constexpr DWORD kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

DWORD ParkedWindow::Park(HWND owner, DWORD style, HWND& parent) {
    owner_ = owner;
    style_ = style & kFrame;
    parked_ = true;
    parent = HWND_MESSAGE;
    return (style & ~kFrame) | WS_POPUP;
}

void ParkedWindow::Unpark(HWND window, bool keepClient) {
    if (!parked_ || !window) return;
    parked_ = false;
    // A system that activates the window as it comes out (Wine does) gives
    // the activation back: the window is not shown yet.
    const HWND active = GetActiveWindow();
    // The desktop becomes the parent, then the owner, which a top-level
    // window's GWLP_HWNDPARENT holds.
    SetParent(window, nullptr);
    if (owner_) SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    RECT client{};
    GetClientRect(window, &client);
    const auto style = (static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & ~kFrame) | style_;
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (keepClient) {
        AdjustWindowRectForDpi(client, style, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)),
                               DpiOf(window));
    } else {
        flags |= SWP_NOSIZE;
    }
    SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top, flags);
    if (active && active != window && GetActiveWindow() == window) SetActiveWindow(active);
}

}  // namespace tw::gui
