// "USB Drives" as a real dialog over TfrmUSBDrives's logic.
#pragma once
#include "gui/win32/list_report_window.h"

namespace tw::gui {

class UsbDrivesWindow final : public ListReportWindow {
public:
    UsbDrivesWindow();
};

}  // namespace tw::gui
