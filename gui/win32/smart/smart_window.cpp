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

constexpr ControlAnchor kAnchors[] = {
    {IDC_SMART_HEALTH_LABEL, kAnchorMoveRight},
    {IDC_SMART_HEALTH, kAnchorMoveRight},
    {IDC_SMART_REASONS, kAnchorGrowWide},
    {IDC_SMART_RULE, kAnchorGrowWide},
    {IDC_SMART_STATUS, kAnchorGrowWide},
    {IDC_SMART_ATTRIBUTES, kAnchorGrowWide | kAnchorGrowTall},
    {IDC_SMART_REFRESH, kAnchorMoveDown},
    {IDC_SMART_COPY, kAnchorMoveDown},
    {IDC_SMART_SAVE_AS, kAnchorMoveDown},
    {IDCANCEL, kAnchorMoveRight | kAnchorMoveDown},
    {IDC_SMART_RIGHTS, kAnchorMoveDown | kAnchorGrowWide},
    {IDC_SMART_RESTART, kAnchorMoveRight | kAnchorMoveDown},
};

}  // namespace

SmartWindow::SmartWindow()
    : DiskReportWindow(ReportLayout{.templateId = IDD_SMART,
                                    .title = IDC_SMART_TITLE,
                                    .chooser = IDC_SMART_DRIVE,
                                    .chooserComponent = KeyOf(SmartControl::DriveChooser),
                                    .fields = kFields,
                                    .status = IDC_SMART_STATUS,
                                    .statusComponent = KeyOf(SmartControl::Status),
                                    .badge = IDC_SMART_HEALTH,
                                    .badgeComponent = KeyOf(SmartControl::Health),
                                    .table = IDC_SMART_ATTRIBUTES,
                                    .tableComponent = KeyOf(SmartControl::Attributes),
                                    .refresh = IDC_SMART_REFRESH,
                                    .refreshComponent = KeyOf(SmartControl::Refresh),
                                    .copy = IDC_SMART_COPY,
                                    .copyComponent = KeyOf(SmartControl::Copy),
                                    .saveAs = IDC_SMART_SAVE_AS,
                                    .saveAsComponent = KeyOf(SmartControl::SaveAs),
                                    .anchors = kAnchors,
                                    .rights = {IDC_SMART_RIGHTS, IDC_SMART_RESTART, IDC_SMART_ATTRIBUTES}}) {}

}  // namespace tw::gui
