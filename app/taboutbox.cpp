#include "app/taboutbox.h"

namespace tw {

TAboutBox::TAboutBox(Dialogs& dialogs) : FormLogic("TAboutBox", "About", dialogs) {
    auto add = [&](const char* name, ComponentKind kind, std::string caption) {
        Component c;
        c.name = name;
        c.kind = kind;
        c.caption = std::move(caption);
        Declare(std::move(c));
    };
    add("ProductName", ComponentKind::Label, kProgramName);
    add("Version", ComponentKind::Label, std::string("Version ") + Version());
    add("OKButton", ComponentKind::Button, "OK");
    Get("OKButton").modalResult = ModalResult::OK;
}

const char* TAboutBox::Version() { return TW_VERSION; }

}  // namespace tw
