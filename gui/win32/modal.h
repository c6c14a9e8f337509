// What every window shown over the main window shares: its place, centred on
// its owner, and the message loop that runs while it is shown modally.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

// Centres `window` on its owner, or on the work area when the owner is hidden
// or minimised.
void CenterOverOwner(HWND window);

// Shows `window` over its disabled owner and runs messages (dialog keys
// included) until `*running` turns false; then gives the owner back its
// input and activation and hides the window. A WM_QUIT is passed on to the
// main loop.
void RunModal(HWND window, bool* running);

}  // namespace tw::gui
