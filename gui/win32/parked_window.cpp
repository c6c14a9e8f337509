#include "gui/win32/parked_window.h"

namespace tw::gui {

void ParkedWindow::Unpark(HWND window) {
    if (!parked_ || !window) return;
    parked_ = false;
    // The desktop becomes the parent (the window keeps its top-level style),
    // then the owner, which a top-level window's GWLP_HWNDPARENT holds.
    // A system that activates the window as it comes out (Wine does) gives
    // the activation back: the window is not shown yet.
    const HWND active = GetActiveWindow();
    SetParent(window, nullptr);
    if (owner_) SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    if (active && active != window && GetActiveWindow() == window) SetActiveWindow(active);
}

}  // namespace tw::gui
