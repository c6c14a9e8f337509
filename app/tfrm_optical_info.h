// "Optical Information": the identity a CD or DVD drive gives of itself, its
// capabilities, and its tray and inserted disc. Every query opens the drive
// for itself and closes it before the handler returns.
#pragma once
#include <string>

#include "app/component_table.h"
#include "app/form_logic.h"
#include "app/rights_line.h"
#include "platform/platform.h"

namespace tw {

enum class OpticalControl {
    Title,
    DriveLabel,
    DriveChooser,    // the CD and DVD drives, "E: [label]"
    Vendor,          // INQUIRY characters 1-8
    Product,         // 9-24
    Revision,        // 25-28, cleaned
    VendorSpecific,  // 29-48, trimmed
    Capabilities,    // one line of the capability text per entry
    OpenTray,
    CloseTray,
    AnalyseDisk,
    Refresh,  // the window's pop-up "Refresh", run when it is shown
};

inline constexpr ComponentEntry<OpticalControl> kOpticalControls[] = {
    {OpticalControl::Title, "Label1"},         {OpticalControl::DriveLabel, "Label2"},
    {OpticalControl::DriveChooser, "cbDrive"}, {OpticalControl::Vendor, "Edit1"},
    {OpticalControl::Product, "Edit2"},        {OpticalControl::Revision, "Edit3"},
    {OpticalControl::VendorSpecific, "Edit4"}, {OpticalControl::Capabilities, "ListBox1"},
    {OpticalControl::OpenTray, "Button1"},     {OpticalControl::CloseTray, "Button2"},
    {OpticalControl::AnalyseDisk, "Button3"},  {OpticalControl::Refresh, "Refresh1"},
};
static_assert(ListsEveryIdInOrder(kOpticalControls));
constexpr std::string_view ComponentName(OpticalControl id) { return kOpticalControls[static_cast<int>(id)].name; }

class TfrmOpticalInfo : public FormLogic {
public:
    TfrmOpticalInfo(platform::Platform& platform, Dialogs& dialogs);

    void FormShow() override;
    // Lists the CD and DVD drives again and shows the first.
    void Refresh1Click();
    // Shows the identity and capabilities of the chosen drive.
    void cbDriveChange();
    void Button1Click();  // Open Tray
    void Button2Click();  // Close Tray
    void Button3Click();  // Analyse Disk

    // The identity fields and capability lines of drive `letter`, whatever
    // the chooser holds (the command-line report uses it too).
    void ShowDrive(char letter);
    // The name of the disc profile in drive `letter`, empty when the drive
    // cannot be asked or names no profile the program knows.
    std::string InsertedProfileName(char letter);

private:
    // The letter of the chooser's text; none when it is empty.
    std::optional<char> ChosenLetter() const;
    // Empties the identity fields and the capability list.
    void ClearDrive();

    platform::Platform& platform_;
};

}  // namespace tw
