#include "app/tfrm_check_disk.h"

#include "platform/app_error.h"

namespace tw {

using namespace tw::platform;
using C = CheckDiskControl;

TfrmCheckDisk::TfrmCheckDisk(Platform& platform, Dialogs& dialogs)
    : WorkerForm(FormId::CheckDisk, dialogs), platform_(platform) {
    Declare(C::DriveLabel, ComponentKind::Label, "Select Drive");
    Declare(C::DriveChooser, ComponentKind::ComboBox, "");
    Declare(C::FixErrors, ComponentKind::CheckBox, "Fix errors");
    Declare(C::Start, ComponentKind::Button, "Start").onClick = [this] { Button1Click(); };
    Declare(C::Cancel, ComponentKind::Button, "Cancel").onClick = [this] { Button2Click(); };
    Get(C::Cancel).enabled = false;
    Declare(C::Progress, ComponentKind::ProgressBar, "");
    Declare(C::Log, ComponentKind::ListBox, "");
    Declare(RightsControl::Line, RightsLine("Administrator rights are needed to check a disk"));
    Declare(RightsControl::Restart, RestartButton());
}

void TfrmCheckDisk::FormShow() {
    if (WorkRunning()) return;  // showing it again leaves a running check alone
    FillChooserOfTypes(platform_.kernel(), Get(C::DriveChooser), {DRIVE_REMOVABLE, DRIVE_FIXED});
    available_ = diagnostics::CheckDiskAvailable(platform_);
    Get(C::Progress).position = 0;
    Get(C::Log).items.clear();
    if (!available_) Get(C::Log).items.push_back(diagnostics::kCheckDiskUnavailable);
    Get(C::Start).enabled = available_;
    Get(C::FixErrors).enabled = available_;
}

void TfrmCheckDisk::SetRunning(bool running) {
    Get(C::Start).enabled = !running && available_;
    Get(C::FixErrors).enabled = !running && available_;
    Get(C::DriveChooser).enabled = !running;
    Get(C::Cancel).enabled = running;
}

void TfrmCheckDisk::Button1Click() {
    if (!available_ || WorkRunning()) return;
    const std::string& text = Get(C::DriveChooser).text;
    if (text.empty()) throw AppError("Choose a drive to check.");
    const char letter = text[0];
    const bool fix = Get(C::FixErrors).checked;
    Get(C::Log).items.clear();
    Get(C::Progress).position = 0;
    outcome_.reset();
    pending_ = std::make_shared<diagnostics::CheckOutcome>(diagnostics::CheckOutcome::Problems);
    SetRunning(true);
    Platform& platform = platform_;
    auto result = pending_;
    StartWork([&platform, letter, fix, result](WorkContext& context) {
        ContextReport report(context);
        *result = diagnostics::CheckDisk(platform, letter, fix, report);
    });
}

void TfrmCheckDisk::Button2Click() { CancelWork(); }

void TfrmCheckDisk::OnWorkEvent(const WorkEvent& event) {
    switch (event.kind) {
        case WorkEvent::Kind::Percent: Get(C::Progress).position = event.percent; break;
        case WorkEvent::Kind::Line: Get(C::Log).items.push_back(event.text); break;
        case WorkEvent::Kind::Sample: break;
        case WorkEvent::Kind::Done:
            outcome_ = *pending_;
            if (outcome_ == diagnostics::CheckOutcome::Sound) Get(C::Progress).position = 100;
            SetRunning(false);
            break;
    }
}

void TfrmCheckDisk::OnWorkAbandoned() {
    outcome_ = diagnostics::CheckOutcome::Stopped;
    Get(C::Log).items.push_back("The check was stopped.");
    SetRunning(false);
}

}  // namespace tw
