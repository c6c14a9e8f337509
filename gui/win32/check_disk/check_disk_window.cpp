#include "gui/win32/check_disk/check_disk_window.h"

#include "app/tfrm_check_disk.h"
#include "gui/win32/check_disk/check_disk_ids.h"

namespace tw::gui {

namespace {

std::vector<ControlBinding> Bindings() {
    using C = CheckDiskControl;
    auto bind = [](C id, int control) { return ControlBinding{KeyOf(id), control}; };
    return {bind(C::DriveChooser, IDC_CHECK_DISK_DRIVE), bind(C::FixErrors, IDC_CHECK_DISK_FIX),
            bind(C::Start, IDC_CHECK_DISK_START),        bind(C::Cancel, IDC_CHECK_DISK_CANCEL),
            bind(C::Progress, IDC_CHECK_DISK_PROGRESS),  bind(C::Log, IDC_CHECK_DISK_LOG)};
}

}  // namespace

CheckDiskWindow::CheckDiskWindow() : WorkWindow(IDD_CHECK_DISK, Bindings()) {}

}  // namespace tw::gui
