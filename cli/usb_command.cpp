// tarnwell-cli usb [--all]: what the "USB Drives" window lists, one disk per
// block.
#include <ostream>

#include "app/tfrm_usb_drives.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/headless.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "platform/printable.h"
#include "reports/json_report.h"

namespace tw::cli {

using namespace tw::reports;

namespace {

// A disk as an object with the names of its block; the size as an exact byte
// count, the letters as a list, null for what the service did not give.
JsonReport DiskReport(const diagnostics::DiskDrive& d) {
    return {{"Disk", d.index >= 0 ? JsonReport(d.index) : JsonReport(nullptr)},
            {"Model", d.model},
            {"Serial Number", d.serial},
            {"Size", NumberOrNull(d.size)},
            {"Media Type", d.mediaType},
            {"Interface", d.interfaceType},
            {"Partitions", NumberOrNull(d.partitions)},
            {"Drive Letters", d.driveLetters},
            {"PNP Device ID", d.pnpDeviceId}};
}

}  // namespace

// --all is read among the command's words, so that a word beside it is the
// one the refusal names.
int UsbCommand(const CommandCall& call) {
    const std::vector<std::string>& args = call.operands;
    const bool all = args.size() == 1 && args[0] == "--all";
    if (call.programArgs || !(args.empty() || all)) {
        if (!args.empty() && !all) {
            call.err << "tarnwell-cli: usb takes only --all, not \"" << platform::Printable(args[0]) << "\"\n";
        }
        call.err << CommandUsage(call.command);
        return kExitUsage;
    }
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;

    HeadlessDialogs dialogs(call.err);
    TfrmUSBDrives form(*platform, dialogs);
    form.SetChecked(UsbDrivesControl::ShowAll, all);
    if (!all) form.Click(UsbDrivesControl::Refresh);  // checking the box refreshed already
    const diagnostics::DiskDriveReport& report = form.Report();
    if (platform::Failed(report.result)) {
        call.err << "tarnwell-cli: " << form.StatusText(all) << '\n';
        return kExitFailed;
    }
    std::ostream& out = call.out;
    if (call.format == "json") {
        JsonReport disks = JsonReport::array();
        for (const diagnostics::DiskDrive& d : report.disks) disks.push_back(DiskReport(d));
        PrintJson({{"Disks", std::move(disks)}, {"Status", form.StatusText(all)}}, out);
        return platform::Failed(report.lettersResult) ? kExitFailed : kExitSuccess;
    }
    for (const diagnostics::DiskDrive& d : report.disks) {
        out << "Disk " << (d.index >= 0 ? std::to_string(d.index) : "?") << '\n'
            << "  Model: " << d.model << '\n'
            << "  Serial Number: " << d.serial << '\n'
            << "  Size: " << DiskSizeText(d, platform->locale()) << '\n'
            << "  Media Type: " << d.mediaType << '\n'
            << "  Interface: " << d.interfaceType << '\n'
            << "  Partitions: " << (d.partitions ? std::to_string(*d.partitions) : "") << '\n'
            << "  Drive Letters: " << DriveLettersText(d) << '\n'
            << "  PNP Device ID: " << d.pnpDeviceId << "\n\n";
    }
    out << form.StatusText(all) << '\n';
    return platform::Failed(report.lettersResult) ? kExitFailed : kExitSuccess;
}

}  // namespace tw::cli
