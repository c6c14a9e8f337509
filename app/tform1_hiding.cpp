// Hide and reveal the selected drive letter in the shell.
#include "actions/drive_hiding.h"
#include "actions/drive_visibility.h"
#include "app/tform1.h"
#include "platform/app_error.h"

namespace tw {

namespace {

// The key that can't be opened would otherwise end in a success text for a
// change that never happened.
void RefuseUnavailableKey(actions::PolicyChange change) {
    if (change == actions::PolicyChange::KeyUnavailable) {
        throw AppError(std::string("The hidden-drive policy could not be changed: the registry key HKEY_CURRENT_USER") +
                       actions::kPolicyKey + " could not be opened.");
    }
}

}  // namespace

void TForm1::HideDrive1Click() {
    const auto letter = SelectedLetter();
    if (!letter) {
        dialogs_.MessageBox("You have not highlighted a drive!", BoxKind::Warning, Buttons::OK);
        return;
    }
    const std::string l(1, *letter);
    if (dialogs_.MessageBox("Are you Sure you want to hide drive " + l + ":", BoxKind::Confirmation, Buttons::YesNo) !=
        ModalResult::Yes) {
        return;
    }
    RefuseUnavailableKey(actions::HideDrive(platform_.registry(), *letter));
    dialogs_.MessageBox("Drive " + l +
                            ": has now been hidden. You must restart windows for change to take effect. Note: Drive "
                            "will still be visible in Tarnwell.",
                        BoxKind::Information, Buttons::OK);
}

void TForm1::UnhideDrive1Click() {
    const auto letter = SelectedLetter();
    if (!letter) {
        dialogs_.MessageBox("You have not highlighted a drive!", BoxKind::Warning, Buttons::OK);
        return;
    }
    RefuseUnavailableKey(actions::UnhideDrive(platform_.registry(), *letter));
    dialogs_.MessageBox("Drive " + std::string(1, *letter) +
                            ": has now been Unhidden. You must restart windows for change to take effect.",
                        BoxKind::Information, Buttons::OK);
}

}  // namespace tw
