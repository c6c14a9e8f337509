#include "app/taboutbox.h"

namespace tw {

TAboutBox::TAboutBox(Dialogs& dialogs) : FormLogic("TAboutBox", "About", dialogs) {
    Declare(AboutControl::ProductName, ComponentKind::Label, kProgramName);
    Declare(AboutControl::Version, ComponentKind::Label, std::string("Version ") + Version());
    Declare(AboutControl::OkButton, ComponentKind::Button, "OK").modalResult = ModalResult::OK;
}

const char* TAboutBox::Version() { return TW_VERSION; }

}  // namespace tw
