// The rights line of a window (app/rights_line.h) in its template: a static
// text and a push button, shown or hidden as the logic says, the button with
// the system's shield.
#pragma once
#include "app/form_logic.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

struct RightsLineControls {
    int line = 0;  // 0: the window has no rights line
    int button = 0;
    int grows = 0;  // a control above the line that takes its place while it is hidden
};

// Puts the shield on the button.
void InitRightsLine(HWND dialog, const RightsLineControls& controls);
// Shows the logic's text and both controls, or hides them; true when the
// control above the line has just taken the hidden line's place.
bool SyncRightsLine(HWND dialog, const FormLogic& form, const RightsLineControls& controls);

}  // namespace tw::gui
