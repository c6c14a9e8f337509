// tarnwell-cli health: a physical disk's health by whichever route answers.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "reports/health_printer.h"

namespace tw::cli {

using namespace tw::reports;

int HealthCommand(const CommandCall& call) {
    if (!ExpectOperands(call, 1)) return kExitUsage;
    const std::optional<int> disk = DiskNumberArgument(call.operands[0]);
    if (!disk) return BadWord(call.err, call.operands[0], "a disk number");
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    const diagnostics::DiskHealth health = diagnostics::ReadDiskHealth(*platform, *disk);
    if (call.format == "json") {
        PrintHealthJson(DiskHealthReport(health), call.out);
    } else {
        PrintDiskHealth(health, call.out);
    }
    return health.Answered() ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
