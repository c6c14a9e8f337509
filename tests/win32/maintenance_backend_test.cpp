// The check and benchmark tools against the real system: the benchmark on a
// temporary folder of C: at its smallest size, and the check through the
// system's library or its absence (Wine has none).
#include "diagnostics/check_disk.h"
#include "diagnostics/drive_benchmark.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <iostream>

namespace tw::win32_test {
namespace {

struct Log final : tw::diagnostics::TaskReport {
    void Percent(int p) override { last = p; }
    void Line(const std::string& text) override { lines.push_back(text); }
    bool StopRequested() override { return false; }
    int last = -1;
    std::vector<std::string> lines;
};

TEST(MaintenanceBackend, TheBenchmarkCompletesInATemporaryFolderAndLeavesNoFile) {
    char temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    const std::string folder = std::string(temp) + "tarnwell-bench-test";
    CreateDirectoryA(folder.c_str(), nullptr);
    tw::platform::win32::Win32Platform platform;
    Log log;
    const auto result =
        tw::diagnostics::RunBenchmark(platform.kernel(), {folder, tw::diagnostics::kBenchSizes[0], 1}, log);
    EXPECT_EQ(result.outcome, tw::diagnostics::BenchOutcome::Completed) << result.message;
    EXPECT_EQ(log.last, 100);
    EXPECT_FALSE(result.samples.empty());
    EXPECT_EQ(GetFileAttributesA(tw::diagnostics::BenchFilePath(folder).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));  // empty: nothing was left in it
    std::cout << "benchmark of " << folder << ": write " << result.sequentialWriteMBs << " MB/s, read "
              << result.sequentialReadMBs << " MB/s, random read " << result.randomReadIops << " IOPS, random write "
              << result.randomWriteIops << " IOPS\n";
}

TEST(MaintenanceBackend, CheckDiskRunsOrSaysItIsNotAvailable) {
    tw::platform::win32::Win32Platform platform;
    const bool available = tw::diagnostics::CheckDiskAvailable(platform);
    Log log;
    const auto outcome = tw::diagnostics::CheckDisk(platform, 'C', false, log);
    ASSERT_FALSE(log.lines.empty());
    if (!available) {
        EXPECT_EQ(outcome, tw::diagnostics::CheckOutcome::Unavailable);
        EXPECT_EQ(log.lines, std::vector<std::string>{"Check Disk is not available on this system."});
    } else {
        EXPECT_NE(outcome, tw::diagnostics::CheckOutcome::Unavailable);
    }
    std::cout << "check disk of C: " << log.lines.back() << '\n';
}

}  // namespace
}  // namespace tw::win32_test
