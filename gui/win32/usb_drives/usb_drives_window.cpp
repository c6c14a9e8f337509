#include "gui/win32/usb_drives/usb_drives_window.h"

#include "app/tfrm_usb_drives.h"
#include "gui/win32/usb_drives/usb_drives_ids.h"

namespace tw::gui {

namespace {

const char* Name(UsbDrivesControl id) { return ComponentName(id).data(); }

}  // namespace

UsbDrivesWindow::UsbDrivesWindow()
    : ListReportWindow(
          IDD_USB_DRIVES,
          {IDC_USB_DISKS, Name(UsbDrivesControl::Disks), IDC_USB_STATUS, Name(UsbDrivesControl::Status),
           IDC_USB_REFRESH, Name(UsbDrivesControl::Refresh), IDC_USB_SHOW_ALL, Name(UsbDrivesControl::ShowAll)}) {}

}  // namespace tw::gui
