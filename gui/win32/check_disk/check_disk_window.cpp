#include "gui/win32/check_disk/check_disk_window.h"

#include "app/tfrm_check_disk.h"
#include "gui/win32/check_disk/check_disk_ids.h"
#include "gui/win32/rights_line.h"

namespace tw::gui {

namespace {

std::vector<ControlBinding> Bindings() {
    using C = CheckDiskControl;
    auto bind = [](C id, int control) { return ControlBinding{KeyOf(id), control}; };
    return {bind(C::DriveChooser, IDC_CHECK_DISK_DRIVE),
            bind(C::FixErrors, IDC_CHECK_DISK_FIX),
            bind(C::Start, IDC_CHECK_DISK_START),
            bind(C::Cancel, IDC_CHECK_DISK_CANCEL),
            bind(C::Progress, IDC_CHECK_DISK_PROGRESS),
            bind(C::Log, IDC_CHECK_DISK_LOG),
            ControlBinding{KeyOf(RightsControl::Restart), IDC_CHECK_DISK_RESTART}};
}

constexpr RightsLineControls kRights{IDC_CHECK_DISK_RIGHTS, IDC_CHECK_DISK_RESTART, IDC_CHECK_DISK_LOG};

}  // namespace

CheckDiskWindow::CheckDiskWindow() : WorkWindow(IDD_CHECK_DISK, Bindings()) {}

void CheckDiskWindow::OnInitDialog() { InitRightsLine(hwnd(), kRights); }

void CheckDiskWindow::SyncMore() { SyncRightsLine(hwnd(), *form_, kRights); }

}  // namespace tw::gui
