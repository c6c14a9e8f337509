// "Check Disk": checks the chosen drive's volume through the system's
// file-system utility library, fixing errors when asked, with the library's
// progress in a bar and its text in the log.
#pragma once
#include <optional>

#include "app/component_table.h"
#include "app/rights_line.h"
#include "app/worker_form.h"
#include "diagnostics/check_disk.h"
#include "platform/platform.h"

namespace tw {

enum class CheckDiskControl {
    DriveLabel,
    DriveChooser,  // the fixed and removable drives, "C: [label]"
    FixErrors,
    Start,
    Cancel,
    Progress,
    Log,  // the library's text, line by line
};

inline constexpr ComponentEntry<CheckDiskControl> kCheckDiskControls[] = {
    {CheckDiskControl::DriveLabel, "Label1"},   {CheckDiskControl::DriveChooser, "cbDrive"},
    {CheckDiskControl::FixErrors, "CheckBox1"}, {CheckDiskControl::Start, "Button1"},
    {CheckDiskControl::Cancel, "Button2"},      {CheckDiskControl::Progress, "ProgressBar1"},
    {CheckDiskControl::Log, "Memo1"},
};
static_assert(ListsEveryIdInOrder(kCheckDiskControls));
constexpr std::string_view ComponentName(CheckDiskControl id) { return kCheckDiskControls[static_cast<int>(id)].name; }

class TfrmCheckDisk : public WorkerForm {
public:
    TfrmCheckDisk(platform::Platform& platform, Dialogs& dialogs);

    // Lists the drives and finds out whether the system can check them.
    void FormShow() override;
    void Button1Click();  // Start
    void Button2Click();  // Cancel

    // False when the library or its check entry is missing.
    bool Available() const { return available_; }
    // How the last check ended; none before the first.
    std::optional<diagnostics::CheckOutcome> LastOutcome() const { return outcome_; }

private:
    void OnWorkEvent(const WorkEvent& event) override;
    void OnWorkAbandoned() override;
    void SetRunning(bool running);

    platform::Platform& platform_;
    bool available_ = true;
    std::optional<diagnostics::CheckOutcome> outcome_;
    std::shared_ptr<diagnostics::CheckOutcome> pending_;  // written by the work, read at Done
};

}  // namespace tw
