// "SMART Information" as a real dialog over TfrmSmart's logic: the verdict in
// a coloured badge and the attribute table with its failing rows in red and
// its warnings in amber.
#pragma once
#include "gui/win32/disk_report_window.h"

namespace tw::gui {

class SmartWindow final : public DiskReportWindow {
public:
    SmartWindow();
};

}  // namespace tw::gui
