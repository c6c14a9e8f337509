// Create, remove and show substitute drives.
#include "actions/logon_entry.h"
#include "actions/startup_file.h"
#include "actions/substitution.h"
#include "actions/system_message.h"
#include "app/main_components.h"
#include "app/tform1.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

namespace {

bool HasControlCharacter(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 32 || c == 127) return true;
    }
    return false;
}

}  // namespace

std::string TForm1::AddToStartup(char letter, const std::string& path) {
    platform::Kernel& kernel = platform_.kernel();
    const std::string drive = std::string(1, letter) + ":";
    const std::string file = actions::kStartupFile;
    // The NT family runs no start-up file: the substitution comes back from
    // an entry in the user's Run key, and the line is added as well for a
    // system that does run the file.
    const bool logon = actions::RunsLogonEntries(kernel);
    const platform::DWORD logonError =
        logon ? actions::AddLogonEntry(kernel, platform_.registry(), letter, path) : platform::ERROR_SUCCESS;
    const platform::DWORD fileError =
        actions::AppendStartupLine(kernel, actions::kStartupFile, actions::StartupLine(letter, path));
    if (logonError == platform::ERROR_SUCCESS && fileError == platform::ERROR_SUCCESS) return {};
    if (!logon) {
        return "Drive " + drive + " was made, but its start-up line could not be added to " + file + ": " +
               actions::SystemMessage(kernel, fileError);
    }
    const std::string notAdded =
        "The line could not be added to " + file + ": " + actions::SystemMessage(kernel, fileError);
    const std::string notRegistered =
        "the substitution could not be registered for your next logon: " + actions::SystemMessage(kernel, logonError);
    if (logonError == platform::ERROR_SUCCESS) {
        return "Drive " + drive + " was made. The substitution will be restored at your next logon. " + notAdded;
    }
    if (fileError == platform::ERROR_SUCCESS) {
        return "Drive " + drive + " was made and its line added to " + file + ", but " + notRegistered;
    }
    return "Drive " + drive + " was made, but " + notRegistered + " " + notAdded;
}

void TForm1::CreateSubstituteDrive1Click() {
    if (dialogs_.ShowModal(substDialog_) != ModalResult::OK) return;
    const std::string letterText = substDialog_.Letter();
    const std::string path = substDialog_.Path();
    if (letterText.empty() || !platform::IsDriveLetter(letterText[0])) {
        throw AppError("Enter a drive letter from A to Z for the substitute drive.");
    }
    if (path.empty()) throw AppError("Enter the folder the substitute drive is to stand for.");
    // A line break in the path would add lines of its own to the start-up file.
    if (HasControlCharacter(path)) throw AppError("The folder must not contain control characters.");
    const char letter = letterText[0];
    const std::string drive = std::string(1, letter) + ":";
    platform::Kernel& kernel = platform_.kernel();
    // A definition over a letter in use would hide its drive until logoff.
    if (actions::LetterInUse(kernel, letter)) throw AppError("Drive " + drive + " is already in use.");
    if (!actions::FolderExists(kernel, path)) throw AppError("The folder " + path + " does not exist.");
    if (!actions::CreateSubstitution(kernel, letter, path)) {
        throw AppError("Drive " + drive +
                       " could not be made: " + actions::SystemMessage(kernel, kernel.GetLastError()));
    }
    const std::string startupFailure = substDialog_.AddToStartup() ? AddToStartup(letter, path) : std::string();
    // The new drive is listed whether or not the start-up file took its line.
    ClickInner(MainCommand::Refresh);
    if (!startupFailure.empty()) throw AppError(startupFailure);
}

void TForm1::RemoveSubstituteDrive1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    // Removing a letter that is no substitution would drop its own mapping.
    if (actions::QuerySubstitution(platform_.kernel(), *letter).empty()) {
        throw AppError("Drive " + std::string(1, *letter) + ": is not a substitute drive.");
    }
    platform::Kernel& kernel = platform_.kernel();
    std::string entryFailure;
    if (actions::RemoveSubstitution(kernel, *letter) && actions::RunsLogonEntries(kernel)) {
        // The entry would make the letter again at the next logon.
        const platform::DWORD error = actions::RemoveLogonEntry(platform_.registry(), *letter);
        if (error != platform::ERROR_SUCCESS) {
            entryFailure =
                "Drive " + std::string(1, *letter) +
                ": was removed, but its logon entry could not be removed: " + actions::SystemMessage(kernel, error);
        }
    }
    ClickInner(MainCommand::Refresh);
    if (!entryFailure.empty()) throw AppError(entryFailure);
}

void TForm1::Query1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    dialogs_.MessageBox(actions::QuerySubstitution(platform_.kernel(), *letter), BoxKind::Plain, Buttons::OK);
}

}  // namespace tw
