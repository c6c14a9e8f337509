// The secondary windows are made at start-up, hidden, and most are never
// shown in a run. Each is made as a message-only window without its frame
// (caption, system menu, sizing border), which the system makes at a
// fraction of the cost of a hidden top-level window, and becomes a framed
// top-level window owned by the main window just before it is first shown.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

class ParkedWindow {
public:
    // What a framed window's style becomes while it is parked: a popup
    // without the frame. The style to make it with; `parent` is set to the
    // parent to make it with.
    DWORD Park(HWND owner, DWORD style, HWND& parent);
    // Makes `window` a framed top-level window owned as Park was told; once.
    // keepClient: the window grows by the frame (a dialog's template gives
    // its client area); otherwise the frame takes its place (a window made
    // at its outer size). The system may activate the window as it comes
    // out (Wine does), which can run messages: a caller that runs a modal
    // loop is modal by then.
    void Unpark(HWND window, bool keepClient);
    // The window is made as a top-level window after all.
    void Forget() { parked_ = false; }

private:
    HWND owner_ = nullptr;
    DWORD style_ = 0;  // the frame bits as asked
    bool parked_ = false;
};

}  // namespace tw::gui
