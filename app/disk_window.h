// What the disk windows share: their chooser of fixed drives, which starts at
// the drive the main window had selected, and the texts of their numbers.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "app/component.h"
#include "app/dialogs.h"
#include "platform/platform.h"

namespace tw {

// The hourglass for as long as a disk is asked, also when the query raises.
class DiskWaitCursor {
public:
    explicit DiskWaitCursor(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.SetWaitCursor(true); }
    ~DiskWaitCursor() { dialogs_.SetWaitCursor(false); }
    DiskWaitCursor(const DiskWaitCursor&) = delete;
    DiskWaitCursor& operator=(const DiskWaitCursor&) = delete;

private:
    Dialogs& dialogs_;
};

// Fills `chooser` with the shared drive-chooser fill of the drives of
// `driveType` and chooses the entry of `preferred` when it is listed, entry 0
// otherwise.
void FillDiskChooser(platform::Kernel& kernel, Component& chooser, platform::UINT driveType,
                     std::optional<char> preferred);
// The letter of the chooser's text; none when it is empty or no letter.
std::optional<char> ChooserLetter(const Component& chooser);

// "465.76 GB (500,107,862,016 bytes)" in the user's separators.
std::string DiskSizeText(platform::Locale& locale, std::uint64_t bytes);
// A whole number in decimal digits, no separators.
std::string Decimal(std::int64_t n);
// "\\.\PhysicalDrive0".
std::string PhysicalDrivePath(std::uint32_t number);
// The system's text for `error`, or "error N" when it has none.
std::string ErrorText(platform::Kernel& kernel, platform::DWORD error);

}  // namespace tw
