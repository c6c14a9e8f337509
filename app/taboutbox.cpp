#include "app/taboutbox.h"

namespace tw {

TAboutBox::TAboutBox(Dialogs& dialogs) : FormLogic(FormId::AboutBox, dialogs) {
    Declare(AboutControl::ProductName, ComponentKind::Label, kProgramName);
    Declare(AboutControl::Version, ComponentKind::Label, std::string("Version ") + Version());
    Declare(AboutControl::HelpText, ComponentKind::Label, HelpText());
    Declare(AboutControl::OkButton, ComponentKind::Button, "OK").modalResult = ModalResult::OK;
}

const char* TAboutBox::Version() { return TW_VERSION; }

const char* TAboutBox::HelpText() {
    return "The list shows one row per drive letter.\r\n"
           "\r\n"
           "Drive: the letter. Label: the volume's name, or Not mounted when the drive holds no medium.\r\n"
           "Type and Additional Info: the kind of drive and what stands behind it: the folder of a\r\n"
           "substitute drive, the share of a network drive, the kind of a CD or DVD writer.\r\n"
           "Size, Used, Available: the volume's size, the space in use and the space you may still use.\r\n"
           "Bytes Free: the space you may use, in bytes. Format: the file system.\r\n"
           "Volume Serial: the serial number the volume was formatted with.\r\n"
           "% Free: the space you may use as a share of the size.\r\n"
           "Visibility: Hidden when the drive is hidden from Explorer.\r\n"
           "Vendor and Product Id: the device's maker and model.\r\n"
           "\r\n"
           "Colours: maroon, less than 5 % free (not on CDs); blue, hidden from Explorer;\r\n"
           "grey, not mounted or a disconnected network drive. Every other row is shaded.\r\n"
           "\r\n"
           "Keys: F5 refreshes, Ctrl+C copies the selected rows (Ctrl+A selects them all),\r\n"
           "Ctrl+S saves the list (File > Save List As...), F1 shows this page.\r\n"
           "The list follows drives as they come and go while Auto Refresh is on.\r\n"
           "Tarnwell keeps no settings file: every option starts afresh at each start.";
}

}  // namespace tw
