#include "app/tfrm_bench_mark.h"

#include "actions/system_message.h"
#include "actions/text_output.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;
using B = BenchControl;

namespace {

constexpr const char* kSizeNames[] = {"64 MB", "256 MB", "1 GB"};
static_assert(std::size(kSizeNames) == std::size(diagnostics::kBenchSizes));

std::string Rate(double mbs, const inventory::NumberSeparators& sep) {
    return inventory::FormatFixed(static_cast<long double>(mbs), 1, 0, sep) + " MB/s";
}

std::string Iops(double iops, const inventory::NumberSeparators& sep) {
    return inventory::FormatGrouped(static_cast<std::uint64_t>(iops + 0.5), sep) + " IOPS (" +
           Rate(iops * 4096 / 1e6, sep) + ")";
}

}  // namespace

std::vector<std::string> BenchResultLines(const diagnostics::BenchResult& r, const std::string& folder, ULONGLONG size,
                                          const inventory::NumberSeparators& sep) {
    return {
        "Drive Benchmark of " + folder + ", " + Decimal(size / diagnostics::kMiB) + " MB test file",
        "Sequential write: " + Rate(r.sequentialWriteMBs, sep),
        "Sequential read: " + Rate(r.sequentialReadMBs, sep),
        "Random 4 KiB read: " + Iops(r.randomReadIops, sep),
        "Random 4 KiB write: " + Iops(r.randomWriteIops, sep),
    };
}

TfrmBenchMark::TfrmBenchMark(Platform& platform, Dialogs& dialogs)
    : WorkerForm(FormId::BenchMark, dialogs), platform_(platform) {
    Declare(B::DriveLabel, ComponentKind::Label, "Select Drive");
    Declare(B::DriveChooser, ComponentKind::ComboBox, "");
    Declare(B::SizeLabel, ComponentKind::Label, "Test size");
    Component& sizes = Declare(B::SizeChooser, ComponentKind::ComboBox, "");
    sizes.items.assign(std::begin(kSizeNames), std::end(kSizeNames));
    sizes.itemIndex = 0;
    sizes.text = sizes.items[0];
    Declare(B::Start, ComponentKind::Button, "Start").onClick = [this] { Button1Click(); };
    Declare(B::Cancel, ComponentKind::Button, "Cancel").onClick = [this] { Button2Click(); };
    Declare(B::CopyResults, ComponentKind::Button, "Copy Results").onClick = [this] { Button3Click(); };
    Get(B::Cancel).enabled = false;
    Get(B::CopyResults).enabled = false;
    Declare(B::Progress, ComponentKind::ProgressBar, "");
    Declare(B::Log, ComponentKind::ListBox, "");
}

void TfrmBenchMark::FormShow() {
    if (WorkRunning()) return;
    FillChooserOfTypes(platform_.kernel(), Get(B::DriveChooser), {DRIVE_REMOVABLE, DRIVE_FIXED, DRIVE_RAMDISK});
}

void TfrmBenchMark::SetRunning(bool running) {
    Get(B::Start).enabled = !running;
    Get(B::DriveChooser).enabled = !running;
    Get(B::SizeChooser).enabled = !running;
    Get(B::Cancel).enabled = running;
    Get(B::CopyResults).enabled = !running && !resultLines_.empty();
}

void TfrmBenchMark::Button1Click() {
    if (WorkRunning()) return;
    const std::string& drive = Get(B::DriveChooser).text;
    if (drive.empty()) throw AppError("Choose a drive to test.");
    const int sizeIndex = Get(B::SizeChooser).itemIndex;
    if (sizeIndex < 0 || sizeIndex >= static_cast<int>(std::size(diagnostics::kBenchSizes))) {
        throw AppError("Choose a test size.");
    }
    folder_ = RootPath(drive[0]);
    size_ = diagnostics::kBenchSizes[sizeIndex];
    samples_.clear();
    resultLines_.clear();
    result_.reset();
    Get(B::Log).items.clear();
    Get(B::Progress).position = 0;
    pending_ = std::make_shared<diagnostics::BenchResult>();
    SetRunning(true);
    Kernel& kernel = platform_.kernel();
    const diagnostics::BenchOptions options{folder_, size_, randomSeconds_};
    auto result = pending_;
    StartWork([&kernel, options, result](WorkContext& context) {
        ContextReport report(context);
        *result = diagnostics::RunBenchmark(kernel, options, report);
    });
}

void TfrmBenchMark::Button2Click() { CancelWork(); }

void TfrmBenchMark::Button3Click() {
    if (resultLines_.empty()) return;
    std::string text;
    for (const std::string& line : resultLines_) text += line + "\r\n";
    if (const platform::DWORD error = actions::CopyTextToClipboard(platform_.desktop(), dialogs_.OwnerWindow(), text)) {
        throw AppError("Cannot copy to the clipboard: " + actions::SystemMessage(platform_.kernel(), error));
    }
}

void TfrmBenchMark::OnWorkEvent(const WorkEvent& event) {
    switch (event.kind) {
        case WorkEvent::Kind::Percent: Get(B::Progress).position = event.percent; break;
        case WorkEvent::Kind::Line: Get(B::Log).items.push_back(event.text); break;
        case WorkEvent::Kind::Sample: samples_.push_back(event.sample); break;
        case WorkEvent::Kind::Done: {
            result_ = *pending_;
            const diagnostics::BenchResult& r = *result_;
            if (r.outcome == diagnostics::BenchOutcome::Completed) {
                resultLines_ = BenchResultLines(r, folder_, size_, inventory::ReadSeparators(platform_.locale()));
                Get(B::Log).items.push_back("");
                for (const std::string& line : resultLines_) Get(B::Log).items.push_back(line);
            } else if (!r.message.empty()) {
                Get(B::Log).items.push_back(r.message);
            }
            SetRunning(false);
            if (r.outcome == diagnostics::BenchOutcome::Refused) {
                dialogs_.MessageBox(r.message, BoxKind::Warning, Buttons::OK);
            } else if (r.outcome == diagnostics::BenchOutcome::Failed) {
                dialogs_.MessageBox(r.message, BoxKind::Error, Buttons::OK);
            }
            break;
        }
    }
}

void TfrmBenchMark::OnWorkAbandoned() {
    diagnostics::BenchResult stopped;
    stopped.outcome = diagnostics::BenchOutcome::Stopped;
    stopped.message = "The benchmark was stopped.";
    result_ = stopped;
    Get(B::Log).items.push_back(stopped.message);
    SetRunning(false);
}

}  // namespace tw
