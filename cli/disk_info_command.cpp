#include "cli/disk_info_command.h"

#include "app/tfrm_disk_info.h"
#include "cli/cli.h"
#include "cli/headless.h"

namespace tw::cli {

int DiskInfo(platform::Platform& platform, char letter, std::ostream& out, std::ostream& err) {
    HeadlessDialogs dialogs(err);
    TfrmDiskInfo form(platform, dialogs);
    form.ShowDrive(letter);
    out << "Drive: " << letter << ":\n";
    for (const std::string& name : form.ComponentNames()) {
        const Component& c = *form.Find(name);
        if (c.kind == ComponentKind::Edit) out << c.caption << ": " << c.text << '\n';
    }
    const std::string& status = form.Get(DiskInfoControl::Status).text;
    if (status.empty()) return kExitSuccess;
    out << "Status: " << status << '\n';
    return kExitFailed;
}

}  // namespace tw::cli
