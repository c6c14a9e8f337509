#include "inventory/drive_presentation.h"

#include "inventory/extended_math.h"

namespace tw::inventory {

using namespace tw::platform;

DriveRow PresentRow(const DriveFacts& facts, const NumberSeparators& sep) {
    DriveRow row;
    row.caption = std::string(1, facts.letter) + ": ";
    row.facts = facts;
    auto& cells = row.cells;
    if (!facts.Reached(ProbeStep::kVolume)) return row;
    cells[kLabel] = facts.label;

    if (!facts.Reached(ProbeStep::kKind)) return row;
    const Kind kind = DescribeKind(facts.kind);
    cells[kType] = kind.typeText;
    cells[kAdditionalInfo] = kind.detail;
    row.image = kind.image;

    if (!facts.Reached(ProbeStep::kSpace)) return row;
    if (facts.spaceProbeRaised) cells[kType] = "Not mounted";
    if (facts.notMounted) cells[kLabel] = "Not mounted";
    if (facts.totalBytes && facts.freeBytes) {
        // "Used" is the difference of the exact counts, which the extended
        // format holds exactly too.
        const auto total = static_cast<long double>(*facts.totalBytes);
        const auto free = static_cast<long double>(*facts.freeBytes);
        cells[kSize] = SizeText(total, sep);
        cells[kUsed] = SizeText(ExtendedSub(total, free), sep);
        cells[kAvailable] = SizeText(free, sep);
        cells[kBytesFree] = FormatGrouped(*facts.freeBytes, sep);
    }
    cells[kFormat] = facts.fileSystem;

    if (!facts.Reached(ProbeStep::kSerial)) return row;
    if (facts.serial) cells[kVolumeSerial] = SerialText(*facts.serial);
    cells[kPercentFree] = PercentText(facts.percentFree, sep);

    if (!facts.Reached(ProbeStep::kVisibility)) return row;
    cells[kVisibility] = facts.hidden ? "Hidden" : "Visible";

    if (!facts.Reached(ProbeStep::kDone)) return row;
    const std::string& identity = facts.identityText;
    cells[kVendor] = identity.substr(0, 8);
    cells[kProductId] = identity.size() > 8 ? identity.substr(8, 16) : "";
    return row;
}

bool FilteredOut(const KindFilters& f, const DriveFacts& facts) {
    const UINT type = facts.kind.driveType;
    return (!f.local && type == DRIVE_FIXED) || (!f.optical && type == DRIVE_CDROM) ||
           (!f.removable && type == DRIVE_REMOVABLE) || (!f.network && type == DRIVE_REMOTE) ||
           (!f.notMounted && facts.notMounted) || (!f.disconnected && facts.disconnected);
}

}  // namespace tw::inventory
