// tarnwell-cli chkdsk: the system's file-system check of a drive and its log.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/open_platform.h"
#include "cli/printing_report.h"
#include "diagnostics/check_disk.h"

namespace tw::cli {

int CheckDiskCommand(const DriveCall& drive) {
    PrintingReport report(drive.call.out);
    const bool fix = drive.call.options.contains("--fix");
    const auto outcome = diagnostics::CheckDisk(drive.platform, drive.letter, fix, report);
    return outcome == diagnostics::CheckOutcome::Sound ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
