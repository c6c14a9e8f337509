// tarnwell-cli diskinfo: the Disk Information window's fields of one drive,
// one "Name: value" line each in its order, then "Status: text" when the disk
// did not identify (kExitFailed then). As JSON, one object with the same
// names and "Status" null when all is well.
#include "app/disk_info_report.h"
#include "app/tfrm_disk_info.h"
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/headless.h"
#include "cli/open_platform.h"

namespace tw::cli {

using namespace tw::reports;

int DiskInfoCommand(const DriveCall& drive) {
    HeadlessDialogs dialogs(drive.call.err);
    TfrmDiskInfo form(drive.platform, dialogs);
    form.ShowDrive(drive.letter);
    const std::string& status = form.Get(DiskInfoControl::Status).text;
    std::ostream& out = drive.call.out;
    if (drive.call.format == "json") {
        PrintJson(DiskInfoReport(form, drive.letter), out);
        return status.empty() ? kExitSuccess : kExitFailed;
    }
    out << "Drive: " << drive.letter << ":\n";
    for (ComponentSlot slot = 0; slot < form.ComponentCount(); ++slot) {
        const Component& c = form.At(slot);
        if (c.kind == ComponentKind::Edit) out << c.caption << ": " << c.text << '\n';
    }
    if (status.empty()) return kExitSuccess;
    out << "Status: " << status << '\n';
    return kExitFailed;
}

}  // namespace tw::cli
