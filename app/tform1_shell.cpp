// Exploring and the properties of the selected drive, the shell's search and
// minimise-all, the network drive dialogs, the format dialog, the system
// tools and the maker's web pages. Each hands one request to the system and
// does not refresh the list; a request the system refuses is reported with
// what could not be done and the reason, in the automation object's own words
// where it gives some.
#include "actions/elevation.h"
#include "actions/shell_actions.h"
#include "actions/system_message.h"
#include "app/tform1.h"
#include "app/web_addresses.h"

namespace tw {

using namespace tw::platform;

namespace {

constexpr const char* kMinimiseAll = "minimise all windows";

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void TForm1::Report(const actions::ShellOutcome& outcome) {
    if (outcome.done) return;
    dialogs_.MessageBox(actions::FailureText(platform_.kernel(), outcome), BoxKind::Error, Buttons::OK);
}

void TForm1::ExploreSelected(bool hourglass) {
    if (selected_ < 0) return;
    const std::string path = Trimmed(rows_[static_cast<size_t>(selected_)].caption) + "\\";
    actions::ShellOutcome outcome;
    {
        std::optional<WaitCursor> wait;
        if (hourglass) wait.emplace(dialogs_);
        outcome = actions::Explore(platform_.shell(), dialogs_.OwnerWindow(), path);
    }
    Report(outcome);
}

void TForm1::ListView1DblClick() { ExploreSelected(true); }

void TForm1::ToolButton2Click() { ExploreSelected(false); }

void TForm1::Properties1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    actions::ShellOutcome outcome;
    {
        WaitCursor wait(dialogs_);
        outcome = actions::ShowDriveProperties(platform_.shell(), dialogs_.OwnerWindow(), *letter);
    }
    Report(outcome);
}

void TForm1::SearchDrive1Click() {
    Report(actions::CallShellApplication(platform_.shell(), "findfiles", "open the search for files"));
}

void TForm1::MinimizeAll1Click() {
    Report(actions::CallShellApplication(platform_.shell(), "minimizeall", kMinimiseAll));
}

void TForm1::MinimizeAll2Click() {
    Report(actions::CallShellApplication(platform_.shell(), "MinimizeAll", kMinimiseAll));
}

void TForm1::MapNetworkDrive1Click() {
    Report(actions::NetworkDriveDialog(platform_.network(), dialogs_.OwnerWindow(), true));
}

void TForm1::DisconnectNetworkDrive1Click() {
    Report(actions::NetworkDriveDialog(platform_.network(), dialogs_.OwnerWindow(), false));
}

void TForm1::FormatDisk1Click() {
    Report(actions::StartFormatDialog(platform_.kernel(), platform_.shell(), dialogs_.OwnerWindow()));
}

void TForm1::Defrag1Click() { Report(actions::StartDefragmenter(platform_.kernel(), platform_.shell())); }

void TForm1::NTBackup1Click() { Report(actions::StartBackup(platform_.kernel(), platform_.shell(), false)); }

void TForm1::NTBackupRestore2Click() { Report(actions::StartBackup(platform_.kernel(), platform_.shell(), true)); }

void TForm1::RemoveUSBDrive1Click() { Report(actions::StartSafeRemoval(platform_.kernel(), platform_.shell())); }

void TForm1::TarnwellHomepage1Click() { Report(actions::OpenWebPage(platform_.shell(), kHomePageAddress)); }

void TForm1::Donate1Click() { Report(actions::OpenWebPage(platform_.shell(), kDonatePageAddress)); }

void TForm1::Label2Click() { Report(actions::OpenWebPage(platform_.shell(), kSiteAddress)); }

void TForm1::RestartAsAdministrator1Click() {
    const actions::RestartOutcome outcome =
        actions::RestartAsAdministrator(platform_.kernel(), platform_.shell(), dialogs_.OwnerWindow(), app_.args);
    if (outcome.started) {
        view_.CloseWindow();  // the elevated copy takes over
        return;
    }
    if (outcome.declined) return;  // the user said no at the prompt: nothing changes
    dialogs_.MessageBox(
        "Could not restart as administrator: " + actions::SystemMessage(platform_.kernel(), outcome.error),
        BoxKind::Error, Buttons::OK);
}

}  // namespace tw
