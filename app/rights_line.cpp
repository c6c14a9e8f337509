#include "app/rights_line.h"

namespace tw {

Component RightsLine(std::string text) {
    Component c;
    c.kind = ComponentKind::Label;
    c.caption = "Rights";
    c.text = std::move(text);
    c.visible = false;
    return c;
}

Component RestartButton() {
    Component c;
    c.kind = ComponentKind::Button;
    c.caption = "Restart as Administrator";
    c.shield = true;
    c.visible = false;
    return c;
}

void OfferRestart(FormLogic& window, bool missing, std::function<void()> restart) {
    window.Get(RightsControl::Line).visible = missing;
    Component& button = window.Get(RightsControl::Restart);
    button.visible = missing;
    button.onClick = std::move(restart);
}

}  // namespace tw
