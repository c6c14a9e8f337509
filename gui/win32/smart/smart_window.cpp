#include "gui/win32/smart/smart_window.h"

#include "app/tfrm_smart.h"
#include "gui/win32/smart/smart_ids.h"

namespace tw::gui {

namespace {

constexpr const char* Name(SmartControl id) { return ComponentName(id).data(); }

constexpr ReportField kFields[] = {
    {Name(SmartControl::Disk), IDC_SMART_DISK},
    {Name(SmartControl::Model), IDC_SMART_MODEL},
    {Name(SmartControl::Serial), IDC_SMART_SERIAL},
    {Name(SmartControl::Firmware), IDC_SMART_FIRMWARE},
    {Name(SmartControl::Size), IDC_SMART_SIZE},
    {Name(SmartControl::Temperature), IDC_SMART_TEMPERATURE},
    {Name(SmartControl::PowerOnHours), IDC_SMART_POWER_ON},
    {Name(SmartControl::PowerCycles), IDC_SMART_CYCLES},
    {Name(SmartControl::Reallocated), IDC_SMART_REALLOCATED},
};

}  // namespace

SmartWindow::SmartWindow()
    : DiskReportWindow(ReportLayout{IDD_SMART, IDC_SMART_TITLE, IDC_SMART_DRIVE, Name(SmartControl::DriveChooser),
                                    kFields, IDC_SMART_STATUS, Name(SmartControl::Status), IDC_SMART_HEALTH,
                                    Name(SmartControl::Health), IDC_SMART_ATTRIBUTES, Name(SmartControl::Attributes)}) {
}

}  // namespace tw::gui
