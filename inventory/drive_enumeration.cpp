#include "inventory/drive_enumeration.h"

#include <array>
#include <cstdint>
#include <exception>

#include "actions/drive_visibility.h"
#include "actions/substitution.h"
#include "inventory/extended_math.h"
#include "inventory/kind_table.h"
#include "inventory/number_format.h"

namespace tw::inventory {

using namespace tw::platform;

namespace {

// The answer of one connection query.
struct Connection {
    DWORD result = ERROR_NOT_CONNECTED;
    std::string remoteName;
};

Connection AskConnection(Network& network, char letter) {
    const char local[3] = {letter, ':', 0};
    std::array<char, 260> remote{};
    DWORD length = static_cast<DWORD>(remote.size());
    Connection c;
    c.result = network.WNetGetConnectionA(local, remote.data(), &length);
    if (c.result == ERROR_SUCCESS) {
        remote.back() = 0;
        c.remoteName = remote.data();
    }
    return c;
}

// Byte counts of a volume; `probed` is false when the volume can't be asked.
struct Space {
    bool probed = false;
    std::uint64_t total = 0;
    std::uint64_t free = 0;
};

// A product of cluster counts that would pass 2^64 stays at the largest count.
std::uint64_t Bytes(std::uint64_t clusterBytes, DWORD clusters) {
    std::uint64_t bytes = 0;
    return __builtin_mul_overflow(clusterBytes, clusters, &bytes) ? ~std::uint64_t{0} : bytes;
}

// Free space of the root, with the cluster-based call where the extended one
// is missing.
Space ProbeSpace(Kernel& kernel, const std::string& root) {
    ULONGLONG freeToCaller = 0, total = 0, totalFree = 0;
    if (kernel.GetDiskFreeSpaceExA(root.c_str(), &freeToCaller, &total, &totalFree)) {
        return {true, total, freeToCaller};
    }
    if (kernel.GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
        if (kernel.GetDiskFreeSpaceA(root.c_str(), &spc, &bps, &freeClusters, &totalClusters)) {
            const std::uint64_t cluster = std::uint64_t{spc} * bps;
            return {true, Bytes(cluster, totalClusters), Bytes(cluster, freeClusters)};
        }
    }
    return {};
}

bool Filtered(const KindFilters& f, UINT type, bool notMounted, bool disconnected) {
    return (!f.local && type == DRIVE_FIXED) || (!f.optical && type == DRIVE_CDROM) ||
           (!f.removable && type == DRIVE_REMOVABLE) || (!f.network && type == DRIVE_REMOTE) ||
           (!f.notMounted && notMounted) || (!f.disconnected && disconnected);
}

}  // namespace

void EnumerateDrives(Platform& platform, const EnumerationOptions& options, std::vector<DriveRow>& rows) {
    Kernel& kernel = platform.kernel();
    const NumberSeparators sep = ReadSeparators(platform.locale());
    const DWORD mask = kernel.GetLogicalDrives();

    for (char letter = options.skipAB ? 'C' : 'A'; letter <= 'Z'; ++letter) {
        const bool disconnected = AskConnection(platform.network(), letter).result == ERROR_CONNECTION_UNAVAIL;
        if (!(mask & (DWORD{1} << (letter - 'A'))) && !disconnected) continue;

        bool notMounted = false;
        // Counts stay exact integers; "Used" is their difference, which the
        // extended format holds exactly too.
        Space space;
        space.probed = true;  // a drive not probed counts as an empty volume
        long double percentFree = 0;
        std::string identityText(8, ' ');
        const std::string root = std::string(1, letter) + ":\\";

        rows.push_back(DriveRow{});
        DriveRow& row = rows.back();
        row.caption = std::string(1, letter) + ": ";
        auto& cells = row.cells;

        std::array<char, 81> label{};
        std::array<char, 21> fileSystem{};
        DWORD serial = 0, maxComponent = 0, flags = 0;
        if (kernel.GetVolumeInformationA(root.c_str(), label.data(), static_cast<DWORD>(label.size()), &serial,
                                         &maxComponent, &flags, fileSystem.data(),
                                         static_cast<DWORD>(fileSystem.size()))) {
            label.back() = 0;
            cells[kLabel] = label.data();
        } else {
            fileSystem.fill(0);
        }

        KindFacts facts;
        facts.driveType = kernel.GetDriveTypeA(root.c_str());
        facts.disconnected = disconnected;
        facts.identityText = identityText;
        if (facts.driveType == DRIVE_REMOTE) {
            Connection c = AskConnection(platform.network(), letter);
            facts.connectionResult = c.result;
            facts.remoteName = c.remoteName;
        } else if (facts.driveType == DRIVE_FIXED) {
            facts.substitutedFolder = actions::QuerySubstitution(kernel, letter);
            // Whether a fixed drive sits on an external bus is asked of its device
            // only when it is not a substitution; that probe arrives with device
            // control, until then no drive counts as external.
        }
        // The optical class likewise comes from the disc library; until then it is empty.
        const Kind kind = DescribeKind(facts);
        cells[kType] = kind.typeText;
        cells[kAdditionalInfo] = kind.detail;
        row.image = kind.image;

        // No critical-error box for an empty floppy or card slot.
        const UINT previousMode = kernel.SetErrorMode(SEM_FAILCRITICALERRORS);
        try {
            if (!disconnected && !notMounted) space = ProbeSpace(kernel, root);
        } catch (const std::exception&) {
            cells[kType] = "Not mounted";
        }
        kernel.SetErrorMode(previousMode);

        if (!space.probed) {
            cells[kLabel] = "Not mounted";
            notMounted = true;
            percentFree = 0;
            fileSystem.fill(0);
        }
        if (space.total != 0 && !notMounted) percentFree = PercentFree(space.free, space.total);

        if (space.probed) {
            const auto total = static_cast<long double>(space.total);
            const auto free = static_cast<long double>(space.free);
            cells[kSize] = SizeText(total, sep);
            cells[kUsed] = SizeText(ExtendedSub(total, free), sep);
            cells[kAvailable] = SizeText(free, sep);
            cells[kBytesFree] = FormatGrouped(space.free, sep);
        }

        fileSystem.back() = 0;
        cells[kFormat] = fileSystem.data();
        if (!notMounted) {
            std::array<char, 256> label2{};
            DWORD serial2 = 0, maxComponent2 = 0, flags2 = 0;
            if (kernel.GetVolumeInformationA(root.c_str(), label2.data(), static_cast<DWORD>(label2.size()), &serial2,
                                             &maxComponent2, &flags2, nullptr, 0)) {
                cells[kVolumeSerial] = SerialText(serial2);
            }
        }

        cells[kPercentFree] = PercentText(percentFree, sep);
        cells[kVisibility] =
            actions::GetDriveVisibility(platform.registry(), letter) == actions::kHidden ? "Hidden" : "Visible";

        // The device's identity text (vendor and product) comes from a SCSI
        // INQUIRY; until that probe exists a mounted drive's device gives none.
        identityText = std::string(8, ' ');
        if (!notMounted) identityText.clear();
        cells[kVendor] = identityText.substr(0, 8);
        cells[kProductId] = identityText.size() > 8 ? identityText.substr(8, 16) : "";

        if (Filtered(options.filters, facts.driveType, notMounted, disconnected)) rows.pop_back();
    }
}

}  // namespace tw::inventory
