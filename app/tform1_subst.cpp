// Create, remove and show substitute drives.
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
    std::string startupFailure;
    if (substDialog_.AddToStartup()) {
        const platform::DWORD error =
            actions::AppendStartupLine(kernel, actions::kStartupFile, actions::StartupLine(letter, path));
        if (error != platform::ERROR_SUCCESS) {
            startupFailure = "Drive " + drive + " was made, but its start-up line could not be added to " +
                             actions::kStartupFile + ": " + actions::SystemMessage(kernel, error);
        }
    }
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
    actions::RemoveSubstitution(platform_.kernel(), *letter);
    ClickInner(MainCommand::Refresh);
}

void TForm1::Query1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    dialogs_.MessageBox(actions::QuerySubstitution(platform_.kernel(), *letter), BoxKind::Plain, Buttons::OK);
}

}  // namespace tw
