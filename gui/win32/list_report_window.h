// A report window over a form's logic: a list view filled from the logic's
// list-view component, a status line, a Refresh button, an optional check
// box, and Close. It shows beside the main window and closing it only hides
// it. Every user event goes to the logic; after each one the controls show
// the logic's components again. "USB Drives" and "Volumes" are such windows.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/form_logic.h"
#include "gui/win32/dialog.h"

namespace tw::gui {

// The template's controls and the logic's components they show.
struct ReportControls {
    int list;
    const char* listName;
    int status;
    const char* statusName;
    int refresh;
    const char* refreshName;
    int option = 0;  // a check box; 0 when the window has none
    const char* optionName = "";
};

class ListReportWindow : public Dialog {
public:
    ListReportWindow(int templateId, ReportControls controls);

    // Shows the window over `form`, runs its FormShow and shows what it found.
    void Show(FormLogic& form);

protected:
    void OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Route(const std::function<void()>& event);
    void Sync();
    void SyncList();

    ReportControls controls_;
    FormLogic* form_ = nullptr;
    bool busy_ = false;
    std::vector<std::string> columns_;  // the headings the list view has now
};

}  // namespace tw::gui
