// tarnwell-cli smart: the S.M.A.R.T. data of a physical disk.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "diagnostics/smart_api.h"
#include "reports/smart_printer.h"

namespace tw::cli {

using namespace tw::reports;

int SmartCommand(const CommandCall& call) {
    if (!ExpectOperands(call, 1)) return kExitUsage;
    const std::optional<int> disk = DiskNumberArgument(call.operands[0]);
    if (!disk) return BadWord(call.err, call.operands[0], "a disk number");
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    diagnostics::TSmartResult result;
    std::string errorText;
    const bool ok = diagnostics::SmartReadDrive(*platform, *disk, result, errorText);
    if (call.format == "json") {
        PrintJson(SmartReport(result, ok, errorText), call.out);
    } else {
        PrintSmartResult(result, ok, errorText, call.out);
    }
    return ok ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
