#include "gui/win32/smart/smart_window.h"

#include "app/tfrm_smart.h"
#include "gui/win32/smart/smart_ids.h"

namespace tw::gui {

namespace {

constexpr ReportField kFields[] = {
    {KeyOf(SmartControl::Disk), IDC_SMART_DISK},
    {KeyOf(SmartControl::Model), IDC_SMART_MODEL},
    {KeyOf(SmartControl::Serial), IDC_SMART_SERIAL},
    {KeyOf(SmartControl::Firmware), IDC_SMART_FIRMWARE},
    {KeyOf(SmartControl::Size), IDC_SMART_SIZE},
    {KeyOf(SmartControl::Temperature), IDC_SMART_TEMPERATURE},
    {KeyOf(SmartControl::PowerOnHours), IDC_SMART_POWER_ON},
    {KeyOf(SmartControl::PowerCycles), IDC_SMART_CYCLES},
    {KeyOf(SmartControl::Reallocated), IDC_SMART_REALLOCATED},
    {KeyOf(SmartControl::Reasons), IDC_SMART_REASONS},
};

ReportLayout Layout() {
    ReportLayout layout{IDD_SMART,
                        IDC_SMART_TITLE,
                        IDC_SMART_DRIVE,
                        KeyOf(SmartControl::DriveChooser),
                        kFields,
                        IDC_SMART_STATUS,
                        KeyOf(SmartControl::Status),
                        IDC_SMART_HEALTH,
                        KeyOf(SmartControl::Health),
                        IDC_SMART_ATTRIBUTES,
                        KeyOf(SmartControl::Attributes)};
    layout.rights = {IDC_SMART_RIGHTS, IDC_SMART_RESTART};
    return layout;
}

}  // namespace

SmartWindow::SmartWindow() : DiskReportWindow(Layout()) {}

}  // namespace tw::gui
