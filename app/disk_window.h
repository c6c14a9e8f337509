// What the disk windows share: their chooser of fixed drives, which starts at
// the drive the main window had selected, and the texts of their numbers.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/component.h"
#include "app/dialogs.h"
#include "app/form_logic.h"
#include "platform/platform.h"

namespace tw {

// What a value the disk did not report shows, never a 0 it did not say. The
// logic's texts are UTF-8; the window converts them for its controls.
inline constexpr const char* kNotReported = "\xE2\x80\x94";  // an em dash

// An entry of a disk window's chooser: a drive, or a disk with no letter.
struct DiskChoice {
    std::optional<char> letter;
    std::optional<std::uint32_t> disk;  // a disk with no letter: its number
    bool operator==(const DiskChoice&) const = default;
};

// A window about one fixed drive at a time, chosen in its "cbDrive" combo
// box, or one disk that has no drive letter. Each showing lists them again
// (its "Refresh" too) and starts at the entry chosen last, or the main
// window's selection.
class FixedDriveForm : public FormLogic {
public:
    FixedDriveForm(FormId id, platform::Platform& platform, Dialogs& dialogs);

    void FormShow() override;
    void Refresh1Click();
    void cbDriveChange();

    // The drive the next showing starts at (the main window's selection);
    // the first entry when it is not one.
    void SetStartDrive(std::optional<char> letter) { start_ = {letter, std::nullopt}; }
    // The report of drive `letter`, whatever the chooser holds.
    virtual void ShowDrive(char letter) = 0;
    // The report of disk `number`, which no drive letter names.
    virtual void ShowDisk(std::uint32_t number) = 0;

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
    DiskChoice start_;
    std::vector<DiskChoice> choices_;  // what each entry of the chooser shows
};

// "465.76 GB (500,107,862,016 bytes)" in the user's separators.
std::string DiskSizeText(platform::Locale& locale, std::uint64_t bytes);
// The disk of drive `letter` as the S.M.A.R.T. reads name it: the volume's
// disk and partition numbers on the NT family; on the 9x family, whose one
// SMART driver serves every disk, 0 and "\\.\SMARTVSD", and no partition.
// None, with the text of why not, when the volume names no disk.
struct ReadableDisk {
    std::optional<std::uint32_t> number;
    std::optional<std::uint32_t> partition;  // none under the 9x driver, which has no partitions
    std::string path;                        // "\\.\PhysicalDrive0"
    std::string error;                       // "Cannot find the physical disk of drive C: ..."
};
ReadableDisk DiskOfDrive(platform::Platform& platform, char letter);

}  // namespace tw
