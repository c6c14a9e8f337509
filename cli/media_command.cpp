// tarnwell-cli media: the kind of disc in a CD or DVD drive.
#include <string_view>

#include "actions/system_message.h"
#include "app/tform1.h"
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/open_platform.h"
#include "platform/app_error.h"
#include "reports/json_report.h"

namespace tw::cli {

using namespace tw::reports;

int MediaCommand(const DriveCall& drive) {
    try {
        actions::MediaOutcome asked;
        const std::string report = TForm1::InsertedMediaReport(drive.platform, drive.letter, &asked);
        // The window reads a drive it cannot ask as "Unknown"; here that is a
        // failure with the system's reason.
        if (!asked.done) {
            drive.call.err << "tarnwell-cli: " << drive.letter << ": "
                           << actions::SystemMessage(drive.platform.kernel(), asked.error) << '\n';
            return kExitFailed;
        }
        if (drive.call.format == "json") {
            constexpr std::string_view kLead = ": Contains disk type: ";
            const size_t at = report.find(kLead);
            PrintJson({{"Drive", std::string(1, drive.letter) + ":"},
                       {"Disk type", at == std::string::npos ? report : report.substr(at + kLead.size())}},
                      drive.call.out);
            return kExitSuccess;
        }
        drive.call.out << report << '\n';
        return kExitSuccess;
    } catch (const AppError& e) {
        drive.call.err << "tarnwell-cli: " << drive.letter << ": " << e.what() << '\n';
        return kExitFailed;
    }
}

}  // namespace tw::cli
