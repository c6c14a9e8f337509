// The health verdict over what disks give: each rule that makes a disk
// Caution or Bad, the healthy disks that must not look worse than they are,
// and the disks that gave nothing to judge. Attribute tables come from
// sectors laid out by the simulated disk's builders and read by the scan.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/health_verdict.h"
#include "diagnostics/smart_scan.h"
#include "platform/sim/physical_disk.h"

namespace {

using namespace tw::diagnostics;
using tw::sim::AttributeFields;
using Attributes = std::vector<AttributeFields>;

constexpr std::uint16_t kPreFail = 0x0033;
constexpr std::uint16_t kOldAge = 0x0032;

NvmeHealthLog Log(std::uint8_t warning, std::uint8_t spare, std::uint8_t used, std::uint64_t mediaErrors) {
    NvmeHealthLog log;
    log.criticalWarning = warning;
    log.compositeKelvin = 310;
    log.availableSpare = spare;
    log.spareThreshold = 10;
    log.percentageUsed = used;
    log.powerOnHours = {1200, 0};
    log.mediaErrors = {mediaErrors, 0};
    return log;
}

struct Case {
    const char* what;
    DiskVerdict own;
    std::optional<Attributes> ata;
    std::optional<NvmeHealthLog> nvme;
    HealthGrade grade;
    std::vector<std::string> reasons;
    std::optional<Attributes> earlier = {};  // the same disk read before
};

TEST(HealthJudgement, EachRuleOverWhatTheDiskGave) {
    const DiskVerdict none = DiskVerdict::kNotGiven;
    const Attributes healthy = {{1, kPreFail, 100, 100, 0, 16},
                                {5, kPreFail, 100, 100, 0, 36},
                                {9, kOldAge, 95, 95, 21000, 0},
                                {197, kOldAge, 100, 100, 0, 0}};
    const Case cases[] = {
        {"nothing read", none, {}, {}, HealthGrade::kUnknown, {"no S.M.A.R.T. data was read"}},
        {"all-zero attribute sector",
         none,
         Attributes{},
         {},
         HealthGrade::kUnknown,
         {"the disk reported no attributes"}},
        {"healthy", none, healthy, {}, HealthGrade::kGood, {}},
        {"healthy, its own status passed", DiskVerdict::kPassed, healthy, {}, HealthGrade::kGood, {}},
        {"own status failing",
         DiskVerdict::kThresholdExceeded,
         healthy,
         {},
         HealthGrade::kBad,
         {"the disk's own status: failing"}},
        {"own status failing, no attributes",
         DiskVerdict::kThresholdExceeded,
         Attributes{},
         {},
         HealthGrade::kBad,
         {"the disk's own status: failing"}},
        {"one reallocated sector",
         none,
         Attributes{{5, kPreFail, 100, 100, 1, 36}},
         {},
         HealthGrade::kCaution,
         {"1 reallocated sector"}},
        {"reallocation events",
         none,
         Attributes{{196, kOldAge, 100, 100, 4, 0}},
         {},
         HealthGrade::kCaution,
         {"4 reallocation events"}},
        {"pending sectors",
         none,
         Attributes{{197, kOldAge, 100, 100, 3, 0}},
         {},
         HealthGrade::kCaution,
         {"3 pending sectors"}},
        {"offline uncorrectable",
         none,
         Attributes{{198, kOldAge, 100, 100, 2, 0}},
         {},
         HealthGrade::kCaution,
         {"2 offline uncorrectable sectors"}},
        {"pre-failure at its threshold",
         none,
         Attributes{{1, kPreFail, 16, 16, 0, 16}},
         {},
         HealthGrade::kBad,
         {"Raw Read Error Rate at 16 (threshold 16)"}},
        {"pre-failure below its threshold once",
         none,
         Attributes{{10, kPreFail, 100, 55, 0, 60}},
         {},
         HealthGrade::kCaution,
         {"Spin Retry Count was at 55 (threshold 60) in the past"}},
        {"old-age attribute under its threshold",
         none,
         Attributes{{200, kOldAge, 1, 1, 0, 51}},
         {},
         HealthGrade::kGood,
         {}},
        // The scan rates this "Warning"; the disk is fine.
        {"seek error rate 64/60/30", none, Attributes{{7, kPreFail, 64, 60, 0, 30}}, {}, HealthGrade::kGood, {}},
        // A spin-up time above 230 moves the scan to its wide scale.
        {"spin-up time above 230",
         none,
         Attributes{{3, kPreFail, 240, 240, 0, 21}, {5, kPreFail, 100, 100, 0, 36}},
         {},
         HealthGrade::kGood,
         {}},
        {"dying disk",
         none,
         Attributes{{5, kPreFail, 100, 100, 200, 36},
                    {194, 0x0022, 70, 70, 70, 0},
                    {197, kOldAge, 100, 100, 40, 0},
                    {198, kOldAge, 100, 100, 40, 0},
                    {199, 0x003E, 200, 200, 5000, 0}},
         {},
         HealthGrade::kCaution,
         {"200 reallocated sectors", "40 pending sectors", "40 offline uncorrectable sectors"}},
        {"failing status before the counts",
         DiskVerdict::kThresholdExceeded,
         Attributes{{197, kOldAge, 100, 100, 3, 0}},
         {},
         HealthGrade::kBad,
         {"the disk's own status: failing", "3 pending sectors"}},
        {"bad before caution",
         none,
         Attributes{{197, kOldAge, 100, 100, 1, 0}, {1, kPreFail, 10, 10, 0, 16}},
         {},
         HealthGrade::kBad,
         {"Raw Read Error Rate at 10 (threshold 16)", "1 pending sector"}},

        {"NVMe healthy", none, {}, Log(0, 100, 3, 0), HealthGrade::kGood, {}},
        {"NVMe all-zero log", none, {}, NvmeHealthLog{}, HealthGrade::kUnknown, {"the disk's health log is empty"}},
        {"NVMe spare below threshold", none, {}, Log(0, 8, 3, 0), HealthGrade::kBad, {"spare 8 % (threshold 10 %)"}},
        {"NVMe spare bit", none, {}, Log(kNvmeSpareLow, 10, 3, 0), HealthGrade::kBad, {"spare 10 % (threshold 10 %)"}},
        {"NVMe temperature bit",
         none,
         {},
         Log(kNvmeTemperature, 100, 3, 0),
         HealthGrade::kCaution,
         {"critical warning: temperature beyond a threshold"}},
        {"NVMe reliability bit",
         none,
         {},
         Log(kNvmeReliability, 100, 3, 0),
         HealthGrade::kBad,
         {"critical warning: reliability degraded by media or internal errors"}},
        {"NVMe read-only",
         none,
         {},
         Log(kNvmeReadOnly | kNvmeTemperature, 100, 3, 0),
         HealthGrade::kBad,
         {"critical warning: media placed in read-only mode", "critical warning: temperature beyond a threshold"}},
        {"NVMe backup failed",
         none,
         {},
         Log(kNvmeBackupFailed, 100, 3, 0),
         HealthGrade::kBad,
         {"critical warning: volatile memory backup failed"}},
        {"NVMe unknown bit", none, {}, Log(0x40, 100, 3, 0), HealthGrade::kCaution, {"critical warning: bit 6"}},
        {"NVMe rated life",
         none,
         {},
         Log(0, 100, 100, 0),
         HealthGrade::kCaution,
         {"percentage used 100 % (rated life reached)"}},
        {"NVMe just short of rated life", none, {}, Log(0, 100, 99, 0), HealthGrade::kGood, {}},
        {"NVMe one media error", none, {}, Log(0, 100, 3, 1), HealthGrade::kCaution, {"1 media error"}},
        {"NVMe media errors", none, {}, Log(0, 100, 3, 12), HealthGrade::kCaution, {"12 media errors"}},
        {"pending sectors grew since the earlier reading",
         none,
         Attributes{{197, kOldAge, 100, 100, 7, 0}},
         {},
         HealthGrade::kBad,
         {"pending sectors grew from 3 to 7", "7 pending sectors"},
         Attributes{{197, kOldAge, 100, 100, 3, 0}}},
        {"the first reallocated sectors since the earlier reading",
         none,
         Attributes{{5, kPreFail, 100, 100, 2, 36}, {196, kOldAge, 100, 100, 2, 0}},
         {},
         HealthGrade::kBad,
         {"reallocated sectors grew from 0 to 2", "reallocation events grew from 1 to 2", "2 reallocated sectors",
          "2 reallocation events"},
         Attributes{{5, kPreFail, 100, 100, 0, 36}, {196, kOldAge, 100, 100, 1, 0}}},
        {"uncorrectable sectors unchanged since the earlier reading",
         none,
         Attributes{{198, kOldAge, 100, 100, 4, 0}},
         {},
         HealthGrade::kCaution,
         {"4 offline uncorrectable sectors"},
         Attributes{{198, kOldAge, 100, 100, 4, 0}}},
        {"pending sectors resolved since the earlier reading",
         none,
         Attributes{{197, kOldAge, 100, 100, 0, 0}},
         {},
         HealthGrade::kGood,
         {},
         Attributes{{197, kOldAge, 100, 100, 5, 0}}},
        {"a growing error rate is no failing sector",
         none,
         Attributes{{199, 0x003E, 200, 200, 5100, 0}},
         {},
         HealthGrade::kGood,
         {},
         Attributes{{199, 0x003E, 200, 200, 5000, 0}}},
    };
    auto scanned = [](const std::optional<Attributes>& fields) {
        std::optional<TSmartResult> table;
        if (fields) {
            table.emplace();
            EXPECT_TRUE(ScanAttributes(tw::sim::AttributeSector(*fields), tw::sim::ThresholdSector(*fields), *table));
        }
        return table;
    };
    for (const Case& c : cases) {
        const std::optional<TSmartResult> table = scanned(c.ata);
        const std::optional<TSmartResult> earlier = scanned(c.earlier);
        const HealthJudgement j = JudgeHealth(HealthEvidence{
            c.own, table ? &*table : nullptr, c.nvme ? &*c.nvme : nullptr, earlier ? &*earlier : nullptr});
        EXPECT_STREQ(GradeName(j.grade), GradeName(c.grade)) << c.what;
        EXPECT_EQ(j.reasons, c.reasons) << c.what;
    }
}

}  // namespace
