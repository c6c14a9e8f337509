#include "app/taboutbox.h"

namespace tw {

TAboutBox::TAboutBox(Dialogs& dialogs) : FormLogic("TAboutBox", "About", dialogs) {
    auto add = [&](AboutControl id, ComponentKind kind, std::string caption) -> Component& {
        Component c;
        c.kind = kind;
        c.caption = std::move(caption);
        Declare(id, std::move(c));
        return Get(id);
    };
    add(AboutControl::ProductName, ComponentKind::Label, kProgramName);
    add(AboutControl::Version, ComponentKind::Label, std::string("Version ") + Version());
    add(AboutControl::OkButton, ComponentKind::Button, "OK").modalResult = ModalResult::OK;
}

const char* TAboutBox::Version() { return TW_VERSION; }

}  // namespace tw
