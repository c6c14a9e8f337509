#include "inventory/kind_table.h"

#include "inventory/drive_row.h"
#include "platform/drive_names.h"

namespace tw::inventory {

using namespace tw::platform;

bool ShowsDisconnected(const KindFacts& f) {
    return (f.driveType == DRIVE_NO_ROOT_DIR && f.disconnected) ||
           (f.driveType == DRIVE_REMOTE && f.connectionResult == ERROR_CONNECTION_UNAVAIL);
}

Kind DescribeKind(const KindFacts& f) {
    switch (f.driveType) {
        case DRIVE_UNKNOWN: return {"Unknown", "", kImageLocal};
        case DRIVE_NO_ROOT_DIR:
            if (f.disconnected) return {"Network", "Disconnected", kImageDisconnected};
            return {"No Root Dir", "", kImageLocal};
        case DRIVE_REMOVABLE: return {"Removable Disk", f.identityText.substr(0, 8), kImageRemovable};
        case DRIVE_FIXED:
            if (!f.substitutedFolder.empty()) return {"Subst", f.substitutedFolder, kImageLocal};
            return {"Local Disk", f.external ? "External Drive" : "", kImageLocal};
        case DRIVE_REMOTE:
            if (f.connectionResult == ERROR_CONNECTION_UNAVAIL) return {"Network Disk", "Disconnected", kImageNetwork};
            // Any other failure leaves the detail empty.
            return {"Network Disk", f.connectionResult == ERROR_SUCCESS ? f.remoteName : "", kImageNetwork};
        case DRIVE_CDROM: return {"CD / DVD Drive", f.opticalClass, kImageOptical};
        case DRIVE_RAMDISK: return {"RAM Disk", "", kImageLocal};
        default: return {"Error reading drive", Decimal(f.driveType), kImageLocal};
    }
}

}  // namespace tw::inventory
