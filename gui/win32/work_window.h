// A dialog over the logic of a window with long work (WorkerForm): each
// control is bound to a component by key, user events go to the logic, and
// after each one, and whenever the work's events arrive (WM_APP), the
// controls show the components again. Closing the window stops running
// work and waits until its clean-up is done.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "app/worker_form.h"
#include "gui/win32/form_dialog.h"

namespace tw::gui {

struct ControlBinding {
    ComponentKey component;
    int control;
};

// Shown over a WorkerForm.
class WorkWindow : public FormDialog {
public:
    WorkWindow(int templateId, std::vector<ControlBinding> bindings);

protected:
    void OnShowing(FormLogic& form) override;
    bool OnCommand(int id, int notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    void Sync() override;
    // What the subclass shows beyond the bound controls (a chart).
    virtual void SyncMore() {}

    WorkerForm* work_ = nullptr;  // form_ as the worker's form

private:
    void SyncList(const Component& c, HWND control);

    std::vector<ControlBinding> bindings_;
    std::map<int, std::vector<std::string>> shownItems_;  // per list or combo control
};

}  // namespace tw::gui
