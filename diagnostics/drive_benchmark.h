// A read and write benchmark of a drive: a temporary file written and read
// in 1 MiB blocks, then read and written in 4 KiB blocks at random places
// for a fixed time, all unbuffered and written through. The file is deleted
// however the run ends.
#pragma once
#include <string>
#include <vector>

#include "diagnostics/task_report.h"
#include "platform/kernel.h"

namespace tw::diagnostics {

inline constexpr platform::ULONGLONG kMiB = 1024 * 1024;
inline constexpr platform::ULONGLONG kBenchSizes[] = {64 * kMiB, 256 * kMiB, 1024 * kMiB};
inline constexpr const char* kBenchFileName = "tarnwell-benchmark.tmp";

struct BenchOptions {
    std::string folder;  // where the temporary file goes: "E:\" or a folder
    platform::ULONGLONG size = kBenchSizes[0];
    double randomSeconds = 3;  // for each of the random stages
};

enum class BenchOutcome { Completed, Stopped, Refused, Failed };

struct BenchResult {
    BenchOutcome outcome = BenchOutcome::Failed;
    std::string message;  // why it was refused or failed
    double sequentialWriteMBs = 0;
    double sequentialReadMBs = 0;
    double randomReadIops = 0;
    double randomWriteIops = 0;
    std::vector<ThroughputSample> samples;
};

// The temporary file's path in `folder`.
std::string BenchFilePath(const std::string& folder);

// Refuses a drive that is not ready, read-only or short of free space for
// `options.size`; otherwise runs the four stages, reporting progress,
// throughput samples and a log line per stage.
BenchResult RunBenchmark(platform::Kernel& kernel, const BenchOptions& options, TaskReport& report);

}  // namespace tw::diagnostics
