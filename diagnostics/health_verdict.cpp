#include "diagnostics/health_verdict.h"

#include <algorithm>
#include <cstdint>

#include "diagnostics/disk_health.h"
#include "platform/drive_names.h"

namespace tw::diagnostics {

using platform::Decimal;

namespace {

struct Finding {
    HealthGrade grade;
    std::string text;
};

// The counts that mean the surface is going: any of them above zero is
// worth a look, whatever the attribute's own value says.
struct CountRule {
    int id;
    const char* one;
    const char* many;
};
constexpr CountRule kCountRules[] = {
    {5, "reallocated sector", "reallocated sectors"},
    {196, "reallocation event", "reallocation events"},
    {197, "pending sector", "pending sectors"},
    {198, "offline uncorrectable sector", "offline uncorrectable sectors"},
};

// The NVMe critical warning bits and what each means for the disk. Bit 0
// (spare) is judged with the spare values themselves.
struct WarningRule {
    std::uint8_t bit;
    HealthGrade grade;
};
constexpr WarningRule kWarningRules[] = {
    {kNvmeTemperature, HealthGrade::kCaution},  {kNvmeReliability, HealthGrade::kBad},
    {kNvmeReadOnly, HealthGrade::kBad},         {kNvmeBackupFailed, HealthGrade::kBad},
    {kNvmePersistentMemory, HealthGrade::kBad},
};
constexpr int kRatedLifePercent = 100;

std::string Counted(std::int64_t n, const char* one, const char* many) {
    return Decimal(n) + " " + (n == 1 ? one : many);
}

const TSmartAttribute* Find(const TSmartResult& table, int id) {
    const int count = std::clamp(table.AttrCount, 0, kAttributeSlots);
    for (int k = 0; k < count; ++k) {
        if (table.Attr[k].AttrId == id) return &table.Attr[k];
    }
    return nullptr;
}

// A count that rose between two readings of the same disk; one the earlier
// reading lacked has nothing to rise from.
void JudgeGrowth(const TSmartResult& earlier, const TSmartResult& now, std::vector<Finding>& findings) {
    for (const CountRule& rule : kCountRules) {
        const TSmartAttribute* before = Find(earlier, rule.id);
        const TSmartAttribute* after = Find(now, rule.id);
        if (before && after && after->AttrRaw > before->AttrRaw) {
            findings.push_back({HealthGrade::kBad, std::string(rule.many) + " grew from " + Decimal(before->AttrRaw) +
                                                       " to " + Decimal(after->AttrRaw)});
        }
    }
}

void JudgeAttributes(const TSmartResult& ata, std::vector<Finding>& findings) {
    const int count = std::clamp(ata.AttrCount, 0, kAttributeSlots);
    for (int k = 0; k < count; ++k) {
        const TSmartAttribute& a = ata.Attr[k];
        // A threshold of 0 never trips; only pre-failure attributes predict
        // a failure by their value.
        if (a.AttrPreFail && a.AttrThreshold != 0) {
            const std::string limit = " (threshold " + Decimal(a.AttrThreshold) + ")";
            if (a.AttrCurrent <= a.AttrThreshold) {
                findings.push_back({HealthGrade::kBad, a.AttrName + " at " + Decimal(a.AttrCurrent) + limit});
            } else if (a.AttrWorst <= a.AttrThreshold) {
                findings.push_back(
                    {HealthGrade::kCaution, a.AttrName + " was at " + Decimal(a.AttrWorst) + limit + " in the past"});
            }
        }
        for (const CountRule& rule : kCountRules) {
            if (a.AttrId == rule.id && a.AttrRaw > 0) {
                findings.push_back({HealthGrade::kCaution, Counted(a.AttrRaw, rule.one, rule.many)});
            }
        }
    }
}

void JudgeNvme(const NvmeHealthLog& log, std::vector<Finding>& findings) {
    if ((log.criticalWarning & kNvmeSpareLow) || SpareBelowThreshold(log)) {
        findings.push_back({HealthGrade::kBad, "spare " + Decimal(int{log.availableSpare}) + " % (threshold " +
                                                   Decimal(int{log.spareThreshold}) + " %)"});
    }
    const std::vector<std::string> words = CriticalWarnings(log.criticalWarning);
    std::size_t word = 0;
    for (unsigned bit = 0; bit < 8; ++bit) {
        const auto mask = static_cast<std::uint8_t>(1u << bit);
        if (!(log.criticalWarning & mask)) continue;
        const std::string& text = words[word++];
        if (mask == kNvmeSpareLow) continue;
        // A bit the program does not know yet is worth a look, no more.
        HealthGrade grade = HealthGrade::kCaution;
        for (const WarningRule& rule : kWarningRules) {
            if (rule.bit == mask) grade = rule.grade;
        }
        findings.push_back({grade, "critical warning: " + text});
    }
    if (log.percentageUsed >= kRatedLifePercent) {
        findings.push_back(
            {HealthGrade::kCaution, "percentage used " + Decimal(int{log.percentageUsed}) + " % (rated life reached)"});
    }
    if (log.mediaErrors != Counter128{}) {
        const bool one = log.mediaErrors == Counter128{1, 0};
        findings.push_back(
            {HealthGrade::kCaution, CounterDecimal(log.mediaErrors) + (one ? " media error" : " media errors")});
    }
}

}  // namespace

const char* GradeName(HealthGrade grade) {
    switch (grade) {
        case HealthGrade::kGood: return "Good";
        case HealthGrade::kCaution: return "Caution";
        case HealthGrade::kBad: return "Bad";
        default: return "Unknown";
    }
}

HealthJudgement JudgeHealth(const HealthEvidence& evidence) {
    const bool attributes = evidence.ata && evidence.ata->AttrCount > 0;
    // An all-zero log is a controller that filled nothing in.
    const bool log = evidence.nvme && *evidence.nvme != NvmeHealthLog{};
    if (!attributes && !log && evidence.ownStatus == DiskVerdict::kNotGiven) {
        if (evidence.ata) return {HealthGrade::kUnknown, {"the disk reported no attributes"}};
        if (evidence.nvme) return {HealthGrade::kUnknown, {"the disk's health log is empty"}};
        return {HealthGrade::kUnknown, {"no S.M.A.R.T. data was read"}};
    }
    std::vector<Finding> findings;
    if (evidence.ownStatus == DiskVerdict::kThresholdExceeded) {
        findings.push_back({HealthGrade::kBad, "the disk's own status: failing"});
    }
    if (attributes) JudgeAttributes(*evidence.ata, findings);
    if (attributes && evidence.earlierAta) JudgeGrowth(*evidence.earlierAta, *evidence.ata, findings);
    if (log) JudgeNvme(*evidence.nvme, findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.grade > b.grade; });
    HealthJudgement judgement{findings.empty() ? HealthGrade::kGood : findings.front().grade, {}};
    for (Finding& f : findings) judgement.reasons.push_back(std::move(f.text));
    return judgement;
}

HealthJudgement JudgeHealth(const DiskHealth& health, const TSmartResult* earlierAta) {
    if (!health.Answered()) return JudgeHealth(HealthEvidence{});
    return JudgeHealth(HealthEvidence{health.verdict, health.ata ? &*health.ata : nullptr,
                                      health.nvme ? &*health.nvme : nullptr, earlierAta});
}

}  // namespace tw::diagnostics
