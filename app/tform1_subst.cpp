// Create, remove and show substitute drives.
#include "actions/startup_file.h"
#include "actions/substitution.h"
#include "app/main_components.h"
#include "app/tform1.h"
#include "platform/app_error.h"

namespace tw {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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
    if (letterText.empty() || !IsDriveLetter(letterText[0])) {
        throw AppError("Enter a drive letter from A to Z for the substitute drive.");
    }
    if (path.empty()) throw AppError("Enter the folder the substitute drive is to stand for.");
    // A line break in the path would add lines of its own to the start-up file.
    if (HasControlCharacter(path)) throw AppError("The folder must not contain control characters.");
    const char letter = letterText[0];
    // A failed creation shows in the refreshed list: the letter is not there.
    actions::CreateSubstitution(platform_.kernel(), letter, path);
    if (substDialog_.AddToStartup()) {
        actions::AppendStartupLine(platform_.kernel(), actions::kStartupFile,
                                   "subst " + std::string(1, letter) + ": " + path);
    }
    ClickInner(MainCommand::Refresh);
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
