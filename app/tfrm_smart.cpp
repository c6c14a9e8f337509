#include "app/tfrm_smart.h"

#include <cstdint>

#include "app/disk_window.h"
#include "app/nvme_health_rows.h"
#include "app/smart_summaries.h"
#include "platform/drive_names.h"
#include "reports/health_printer.h"

namespace tw {

using namespace tw::platform;

namespace {

constexpr int kReallocatedId = 5;
constexpr int kPowerOnId = 9;
constexpr int kPowerCyclesId = 12;

std::vector<std::string> AttributeColumns() {
    return {"Hex", "ID", "Attribute", "Current", "Worst", "Threshold", "Raw", "State", "Raw Hex"};
}

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
    Declare(S::Attributes, ComponentKind::ListView, "Attributes").columns = AttributeColumns();
    Declare(S::Status, ComponentKind::Label, "Status");
    Declare(S::Refresh, ComponentKind::MenuItem, "Refresh").onClick = [this] { Refresh1Click(); };
    Declare(S::Copy, ComponentKind::MenuItem, "Copy").onClick = [this] { Copy1Click(); };
    Declare(S::SaveAs, ComponentKind::MenuItem, "Save As...").onClick = [this] { SaveAs1Click(); };
    Declare(RightsControl::Line, RightsLine("Administrator rights are needed to read this disk's health"));
    Declare(RightsControl::Restart, RestartButton());
}

std::optional<std::string> TfrmSmart::ReportJson() const {
    if (!health_) return std::nullopt;
    return reports::HealthJsonText(reports::DiskHealthReport(*health_));
}

void TfrmSmart::ShowNothing(const std::string& text) {
    Clear();
    Fail(text);
}

void TfrmSmart::Clear() {
    using S = SmartControl;
    health_.reset();
    for (S id : {S::Disk, S::Model, S::Serial, S::Firmware, S::Size, S::Temperature, S::PowerOnHours, S::PowerCycles,
                 S::Reallocated, S::Health, S::Reasons, S::Status}) {
        Get(id).text.clear();
        Get(id).tone = Tone::Plain;
    }
    Get(S::Attributes).columns = AttributeColumns();
    Get(S::Attributes).rows.clear();
    Get(S::Attributes).rowTones.clear();
}

void TfrmSmart::Fail(const std::string& text) {
    Get(SmartControl::Status).text = text;
    Get(SmartControl::Status).tone = Tone::Bad;
}

void TfrmSmart::ShowDrive(char letter) {
    WaitCursor hourglass(dialogs_);
    ShowReadable(DiskOfDrive(platform_, letter));
}

void TfrmSmart::ShowDisk(std::uint32_t number) {
    WaitCursor hourglass(dialogs_);
    ShowReadable(ReadableDisk{number, std::nullopt, PhysicalDrivePath(number), ""});
}

void TfrmSmart::ShowReadable(const ReadableDisk& disk) {
    Clear();
    if (!disk.number) {
        Fail(disk.error);
        return;
    }
    Get(SmartControl::Disk).text = disk.path;
    const diagnostics::DiskHealth& health =
        health_.emplace(diagnostics::ReadDiskHealth(platform_, static_cast<std::int32_t>(*disk.number)));
    if (!health.Answered()) {
        // A disk that identified before its attributes failed is still that
        // disk, and the driver's words say best what failed.
        if (const auto& r = health.driverIdentified) {
            ShowIdentity(r->ModelNumber, r->SerialNumber, r->FirmwareRev, static_cast<std::uint64_t>(r->SizeBytes));
            ShowVerdict(diagnostics::JudgeHealth(health));
            Fail(health.attempts.front().outcome);
            return;
        }
        Fail(health.error);
        return;
    }
    ShowIdentity(health.model, health.serial, health.firmware, health.capacityBytes.low);
    ShowVerdict(diagnostics::JudgeHealth(health, FirstReading(health)));
    if (health.ata) ShowAttributes(*health.ata);
    if (health.nvme) ShowNvmeLog(*health.nvme);
    // A step that failed before the reads that worked (an enable the disk
    // refused) is still worth knowing.
    if (!health.driverNotice.empty()) {
        Get(SmartControl::Status).text = health.driverNotice;
        Get(SmartControl::Status).tone = Tone::Caution;
    }
}

const diagnostics::TSmartResult* TfrmSmart::FirstReading(const diagnostics::DiskHealth& health) {
    if (!health.ata || (health.model.empty() && health.serial.empty())) return nullptr;
    const auto [at, first] = firstReadings_.try_emplace(health.model + '\n' + health.serial, *health.ata);
    return first ? nullptr : &at->second;
}

void TfrmSmart::ShowIdentity(const std::string& model, const std::string& serial, const std::string& firmware,
                             std::uint64_t bytes) {
    using S = SmartControl;
    Get(S::Model).text = model;
    Get(S::Serial).text = serial;
    Get(S::Firmware).text = firmware;
    Get(S::Size).text = DiskSizeText(platform_.locale(), bytes);
}

void TfrmSmart::ShowVerdict(const diagnostics::HealthJudgement& judgement) {
    Get(SmartControl::Health).text = diagnostics::GradeName(judgement.grade);
    Get(SmartControl::Health).tone = GradeTone(judgement.grade);
    Get(SmartControl::Reasons).text = Joined(judgement.reasons);
}

void TfrmSmart::ShowAttributes(const diagnostics::TSmartResult& r) {
    using S = SmartControl;
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
    Component& table = Get(S::Attributes);
    for (int k = 0; k < r.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
        table.rows.push_back(Row(r.Attr[k]));
        table.rowTones.push_back(StateTone(r.Attr[k].AttrState));
    }
}

void TfrmSmart::ShowNvmeLog(const diagnostics::NvmeHealthLog& log) {
    using S = SmartControl;
    const std::optional<int> celsius = diagnostics::KelvinToCelsius(log.compositeKelvin);
    Get(S::Temperature).text = celsius ? CelsiusText(*celsius) : kNotReported;
    Get(S::Temperature).tone = celsius ? TemperatureTone(*celsius) : Tone::Plain;
    const diagnostics::Counter128& hours = log.powerOnHours;
    const bool fits = hours.high == 0 && hours.low <= static_cast<std::uint64_t>(INT64_MAX);
    Get(S::PowerOnHours).text =
        fits ? PowerOnText(static_cast<std::int64_t>(hours.low)) : diagnostics::CounterDecimal(hours) + " hours";
    Get(S::PowerCycles).text = diagnostics::CounterDecimal(log.powerCycles);
    // NVMe keeps no count of reallocated sectors.
    Get(S::Reallocated).text = kNotReported;
    Component& table = Get(S::Attributes);
    table.columns = NvmeHealthColumns();
    for (NvmeHealthRow& row : NvmeHealthRows(log)) {
        table.rows.push_back(std::move(row.cells));
        table.rowTones.push_back(row.tone);
    }
}

}  // namespace tw
