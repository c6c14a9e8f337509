#include "inventory/drive_probe.h"

#include <array>
#include <cstdint>
#include <exception>
#include <string>

#include "actions/drive_visibility.h"
#include "actions/substitution.h"
#include "inventory/device_probes.h"
#include "inventory/number_format.h"
#include "platform/drive_names.h"

namespace tw::inventory {

using namespace tw::platform;

namespace {

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

}  // namespace

Connection AskConnection(Network& network, char letter) {
    const std::string local = DriveName(letter);
    std::array<char, 260> remote{};
    DWORD length = static_cast<DWORD>(remote.size());
    Connection c;
    c.result = network.WNetGetConnectionA(local.c_str(), remote.data(), &length);
    if (c.result == ERROR_SUCCESS) {
        remote.back() = 0;
        c.remoteName = remote.data();
    }
    return c;
}

bool RefreshAnswers::Hidden(char letter) {
    if (!policy_) policy_ = actions::ReadHiddenDrives(registry_);
    return actions::VisibilityUnder(*policy_, letter) == actions::kHidden;
}

void ProbeDrive(Platform& platform, optical::MessagePump& pump, const Connection& connection, RefreshAnswers& shared,
                DriveFacts& facts) {
    Kernel& kernel = platform.kernel();
    const char letter = facts.letter;
    const std::string root = RootPath(letter);

    std::array<char, 81> label{};
    std::array<char, 21> fileSystem{};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    // The serial of a volume that answered here is the one a second ask would
    // give: that ask is made only when this one fails.
    std::optional<DWORD> firstSerial;
    if (kernel.GetVolumeInformationA(root.c_str(), label.data(), static_cast<DWORD>(label.size()), &serial,
                                     &maxComponent, &flags, fileSystem.data(), static_cast<DWORD>(fileSystem.size()))) {
        label.back() = 0;
        facts.label = label.data();
        firstSerial = serial;
    } else {
        fileSystem.fill(0);
    }
    facts.reached = ProbeStep::kVolume;

    KindFacts& kind = facts.kind;
    kind.driveType = kernel.GetDriveTypeA(root.c_str());
    kind.disconnected = facts.disconnected;
    // The removable kind shows the identity text as it stands before the
    // device is asked: its eight spaces.
    kind.identityText = std::string(8, ' ');
    if (kind.driveType == DRIVE_REMOTE) {
        // The walk's own connection query asked the same name with the same
        // buffer; its answer stands.
        kind.connectionResult = connection.result;
        kind.remoteName = connection.remoteName;
    } else if (kind.driveType == DRIVE_FIXED) {
        kind.substitutedFolder = actions::QuerySubstitution(kernel, letter);
        // A substitution stands for a folder: there is no device of its own to ask.
        if (kind.substitutedFolder.empty()) kind.external = IsExternal(platform.device(), letter);
    } else if (kind.driveType == DRIVE_CDROM) {
        kind.opticalClass = OpticalClass(platform, letter, pump);
    }
    facts.reached = ProbeStep::kKind;

    // Counts stay exact integers; a drive not probed counts as an empty volume.
    Space space;
    space.probed = true;
    // No critical-error box for an empty floppy or card slot.
    const UINT previousMode = kernel.SetErrorMode(SEM_FAILCRITICALERRORS);
    try {
        if (!facts.disconnected) space = ProbeSpace(kernel, root);
    } catch (const std::exception&) {
        facts.spaceProbeRaised = true;
    }
    kernel.SetErrorMode(previousMode);
    if (space.probed) {
        facts.totalBytes = space.total;
        facts.freeBytes = space.free;
        if (space.total != 0) facts.percentFree = PercentFree(space.free, space.total);
    } else {
        facts.notMounted = true;
        fileSystem.fill(0);
    }
    fileSystem.back() = 0;
    facts.fileSystem = fileSystem.data();
    facts.reached = ProbeStep::kSpace;

    if (!facts.notMounted && firstSerial) {
        facts.serial = *firstSerial;
    } else if (!facts.notMounted) {
        // A file-system name longer than the first ask's buffer fails that ask;
        // this one takes no file-system name.
        std::array<char, 256> label2{};
        DWORD serial2 = 0, maxComponent2 = 0, flags2 = 0;
        if (kernel.GetVolumeInformationA(root.c_str(), label2.data(), static_cast<DWORD>(label2.size()), &serial2,
                                         &maxComponent2, &flags2, nullptr, 0)) {
            facts.serial = serial2;
        }
    }
    facts.reached = ProbeStep::kSerial;

    facts.hidden = shared.Hidden(letter);
    facts.reached = ProbeStep::kVisibility;

    facts.identityText = std::string(8, ' ');
    if (!facts.notMounted) facts.identityText = IdentityText(platform.device(), letter);
    facts.reached = ProbeStep::kDone;
}

}  // namespace tw::inventory
