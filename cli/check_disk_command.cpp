// tarnwell-cli chkdsk: the system's file-system check of a drive and its log.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/open_platform.h"
#include "cli/printing_report.h"
#include "diagnostics/check_disk.h"

namespace tw::cli {

int CheckDiskCommand(const CommandCall& call) {
    const std::optional<char> letter = DriveOperand(call);
    if (!letter) return kExitUsage;
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    PrintingReport report(call.out);
    const bool fix = call.options.contains("--fix");
    const auto outcome = diagnostics::CheckDisk(*platform, *letter, fix, report);
    return outcome == diagnostics::CheckOutcome::Sound ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
