// What the disk windows share: their chooser of fixed drives, which starts at
// the drive the main window had selected, and the texts of their numbers.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "app/component.h"
#include "app/dialogs.h"
#include "app/form_logic.h"
#include "platform/platform.h"

namespace tw {

// What a value the disk did not report shows, never a 0 it did not say. The
// logic's texts are UTF-8; the window converts them for its controls.
inline constexpr const char* kNotReported = "\xE2\x80\x94";  // an em dash

// A window about one fixed drive at a time, chosen in its "cbDrive" combo
// box. Each showing lists the fixed drives again (its pop-up "Refresh" too)
// and starts at the drive chosen last, or the main window's selection.
class FixedDriveForm : public FormLogic {
public:
    FixedDriveForm(FormId id, platform::Platform& platform, Dialogs& dialogs);

    void FormShow() override;
    void Refresh1Click();
    void cbDriveChange();

    // The drive the next showing starts at (the main window's selection);
    // the first fixed drive when it is not one.
    void SetStartDrive(std::optional<char> letter) { startDrive_ = letter; }
    // The report of drive `letter`, whatever the chooser holds.
    virtual void ShowDrive(char letter) = 0;

    // The report as the window shows it: its title, the drive, each field
    // and finding under its caption, the table a tab-separated line a row.
    // Lines end in CR LF, as Windows wants in files and on the clipboard.
    std::string ReportText() const;
    // The whole report on the clipboard.
    void Copy1Click();
    // Asks for a file and saves the report there: as JSON for a ".json" name
    // or the JSON type, as text otherwise.
    void SaveAs1Click();

protected:
    static constexpr const char* kChooser = "cbDrive";
    // Nothing to choose: every field empties and `text` says why.
    virtual void ShowNothing(const std::string& text) = 0;
    // The report as the JSON tarnwell-cli prints for it; none when no disk
    // was read.
    virtual std::optional<std::string> ReportJson() const = 0;

    platform::Platform& platform_;

private:
    std::optional<char> startDrive_;
};

// Fills `chooser` with the shared drive-chooser fill of the drives of
// `driveType` and chooses the entry of `preferred` when it is listed, entry 0
// otherwise.
void FillDiskChooser(platform::Kernel& kernel, Component& chooser, platform::UINT driveType,
                     std::optional<char> preferred);

// "465.76 GB (500,107,862,016 bytes)" in the user's separators.
std::string DiskSizeText(platform::Locale& locale, std::uint64_t bytes);
// The disk of drive `letter` as the S.M.A.R.T. reads name it: the volume's
// disk number on the NT family; on the 9x family, whose one SMART driver
// serves every disk, 0 and "\\.\SMARTVSD". None, with the text of why not,
// when the volume names no disk.
struct ReadableDisk {
    std::optional<std::uint32_t> number;
    std::uint32_t partition = 0;
    std::string path;   // "\\.\PhysicalDrive0"
    std::string error;  // "Cannot find the physical disk of drive C: ..."
};
ReadableDisk DiskOfDrive(platform::Platform& platform, char letter);

}  // namespace tw
