// "Optical Information" as a real dialog over TfrmOpticalInfo's logic. The
// window shows beside the main window and closing it only hides it. Every
// user event goes to the logic, and after each one the controls show the
// logic's components again: the chooser, the identity fields and the
// capability lines.
//
// The disc library's wait runs the program's messages while it asks a drive,
// so a click or a selection can reach this window while the logic is still
// busy with the previous one. Such an event is dropped: running it would
// show one drive's fields under another drive's name, and the controls are
// set back to the logic's state once the running event ends.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/form_logic.h"
#include "gui/win32/dialog.h"
#include "gui/win32/picture.h"

namespace tw::gui {

class OpticalInfoWindow final : public Dialog {
public:
    OpticalInfoWindow();
    ~OpticalInfoWindow() override;

    // Shows the window over `form` (a TfrmOpticalInfo), runs its FormShow and
    // shows what it found. While an event runs it only brings the window up.
    void Show(FormLogic& form);
    // An event of the window is running in the logic.
    bool Busy() const { return busy_; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Runs `event` in the logic unless one runs already, then shows the
    // logic's components.
    void Route(const std::function<void()>& event);
    void Sync();
    void SyncChooser();
    void SyncCapabilities();

    FormLogic* form_ = nullptr;
    bool busy_ = false;
    std::vector<std::string> chooserItems_;  // what the chooser lists now
    LazyPicture picture_;
    HFONT headingFont_ = nullptr;
};

}  // namespace tw::gui
