// ToolBar1: text buttons from the toolbar components, tool tips from their
// hints, drop-down arrows that open the buttons' menus, and a right click that
// opens a button's own menu or, elsewhere, the toolbar's pop-up menu.
#pragma once
#include <functional>
#include <string>

#include "app/tform1.h"
#include "gui/win32/command_menus.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

class ToolBar {
public:
    using Route = std::function<void(ComponentSlot slot)>;

    ToolBar(const TForm1& form, const CommandMap& commands) : form_(form), commands_(commands) {}

    void Create(HWND parent, UINT controlId, HFONT font);
    HWND hwnd() const { return hwnd_; }
    void SetFont(HFONT font);
    int Height() const;
    // Handles the toolbar's and its tool tips' notifications; true when handled.
    bool OnNotify(const NMHDR* header, LRESULT& result, const Route& route);

private:
    const char* HintOf(UINT id) const;
    void DropDown(UINT id, ComponentKey menu, const Route& route);

    const TForm1& form_;
    const CommandMap& commands_;
    HWND hwnd_ = nullptr;
};

}  // namespace tw::gui
