// What the program concludes about a disk from what the disk gave: its own
// S.M.A.R.T. status where a route asked for it, the attribute table with
// the raw counts that matter, or the NVMe health log. The attribute states
// stay in their column; the verdict looks at the values themselves, so a
// worn but harmless error rate does not alarm anyone and a disk that
// reallocates sectors does not look good.
#pragma once
#include <string>
#include <vector>

#include "diagnostics/ata_commands.h"
#include "diagnostics/nvme_health.h"
#include "diagnostics/smart_result.h"

namespace tw::diagnostics {

struct DiskHealth;

enum class HealthGrade { kUnknown, kGood, kCaution, kBad };

// "Unknown", "Good", "Caution", "Bad".
const char* GradeName(HealthGrade grade);

// What one disk gave; a null table or log was not read.
struct HealthEvidence {
    DiskVerdict ownStatus = DiskVerdict::kNotGiven;
    const TSmartResult* ata = nullptr;
    const NvmeHealthLog* nvme = nullptr;
    // The same disk's table read earlier in this run: a count of failing
    // sectors that has grown since means the surface is going now.
    const TSmartResult* earlierAta = nullptr;
};

struct HealthJudgement {
    HealthGrade grade = HealthGrade::kUnknown;
    // In words, the worst first ("3 pending sectors"); empty for a good disk.
    std::vector<std::string> reasons;
};

HealthJudgement JudgeHealth(const HealthEvidence& evidence);
// The same over whatever route answered, against the disk's earlier table.
HealthJudgement JudgeHealth(const DiskHealth& health, const TSmartResult* earlierAta = nullptr);

}  // namespace tw::diagnostics
