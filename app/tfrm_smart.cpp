#include "app/tfrm_smart.h"

#include "app/disk_window.h"
#include "app/smart_summaries.h"
#include "diagnostics/smart_api.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;

namespace {

constexpr int kReallocatedId = 5;
constexpr int kPowerOnId = 9;
constexpr int kPowerCyclesId = 12;

const diagnostics::TSmartAttribute* FindAttribute(const diagnostics::TSmartResult& r, int id) {
    for (int k = 0; k < r.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
        if (r.Attr[k].AttrId == id) return &r.Attr[k];
    }
    return nullptr;
}

std::string HexByte(int value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

std::vector<std::string> Row(const diagnostics::TSmartAttribute& a) {
    return {HexByte(a.AttrId),        Decimal(a.AttrId),  a.AttrName,  Decimal(a.AttrCurrent), Decimal(a.AttrWorst),
            Decimal(a.AttrThreshold), Decimal(a.AttrRaw), a.AttrState, RawHex(a.AttrRaw)};
}

Tone GradeTone(diagnostics::HealthGrade grade) {
    switch (grade) {
        case diagnostics::HealthGrade::kGood: return Tone::Good;
        case diagnostics::HealthGrade::kCaution: return Tone::Caution;
        case diagnostics::HealthGrade::kBad: return Tone::Bad;
        default: return Tone::Unknown;
    }
}

std::string Joined(const std::vector<std::string>& reasons) {
    std::string text;
    for (const std::string& reason : reasons) text += (text.empty() ? "" : "; ") + reason;
    return text;
}

}  // namespace

Tone StateTone(std::string_view state) {
    if (state == "Failing Now" || state == "Failed In Past") return Tone::Bad;
    if (state == "Warning") return Tone::Caution;
    return Tone::Plain;
}

TfrmSmart::TfrmSmart(Platform& platform, Dialogs& dialogs) : FixedDriveForm(FormId::Smart, platform, dialogs) {
    using S = SmartControl;
    Declare(S::Title, ComponentKind::Label, "SMART Information");
    Declare(S::DriveLabel, ComponentKind::Label, "Select Drive");
    Declare(S::DriveChooser, ComponentKind::ComboBox, "").onChange = [this] { cbDriveChange(); };
    Declare(S::Disk, ComponentKind::Edit, "Physical Disk").readOnly = true;
    Declare(S::Model, ComponentKind::Edit, "Model").readOnly = true;
    Declare(S::Serial, ComponentKind::Edit, "Serial Number").readOnly = true;
    Declare(S::Firmware, ComponentKind::Edit, "Firmware").readOnly = true;
    Declare(S::Size, ComponentKind::Edit, "Size").readOnly = true;
    Declare(S::Temperature, ComponentKind::Edit, "Temperature").readOnly = true;
    Declare(S::PowerOnHours, ComponentKind::Edit, "Power On Hours").readOnly = true;
    Declare(S::PowerCycles, ComponentKind::Edit, "Power Cycles").readOnly = true;
    Declare(S::Reallocated, ComponentKind::Edit, "Reallocated Sectors").readOnly = true;
    Declare(S::Health, ComponentKind::Label, "Health");
    Declare(S::Reasons, ComponentKind::Label, "Reasons");
    Declare(S::Attributes, ComponentKind::ListView, "Attributes").columns = {
        "Hex", "ID", "Attribute", "Current", "Worst", "Threshold", "Raw", "State", "Raw Hex"};
    Declare(S::Status, ComponentKind::Label, "Status");
    Declare(S::Refresh, ComponentKind::MenuItem, "Refresh").onClick = [this] { Refresh1Click(); };
    Declare(RightsControl::Line, RightsLine("Administrator rights are needed to read this disk's health"));
    Declare(RightsControl::Restart, RestartButton());
}

void TfrmSmart::ShowNothing(const std::string& text) {
    Clear();
    Fail(text);
}

void TfrmSmart::Clear() {
    using S = SmartControl;
    for (S id : {S::Disk, S::Model, S::Serial, S::Firmware, S::Size, S::Temperature, S::PowerOnHours, S::PowerCycles,
                 S::Reallocated, S::Health, S::Reasons, S::Status}) {
        Get(id).text.clear();
        Get(id).tone = Tone::Plain;
    }
    Get(S::Attributes).rows.clear();
    Get(S::Attributes).rowTones.clear();
}

void TfrmSmart::Fail(const std::string& text) {
    Get(SmartControl::Status).text = text;
    Get(SmartControl::Status).tone = Tone::Bad;
}

void TfrmSmart::ShowDrive(char letter) {
    WaitCursor hourglass(dialogs_);
    Clear();
    const ReadableDisk disk = DiskOfDrive(platform_, letter);
    if (!disk.number) {
        Fail(disk.error);
        return;
    }
    const std::uint32_t number = *disk.number;
    Get(SmartControl::Disk).text = disk.path;
    diagnostics::TSmartResult result;
    std::string errorText;
    const bool ok = diagnostics::SmartReadDrive(platform_, static_cast<std::int32_t>(number), result, errorText);
    if (!ok) {
        // A disk that identified before its attributes failed is still that disk.
        if (result.DriveNum >= 0) {
            ShowIdentity(result);
            ShowVerdict(nullptr);
        }
        Fail(errorText.empty() ? "The disk's S.M.A.R.T. data cannot be read on this system." : errorText);
        return;
    }
    if (result.DriveNum < 0) {
        Fail("No ATA disk answered on " + disk.path + ".");
        return;
    }
    Report(result);
    // A step that failed before the reads that worked (an enable the disk
    // refused) is still worth knowing.
    if (!errorText.empty()) {
        Get(SmartControl::Status).text = errorText;
        Get(SmartControl::Status).tone = Tone::Caution;
    }
}

void TfrmSmart::ShowIdentity(const diagnostics::TSmartResult& r) {
    using S = SmartControl;
    Get(S::Model).text = r.ModelNumber;
    Get(S::Serial).text = r.SerialNumber;
    Get(S::Firmware).text = r.FirmwareRev;
    Get(S::Size).text = DiskSizeText(platform_.locale(), static_cast<std::uint64_t>(r.SizeBytes));
}

void TfrmSmart::ShowVerdict(const diagnostics::TSmartResult* attributes) {
    const diagnostics::HealthJudgement judgement = diagnostics::JudgeHealth(diagnostics::HealthEvidence{
        .ownStatus = diagnostics::DiskVerdict::kNotGiven, .ata = attributes, .nvme = nullptr});
    Get(SmartControl::Health).text = diagnostics::GradeName(judgement.grade);
    Get(SmartControl::Health).tone = GradeTone(judgement.grade);
    Get(SmartControl::Reasons).text = Joined(judgement.reasons);
}

void TfrmSmart::Report(const diagnostics::TSmartResult& r) {
    using S = SmartControl;
    ShowIdentity(r);
    auto raw = [&r](int id) -> std::string {
        const auto* a = FindAttribute(r, id);
        return a ? Decimal(a->AttrRaw) : kNotReported;
    };
    const std::optional<int> celsius = TemperatureCelsius(r);
    Get(S::Temperature).text = celsius ? CelsiusText(*celsius) : kNotReported;
    Get(S::Temperature).tone = celsius ? TemperatureTone(*celsius) : Tone::Plain;
    // Attribute 9 counts hours on the disks of today.
    const auto* powerOn = FindAttribute(r, kPowerOnId);
    Get(S::PowerOnHours).text = powerOn ? PowerOnText(powerOn->AttrRaw) : kNotReported;
    Get(S::PowerCycles).text = raw(kPowerCyclesId);
    Get(S::Reallocated).text = raw(kReallocatedId);
    ShowVerdict(&r);
    Component& table = Get(S::Attributes);
    for (int k = 0; k < r.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
        table.rows.push_back(Row(r.Attr[k]));
        table.rowTones.push_back(StateTone(r.Attr[k].AttrState));
    }
}

}  // namespace tw
