// A report window over a form's logic: a list view filled from the logic's
// list-view component, a status line, a Refresh button, an optional check
// box, and Close. It shows beside the main window and closing it only hides
// it. Every user event goes to the logic; after each one the controls show
// the logic's components again. "USB Drives" and "Volumes" are such windows.
#pragma once
#include <string>
#include <vector>

#include "gui/win32/form_dialog.h"
#include "gui/win32/report_table.h"

namespace tw::gui {

// The template's controls and the logic's components they show.
struct ReportControls {
    int list;
    ComponentKey listKey;
    int status;
    ComponentKey statusKey;
    int refresh;
    ComponentKey refreshKey;
    int option = 0;  // a check box; 0 when the window has none
    ComponentKey optionKey = {};
};

class ListReportWindow : public FormDialog {
public:
    ListReportWindow(int templateId, ReportControls controls);

protected:
    void OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    void Sync() override;

private:
    ReportControls controls_;
    ReportTable table_;
};

}  // namespace tw::gui
