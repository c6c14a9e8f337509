// What the main window does to the medium in a drive: load (close the tray),
// eject, lock and unlock the door through the volume device, the default CD
// device's tray through the multimedia command strings, and the kind of disc
// inserted. Each request opens the device for itself and closes it before
// returning; outcomes come back as values, never as messages.
#pragma once
#include <string>

#include "platform/device.h"
#include "platform/multimedia.h"

namespace tw::actions {

// How one request on a drive went. `error` is the last error of the step
// that failed (the open or the request), 0 when both succeeded.
struct MediaOutcome {
    bool opened = false;
    bool done = false;
    platform::DWORD error = 0;
    int sent = 0;  // requests the drive took
};

// Closes the tray: IOCTL_STORAGE_LOAD_MEDIA on a read-only, shared open.
MediaOutcome LoadMedium(platform::Device& device, char letter);
// Ejects: IOCTL_STORAGE_EJECT_MEDIA on a read-only, shared open.
MediaOutcome EjectMedium(platform::Device& device, char letter);
// Locks (true) or unlocks the door: IOCTL_STORAGE_MEDIA_REMOVAL on an
// exclusive open, so no other program holds the drive meanwhile. The request
// goes `times` times on that one open, stopping at the first the drive
// refuses: the drive counts locks, and each unlock releases one.
MediaOutcome SetDoorLock(platform::Device& device, char letter, bool lock, int times = 1);

// The default CD audio device's tray, waiting until it has moved; the result
// of the command is the system's and not examined by callers.
platform::MCIERROR DefaultTray(platform::Multimedia& multimedia, bool open, platform::HWND callbackWindow);

// Moves the tray of the CD audio device of drive `letter` (MCI_SET_DOOR_OPEN
// or MCI_SET_DOOR_CLOSED): opens the device by its element name, sets the
// door, closes the device whether the door moved or not. The first failing
// command's error, 0 when all went through.
platform::MCIERROR DoorByMci(platform::Multimedia& multimedia, char letter, platform::DWORD doorFlag);

// The profile index of the disc in the drive (optical/profile_table.h), or
// -1 when the drive cannot be opened, does not answer or reports a profile
// the table does not name.
int InsertedMediaProfile(platform::Device& device, char letter, MediaOutcome* asked = nullptr);

}  // namespace tw::actions
