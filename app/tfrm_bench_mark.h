// "Drive Benchmark": sequential and random throughput of the chosen drive,
// measured on a temporary file that is deleted however the run ends, with a
// chart of the throughput over the run and the results to copy as text.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/component_table.h"
#include "app/worker_form.h"
#include "diagnostics/drive_benchmark.h"
#include "inventory/number_format.h"
#include "platform/platform.h"

namespace tw {

enum class BenchControl {
    DriveLabel,
    DriveChooser,  // fixed, removable and RAM drives
    SizeLabel,
    SizeChooser,  // "64 MB", "256 MB", "1 GB"
    Start,
    Cancel,
    CopyResults,
    Progress,
    Log,  // the stages as they end, then the results
};

inline constexpr ComponentEntry<BenchControl> kBenchControls[] = {
    {BenchControl::DriveLabel, "Label1"},   {BenchControl::DriveChooser, "cbDrive"},
    {BenchControl::SizeLabel, "Label2"},    {BenchControl::SizeChooser, "cbSize"},
    {BenchControl::Start, "Button1"},       {BenchControl::Cancel, "Button2"},
    {BenchControl::CopyResults, "Button3"}, {BenchControl::Progress, "ProgressBar1"},
    {BenchControl::Log, "Memo1"},
};
static_assert(ListsEveryIdInOrder(kBenchControls));
constexpr std::string_view ComponentName(BenchControl id) { return kBenchControls[static_cast<int>(id)].name; }

// The results as lines of text: the speeds in MB/s, the random stages in
// operations per second as well.
std::vector<std::string> BenchResultLines(const diagnostics::BenchResult& result, const std::string& folder,
                                          platform::ULONGLONG size, const inventory::NumberSeparators& sep);

class TfrmBenchMark : public WorkerForm {
public:
    TfrmBenchMark(platform::Platform& platform, Dialogs& dialogs);

    void FormShow() override;
    void Button1Click();  // Start
    void Button2Click();  // Cancel
    void Button3Click();  // Copy Results

    // The throughput samples of the running or last run, for the chart.
    const std::vector<diagnostics::ThroughputSample>& Samples() const { return samples_; }
    std::optional<diagnostics::BenchResult> LastResult() const { return result_; }
    // The seconds each random stage runs (shorter in tests of the window).
    void SetRandomSeconds(double seconds) { randomSeconds_ = seconds; }

private:
    void OnWorkEvent(const WorkEvent& event) override;
    void OnWorkAbandoned() override;
    void SetRunning(bool running);

    platform::Platform& platform_;
    std::vector<diagnostics::ThroughputSample> samples_;
    std::optional<diagnostics::BenchResult> result_;
    std::shared_ptr<diagnostics::BenchResult> pending_;
    std::vector<std::string> resultLines_;
    std::string folder_;
    platform::ULONGLONG size_ = 0;
    double randomSeconds_ = 3;
};

}  // namespace tw
