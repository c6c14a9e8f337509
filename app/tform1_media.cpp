// Load, eject, lock and unlock the medium of the selected drive, the default
// CD device's tray, and the kind of disc inserted. None of them refreshes the
// list: the next refresh shows what changed.
#include <algorithm>
#include <string>

#include "actions/media_control.h"
#include "actions/system_message.h"
#include "app/tform1.h"
#include "optical/profile_table.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;

void TForm1::LoadMedia1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    if (platform_.kernel().GetDriveTypeA(RootPath(*letter).c_str()) != DRIVE_CDROM) {
        throw AppError("CD/DVD drive not selected");
    }
    // Whether the tray closed is not examined: the drive shows it.
    if (!actions::LoadMedium(platform_.device(), *letter).opened) {
        dialogs_.MessageBox("Error", BoxKind::Plain, Buttons::OK);
    }
}

void TForm1::EjectMedia1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    const UINT type = platform_.kernel().GetDriveTypeA(RootPath(*letter).c_str());
    if (type != DRIVE_CDROM && type != DRIVE_REMOVABLE) throw AppError("The selected drive is not a CD/DVD drive.");
    const actions::MediaOutcome outcome = actions::EjectMedium(platform_.device(), *letter);
    if (!outcome.opened) dialogs_.MessageBox("Error", BoxKind::Plain, Buttons::OK);
    if (!outcome.done) {
        dialogs_.MessageBox("Eject Failed: " + Decimal(outcome.error), BoxKind::Plain, Buttons::OK);
    }
}

bool TForm1::SetDoorLock(bool lock) {
    const auto letter = SelectedLetter();
    if (!letter) return false;
    // The drive counts locks and opens only when none is left, so an unlock
    // releases every lock this program set on it (at least one request).
    int& held = doorLocks_[*letter];
    const actions::MediaOutcome outcome =
        actions::SetDoorLock(platform_.device(), *letter, lock, lock ? 1 : std::max(1, held));
    held = lock ? held + outcome.sent : std::max(0, held - outcome.sent);
    if (!outcome.opened) {
        dialogs_.MessageBox("Cannot lock/unlock non-CDROM!", BoxKind::Error, Buttons::OK);
        return false;
    }
    const std::string drive = "CD/DVD Drive " + std::string(1, *letter) + ":";
    if (!outcome.done) {
        // A refused request must not read as a door that moved.
        dialogs_.MessageBox(drive + " the door could not be " + (lock ? "locked" : "unlocked") + ": " +
                                actions::SystemMessage(platform_.kernel(), outcome.error),
                            BoxKind::Error, Buttons::OK);
        return false;
    }
    dialogs_.MessageBox(drive + (lock ? " door now locked." : " door now unlocked."), BoxKind::Information,
                        Buttons::OK);
    return true;
}

void TForm1::LockCDDoor1Click() { SetDoorLock(true); }

void TForm1::UnlockCDDoor1Click() { SetDoorLock(false); }

void TForm1::OpendefaultCD1Click() { actions::DefaultTray(platform_.multimedia(), true, dialogs_.OwnerWindow()); }

void TForm1::CloseDefaultCD1Click() { actions::DefaultTray(platform_.multimedia(), false, dialogs_.OwnerWindow()); }

std::string TForm1::InsertedMediaReport(Platform& platform, char letter, actions::MediaOutcome* asked) {
    if (platform.kernel().GetDriveTypeA(RootPath(letter).c_str()) != DRIVE_CDROM) {
        throw AppError("CD/DVD drive not selected");
    }
    const std::string_view name = optical::ProfileName(actions::InsertedMediaProfile(platform.device(), letter, asked));
    // A drive that cannot be asked, or names a profile the program does not
    // know, reads as such rather than as an empty name.
    return std::string(1, letter) + ": Contains disk type: " + (name.empty() ? "Unknown" : std::string(name));
}

void TForm1::InsertedMedia1Click() {
    const auto letter = SelectedLetter();
    if (!letter) return;
    dialogs_.MessageBox(InsertedMediaReport(platform_, *letter), BoxKind::Plain, Buttons::OK);
}

}  // namespace tw
