// tarnwell-cli bench: sequential and random reads and writes of a temporary
// file, timed as the Drive Benchmark window times them.
#include "app/tfrm_bench_mark.h"
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "cli/printing_report.h"
#include "diagnostics/drive_benchmark.h"
#include "platform/drive_names.h"
#include "reports/json_report.h"

namespace tw::cli {

using namespace tw::reports;

namespace {

// The results as numbers: MB/s of the sequential stages, operations a
// second and MB/s of the random ones (4 KiB each), with the log before them.
JsonReport BenchReport(const diagnostics::BenchResult& r, const std::string& folder, platform::ULONGLONG size,
                       const std::vector<std::string>& log) {
    const auto random = [](double iops) { return JsonReport{{"IOPS", iops}, {"MB/s", iops * 4096 / 1e6}}; };
    return {{"Folder", folder},
            {"Size", size},
            {"Log", log},
            {"Sequential write", {{"MB/s", r.sequentialWriteMBs}}},
            {"Sequential read", {{"MB/s", r.sequentialReadMBs}}},
            {"Random 4 KiB read", random(r.randomReadIops)},
            {"Random 4 KiB write", random(r.randomWriteIops)}};
}

// The log gathered for the report, not printed as it comes.
class CollectingReport final : public diagnostics::TaskReport {
public:
    void Percent(int) override {}
    void Line(const std::string& text) override { lines.push_back(text); }
    bool StopRequested() override { return false; }
    std::vector<std::string> lines;
};

}  // namespace

int BenchCommand(const CommandCall& call) {
    if (!ExpectOperands(call, 1)) return kExitUsage;
    const std::string& word = call.operands[0];
    const std::optional<char> drive = platform::ParseDriveLetter(word);
    const bool isFolder = word.size() > 3 && word[1] == ':' && word[2] == '\\';
    if (!drive && !isFolder) return BadWord(call.err, word, "a drive letter");
    const std::string folder = drive ? platform::RootPath(*drive) : word;
    const auto size = call.options.find("--size");
    const platform::ULONGLONG bytes =
        size == call.options.end() ? diagnostics::kBenchSizes[0] : *BenchSizeArgument(size->second);

    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    const bool json = call.format == "json";
    PrintingReport printing(call.out);
    CollectingReport collecting;
    diagnostics::TaskReport& report = json ? static_cast<diagnostics::TaskReport&>(collecting) : printing;
    const diagnostics::BenchResult result = diagnostics::RunBenchmark(platform->kernel(), {folder, bytes}, report);
    if (result.outcome != diagnostics::BenchOutcome::Completed) {
        call.err << "tarnwell-cli: " << result.message << '\n';
        return kExitFailed;
    }
    if (json) {
        PrintJson(BenchReport(result, folder, bytes, collecting.lines), call.out);
        return kExitSuccess;
    }
    for (const std::string& line :
         BenchResultLines(result, folder, bytes, inventory::ReadSeparators(platform->locale()))) {
        call.out << line << '\n';
    }
    return kExitSuccess;
}

}  // namespace tw::cli
