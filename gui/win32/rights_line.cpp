#include "gui/win32/rights_line.h"

#include <algorithm>

#include "app/rights_line.h"
#include "gui/win32/form_dialog.h"

namespace tw::gui {

namespace {

void Show(HWND control, bool visible) {
    if (!control) return;
    const bool shown = (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

}  // namespace

void InitRightsLine(HWND dialog, const RightsLineControls& controls) {
    if (controls.button == 0) return;
    // BCM_SETSHIELD: the button draws the shield before its caption.
    Button_SetElevationRequiredState(GetDlgItem(dialog, controls.button), TRUE);
}

bool SyncRightsLine(HWND dialog, const FormLogic& form, const RightsLineControls& controls) {
    if (controls.line == 0) return false;
    const Component& line = form.Get(RightsControl::Line);
    HWND text = GetDlgItem(dialog, controls.line);
    if (text) SetTextIfChanged(text, line.text);
    Show(text, line.visible);
    HWND button = GetDlgItem(dialog, controls.button);
    Show(button, form.Get(RightsControl::Restart).visible);
    HWND grows = controls.grows ? GetDlgItem(dialog, controls.grows) : nullptr;
    if (!grows || line.visible || !text || !button) return false;
    // Elevated, the line never shows in this run: the control above grows by
    // the line's height, and no empty band is left.
    RECT area{};
    RECT lineRect{};
    RECT buttonRect{};
    GetWindowRect(grows, &area);
    GetWindowRect(text, &lineRect);
    GetWindowRect(button, &buttonRect);
    const LONG top = std::min(lineRect.top, buttonRect.top);
    const LONG extra = std::max(lineRect.bottom, buttonRect.bottom) - top;
    if (area.bottom > top) return false;  // grown already
    SetWindowPos(grows, nullptr, 0, 0, area.right - area.left, area.bottom - area.top + extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

}  // namespace tw::gui
