// "SMART Information": the health of the disk a fixed drive lives on. The
// chooser lists the fixed drives; for the chosen one the window finds its
// physical disk, reads it by whichever route the disk answers, and shows a
// verdict with its reasons and the rated attribute table, or for an NVMe
// disk the values of its health log. A read that
// fails shows its text instead, and nothing of a previous disk stays on
// screen; a disk that identified keeps its identity when its attributes fail.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "app/component_table.h"
#include "app/disk_window.h"
#include "app/rights_line.h"
#include "diagnostics/disk_health.h"
#include "diagnostics/health_verdict.h"
#include "diagnostics/smart_result.h"
#include "platform/platform.h"

namespace tw {

enum class SmartControl {
    Title,
    DriveLabel,
    DriveChooser,  // the fixed drives, "C: [label]"
    Disk,          // "\\.\PhysicalDrive0"
    Model,
    Serial,
    Firmware,
    Size,
    Temperature,
    PowerOnHours,
    PowerCycles,
    Reallocated,
    Health,      // the verdict "Good", "Caution", "Bad" or "Unknown" in its colour
    Reasons,     // why, the worst first: "3 pending sectors; 2 offline uncorrectable sectors"
    Attributes,  // one row per attribute, coloured by its state; NVMe: name, value, unit
    Status,      // what went wrong, empty after a good read
    Refresh,     // "Refresh" (F5), also run when the window is shown
    Copy,        // "Copy" (Ctrl+C): the whole report as text
    SaveAs,      // "Save As...": the report as text or as tarnwell-cli health's JSON
};

inline constexpr ComponentEntry<SmartControl> kSmartControls[] = {
    {SmartControl::Title, "Label1"},
    {SmartControl::DriveLabel, "Label2"},
    {SmartControl::DriveChooser, "cbDrive"},
    {SmartControl::Disk, "Edit1"},
    {SmartControl::Model, "Edit2"},
    {SmartControl::Serial, "Edit3"},
    {SmartControl::Firmware, "Edit4"},
    {SmartControl::Size, "Edit5"},
    {SmartControl::Temperature, "Edit6"},
    {SmartControl::PowerOnHours, "Edit7"},
    {SmartControl::PowerCycles, "Edit8"},
    {SmartControl::Reallocated, "Edit9"},
    {SmartControl::Health, "lblHealth"},
    {SmartControl::Reasons, "lblReasons"},
    {SmartControl::Attributes, "lvAttributes"},
    {SmartControl::Status, "lblStatus"},
    {SmartControl::Refresh, "Refresh1"},
    {SmartControl::Copy, "Copy1"},
    {SmartControl::SaveAs, "SaveAs1"},
};
static_assert(ListsEveryIdInOrder(kSmartControls));
constexpr std::string_view ComponentName(SmartControl id) { return kSmartControls[static_cast<int>(id)].name; }

// The colour of an attribute row by its state: red for one failing now or
// failed in the past, amber for a warning.
Tone StateTone(std::string_view state);

class TfrmSmart : public FixedDriveForm {
public:
    TfrmSmart(platform::Platform& platform, Dialogs& dialogs);

    void ShowDrive(char letter) override;
    void ShowDisk(std::uint32_t number) override;

private:
    void ShowNothing(const std::string& text) override;
    std::optional<std::string> ReportJson() const override;
    void Clear();
    void Fail(const std::string& text);
    void ShowReadable(const ReadableDisk& disk);
    void ShowIdentity(const std::string& model, const std::string& serial, const std::string& firmware,
                      std::uint64_t bytes);
    void ShowVerdict(const diagnostics::HealthJudgement& judgement);
    void ShowAttributes(const diagnostics::TSmartResult& result);
    void ShowNvmeLog(const diagnostics::NvmeHealthLog& log);
    // The table this disk gave when first read in this run, none the first
    // time: a count that grows later stays against where it started.
    const diagnostics::TSmartResult* FirstReading(const diagnostics::DiskHealth& health);

    std::optional<diagnostics::DiskHealth> health_;                   // the disk shown, as read
    std::map<std::string, diagnostics::TSmartResult> firstReadings_;  // by model and serial number
};

}  // namespace tw
