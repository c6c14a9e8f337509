// "SMART Information": the health of the disk a fixed drive lives on. The
// chooser lists the fixed drives; for the chosen one the window finds its
// physical disk, reads the disk's identity and S.M.A.R.T. attributes, and
// shows a verdict and the rated attribute table. A read that fails shows its
// text instead, and nothing of a previous disk stays on screen.
#pragma once
#include <string>
#include <string_view>

#include "app/component_table.h"
#include "app/disk_window.h"
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
    Health,      // the verdict "Good", "Caution" or "Bad" in its colour
    Attributes,  // one row per attribute, coloured by its state
    Status,      // what went wrong, empty after a good read
    Refresh,     // the window's pop-up "Refresh", run when it is shown
};

inline constexpr ComponentEntry<SmartControl> kSmartControls[] = {
    {SmartControl::Title, "Label1"},         {SmartControl::DriveLabel, "Label2"},
    {SmartControl::DriveChooser, "cbDrive"}, {SmartControl::Disk, "Edit1"},
    {SmartControl::Model, "Edit2"},          {SmartControl::Serial, "Edit3"},
    {SmartControl::Firmware, "Edit4"},       {SmartControl::Size, "Edit5"},
    {SmartControl::Temperature, "Edit6"},    {SmartControl::PowerOnHours, "Edit7"},
    {SmartControl::PowerCycles, "Edit8"},    {SmartControl::Reallocated, "Edit9"},
    {SmartControl::Health, "lblHealth"},     {SmartControl::Attributes, "lvAttributes"},
    {SmartControl::Status, "lblStatus"},     {SmartControl::Refresh, "Refresh1"},
};
static_assert(ListsEveryIdInOrder(kSmartControls));
constexpr std::string_view ComponentName(SmartControl id) { return kSmartControls[static_cast<int>(id)].name; }

// The verdict on a disk from its attribute counts: any failing attribute
// makes it "Bad", else any warning "Caution", else "Good".
struct HealthVerdict {
    std::string text;
    Tone tone = Tone::Plain;
};
HealthVerdict Verdict(int failingCount, int warningCount);
// The colour of an attribute row by its state: red for one failing now or
// failed in the past, amber for a warning.
Tone StateTone(std::string_view state);

class TfrmSmart : public FixedDriveForm {
public:
    TfrmSmart(platform::Platform& platform, Dialogs& dialogs);

    void ShowDrive(char letter) override;

private:
    void ShowNothing(const std::string& text) override;
    void Clear();
    void Fail(const std::string& text);
    void Report(const diagnostics::TSmartResult& result);
};

}  // namespace tw
