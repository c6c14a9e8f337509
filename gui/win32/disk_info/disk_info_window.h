// "Disk Information" as a real dialog over TfrmDiskInfo's logic.
#pragma once
#include "gui/win32/disk_report_window.h"

namespace tw::gui {

class DiskInfoWindow final : public DiskReportWindow {
public:
    DiskInfoWindow();
};

}  // namespace tw::gui
