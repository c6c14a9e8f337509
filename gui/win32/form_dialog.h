// A dialog over a form's logic that shows beside the main window; closing it
// only hides it. Every user event goes to the logic through Route, and after
// each one the controls show the logic's components again (Sync).
//
// The logic may run the program's messages while it waits for a device, so
// an event can reach the window while the previous one still runs. Such an
// event is dropped: running it would mix one drive's answers with another's,
// and the controls are set back to the logic's state when the running event
// ends. Meanwhile the pointer over the window is an hourglass.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/form_logic.h"
#include "gui/win32/dialog.h"

namespace tw::gui {

class FormDialog : public Dialog {
public:
    using Dialog::Dialog;

    // Shows the window over `form`, runs its FormShow and shows what it
    // found. While an event runs it only brings the window up.
    void Show(FormLogic& form);
    // An event of the window is running in the logic.
    bool Busy() const { return busy_; }

protected:
    // `form` is about to be shown for the first time or again.
    virtual void OnShowing(FormLogic& form) { (void)form; }
    // Runs `event` in the logic unless one runs already, then Syncs.
    void Route(const std::function<void()>& event);
    // Makes the controls show the logic's components.
    virtual void Sync() = 0;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    FormLogic* form_ = nullptr;

private:
    bool busy_ = false;
};

// Sets a control's text only when it differs, so the caret of a field the
// user is typing in stays where it is and nothing flickers.
void SetTextIfChanged(HWND control, const std::string& text);
// Refills a combo box when its items differ from `shown` (what it holds),
// which then holds `items`.
void SetComboItems(HWND combo, const std::vector<std::string>& items, std::vector<std::string>& shown);

}  // namespace tw::gui
