#include "gui/win32/usb_drives/usb_drives_window.h"

#include "app/tfrm_usb_drives.h"
#include "gui/win32/usb_drives/usb_drives_ids.h"

namespace tw::gui {

namespace {}  // namespace

UsbDrivesWindow::UsbDrivesWindow()
    : ListReportWindow(
          IDD_USB_DRIVES,
          {IDC_USB_DISKS, KeyOf(UsbDrivesControl::Disks), IDC_USB_STATUS, KeyOf(UsbDrivesControl::Status),
           IDC_USB_REFRESH, KeyOf(UsbDrivesControl::Refresh), IDC_USB_SHOW_ALL, KeyOf(UsbDrivesControl::ShowAll)}) {}

}  // namespace tw::gui
