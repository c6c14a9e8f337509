// tarnwell-cli list: the drive list after one refresh, as the main window
// shows it or as File > Save List As... saves it.
#include "app/tform1.h"
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/headless.h"
#include "cli/list_printer.h"
#include "cli/open_platform.h"
#include "inventory/list_export.h"

namespace tw::cli {

int ListCommand(const CommandCall& call) {
    if (!ExpectOperands(call, 0)) return kExitUsage;
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    Application app;
    HeadlessView view;
    HeadlessDialogs dialogs(call.err);
    TForm1 form(*platform, view, dialogs, app);
    form.FormCreate();
    form.Click(MainCommand::Refresh);
    if (call.format == "tsv") {
        PrintList(form.Rows(), call.out);
    } else {
        call.out << inventory::FormatList(form.Rows(), *inventory::ListFormatNamed(call.format));
    }
    return dialogs.ErrorsShown() == 0 ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
