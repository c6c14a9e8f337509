// "Optical Information" as a real dialog over TfrmOpticalInfo's logic. The
// window shows beside the main window and closing it only hides it. Every
// user event goes to the logic, and after each one the controls show the
// logic's components again: the chooser, the identity fields and the
// capability lines. The disc library's wait runs the program's messages
// while it asks a drive; an event that arrives meanwhile is dropped.
//
#pragma once
#include <string>
#include <vector>

#include "gui/win32/form_dialog.h"
#include "gui/win32/picture.h"

namespace tw::gui {

// Shown over a TfrmOpticalInfo.
class OpticalInfoWindow final : public FormDialog {
public:
    OpticalInfoWindow();
    ~OpticalInfoWindow() override;

protected:
    void OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Sync() override;

private:
    void SyncChooser();
    void SyncCapabilities();

    std::vector<std::string> chooserItems_;  // what the chooser lists now
    LazyPicture picture_;
    HFONT headingFont_ = nullptr;
};

}  // namespace tw::gui
