// The secondary windows are made at start-up, hidden, and most are never
// shown in a run. Each is made as a message-only window, which the system
// makes at a fraction of the cost of a hidden top-level window, and becomes
// a top-level window owned by the main window just before it is first shown.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

class ParkedWindow {
public:
    // The parent to create the window with; remembers its owner.
    HWND Park(HWND owner) {
        owner_ = owner;
        parked_ = true;
        return HWND_MESSAGE;
    }
    // Makes `window` a top-level window owned as Park was told; once. The
    // system may activate the window as it comes out (Wine does), which can
    // run messages: a caller that runs a modal loop is modal by then.
    void Unpark(HWND window);
    // The window is made as a top-level window after all.
    void Forget() { parked_ = false; }

private:
    HWND owner_ = nullptr;
    bool parked_ = false;
};

}  // namespace tw::gui
