#include "app/tfrm_optical_info.h"

#include <array>
#include <cstdint>

#include "actions/media_control.h"
#include "inventory/drive_chooser.h"
#include "optical/blank_reason.h"
#include "optical/inquiry_identity.h"
#include "optical/iso_disc_lib.h"
#include "optical/mmc_commands.h"
#include "optical/profile_table.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;

namespace {

// The disc library's wait pumps the windows' messages through the dialogs.
class DialogsPump final : public optical::MessagePump {
public:
    explicit DialogsPump(Dialogs& dialogs) : dialogs_(dialogs) {}
    void ProcessMessages() override { dialogs_.ProcessMessages(); }

private:
    Dialogs& dialogs_;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(text.substr(start, at - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The drive opened for reading and writing, shared, without the disc
// library's permission gate: identity and profile are asked of anyone.
HANDLE OpenForQuery(Device& device, char letter, DWORD flags) {
    return device.CreateFileA(VolumeDevicePath(letter).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, 0);
}

}  // namespace

TfrmOpticalInfo::TfrmOpticalInfo(Platform& platform, Dialogs& dialogs)
    : FormLogic(FormId::OpticalInfo, dialogs), platform_(platform) {
    using O = OpticalControl;
    Declare(O::Title, ComponentKind::Label, "Optical Information");
    Declare(O::DriveLabel, ComponentKind::Label, "Select Drive");
    Declare(O::DriveChooser, ComponentKind::ComboBox, "").onChange = [this] { cbDriveChange(); };
    Declare(O::Vendor, ComponentKind::Edit, "Vendor").readOnly = true;
    Declare(O::Product, ComponentKind::Edit, "Product ID").readOnly = true;
    Declare(O::Revision, ComponentKind::Edit, "Revision").readOnly = true;
    Declare(O::VendorSpecific, ComponentKind::Edit, "Vendor Spec").readOnly = true;
    Declare(O::Capabilities, ComponentKind::ListBox, "Detected Drive Capabilities");
    Declare(O::OpenTray, ComponentKind::Button, "Open Tray").onClick = [this] { Button1Click(); };
    Declare(O::CloseTray, ComponentKind::Button, "Close Tray").onClick = [this] { Button2Click(); };
    Declare(O::AnalyseDisk, ComponentKind::Button, "Analyse Disk").onClick = [this] { Button3Click(); };
    Declare(O::Refresh, ComponentKind::MenuItem, "Refresh").onClick = [this] { Refresh1Click(); };
    Declare(RightsControl::Line, RightsLine("Administrator rights are needed to read the drive's capabilities"));
    Declare(RightsControl::Restart, RestartButton());
}

void TfrmOpticalInfo::FormShow() {
    Dispatch([this] { Refresh1Click(); });
}

void TfrmOpticalInfo::Refresh1Click() {
    Component& chooser = Get(OpticalControl::DriveChooser);
    inventory::ComboBox box;
    inventory::FillDriveChooser(platform_.kernel(), box, DRIVE_CDROM, {});
    chooser.items = box.items;
    chooser.itemIndex = box.itemIndex;
    chooser.text = box.Text();
    // With no optical drive left nothing is shown, rather than the drive that
    // was shown before.
    if (chooser.text.empty()) ClearDrive();
    cbDriveChange();
}

std::optional<char> TfrmOpticalInfo::ChosenLetter() const {
    const std::string& text = Get(OpticalControl::DriveChooser).text;
    if (text.empty()) return std::nullopt;
    return text[0];
}

void TfrmOpticalInfo::cbDriveChange() {
    const auto letter = ChosenLetter();
    if (!letter) return;
    ShowDrive(*letter);
}

void TfrmOpticalInfo::ShowDrive(char letter) {
    WaitCursor hourglass(dialogs_);
    Device& device = platform_.device();

    std::string identity;
    if (const HANDLE h = OpenForQuery(device, letter, 0); h != INVALID_HANDLE_VALUE) {
        std::array<std::uint8_t, optical::kInquiryReplySize> reply{};
        if (optical::Inquiry(device, h, reply)) identity = optical::IdentityString(reply);
        device.CloseHandle(h);
    }
    const optical::InquiryFields fields = optical::SplitIdentity(identity);
    Get(OpticalControl::Vendor).text = fields.vendor;
    Get(OpticalControl::Product).text = fields.product;
    Get(OpticalControl::Revision).text = fields.revision;
    Get(OpticalControl::VendorSpecific).text = fields.vendorSpecific;

    std::string text;
    {
        DialogsPump pump(dialogs_);
        optical::TISODiscLib lib(platform_.kernel(), device, platform_.security(), pump);
        const HANDLE h = lib.OpenCDDrive(letter);
        lib.GetDriveCapabilities(h, text);
        if (h != INVALID_HANDLE_VALUE) lib.CloseDrive(h);
        // An empty list says why, where the drive lets that be known.
        if (text.empty()) text = optical::BlankReason(lib, device, letter);
    }
    Get(OpticalControl::Capabilities).items = SplitLines(text);
}

void TfrmOpticalInfo::Button1Click() {
    const auto letter = ChosenLetter();
    if (!letter) return;  // no optical drive to open
    const UINT type = platform_.kernel().GetDriveTypeA(RootPath(*letter).c_str());
    if (type != DRIVE_CDROM && type != DRIVE_REMOVABLE) throw AppError("Cannot eject drive.");
    actions::DoorByMci(platform_.multimedia(), *letter, MCI_SET_DOOR_OPEN);
}

void TfrmOpticalInfo::Button2Click() {
    const auto letter = ChosenLetter();
    if (!letter) return;
    if (platform_.kernel().GetDriveTypeA(RootPath(*letter).c_str()) != DRIVE_CDROM) {
        throw AppError("Cannot access drive.");
    }
    actions::DoorByMci(platform_.multimedia(), *letter, MCI_SET_DOOR_CLOSED);
}

void TfrmOpticalInfo::ClearDrive() {
    for (OpticalControl field :
         {OpticalControl::Vendor, OpticalControl::Product, OpticalControl::Revision, OpticalControl::VendorSpecific}) {
        Get(field).text.clear();
    }
    Get(OpticalControl::Capabilities).items.clear();
}

std::string TfrmOpticalInfo::InsertedProfileName(char letter) {
    return std::string(optical::ProfileName(actions::InsertedMediaProfile(platform_.device(), letter)));
}

void TfrmOpticalInfo::Button3Click() {
    // Without a drive there is nothing to open, which is reported as a drive
    // that cannot be opened is.
    const auto letter = ChosenLetter();
    const std::string name = letter ? InsertedProfileName(*letter) : std::string();
    if (name.empty()) throw AppError("Error reading disc!");
    dialogs_.MessageBox("The Inserted media is " + name, BoxKind::Information, Buttons::OK);
}

}  // namespace tw
