// tarnwell-cli optical: the Optical Information window's view of one drive.
#include "app/tfrm_optical_info.h"
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/headless.h"
#include "cli/open_platform.h"
#include "reports/json_report.h"

namespace tw::cli {

using namespace tw::reports;

int OpticalCommand(const DriveCall& drive) {
    HeadlessDialogs dialogs(drive.call.err);
    TfrmOpticalInfo form(drive.platform, dialogs);
    form.ShowDrive(drive.letter);
    std::ostream& out = drive.call.out;
    if (drive.call.format == "json") {
        const std::string profile = form.InsertedProfileName(drive.letter);
        PrintJson({{"Drive", std::string(1, drive.letter) + ":"},
                   {"Vendor", form.Get(OpticalControl::Vendor).text},
                   {"Product ID", form.Get(OpticalControl::Product).text},
                   {"Revision", form.Get(OpticalControl::Revision).text},
                   {"Vendor Spec", form.Get(OpticalControl::VendorSpecific).text},
                   {"Profile", profile.empty() ? JsonReport(nullptr) : JsonReport(profile)},
                   {"Capabilities", form.Get(OpticalControl::Capabilities).items}},
                  out);
        return kExitSuccess;
    }
    out << "Vendor: " << form.Get(OpticalControl::Vendor).text << '\n'
        << "Product ID: " << form.Get(OpticalControl::Product).text << '\n'
        << "Revision: " << form.Get(OpticalControl::Revision).text << '\n'
        << "Vendor Spec: " << form.Get(OpticalControl::VendorSpecific).text << '\n';
    const std::string profile = form.InsertedProfileName(drive.letter);
    out << "Profile: " << (profile.empty() ? "Unknown" : profile) << '\n';
    for (const std::string& line : form.Get(OpticalControl::Capabilities).items) out << line << '\n';
    return kExitSuccess;
}

}  // namespace tw::cli
