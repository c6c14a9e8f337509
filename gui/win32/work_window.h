// A dialog over the logic of a window with long work (WorkerForm): each
// control is bound to a component by name, user events go to the logic, and
// after each one, and whenever the work's events arrive (WM_APP), the
// controls show the components again. Closing the window stops running
// work and waits until its clean-up is done.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/worker_form.h"
#include "gui/win32/dialog.h"

namespace tw::gui {

struct ControlBinding {
    const char* component;
    int control;
};

class WorkWindow : public Dialog {
public:
    WorkWindow(int templateId, std::vector<ControlBinding> bindings);

    // Shows the window over `form`, runs its FormShow and shows the result.
    void Show(FormLogic& form);

protected:
    bool OnCommand(int id, int notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    // What the subclass shows beyond the bound controls (a chart).
    virtual void SyncMore() {}

    WorkerForm* form_ = nullptr;

private:
    void Route(const std::function<void()>& event);
    void Sync();
    void SyncList(const Component& c, HWND control);

    std::vector<ControlBinding> bindings_;
    std::map<int, std::vector<std::string>> shownItems_;  // per list or combo control
    bool routing_ = false;
};

}  // namespace tw::gui
