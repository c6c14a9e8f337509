// "Check Disk" as a real dialog over TfrmCheckDisk's logic, beside the main
// window; the check runs on a thread of its own while the window stays live.
#pragma once
#include "gui/win32/work_window.h"

namespace tw::gui {

class CheckDiskWindow final : public WorkWindow {
public:
    CheckDiskWindow();

protected:
    void OnInitDialog() override;
    void SyncMore() override;
};

}  // namespace tw::gui
