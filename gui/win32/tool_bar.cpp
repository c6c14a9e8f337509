#include "gui/win32/tool_bar.h"

#include <iterator>
#include <vector>

namespace tw::gui {

void ToolBar::Create(HWND parent, UINT controlId, HFONT font) {
    hwnd_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
                                CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                            GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(hwnd_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SetFont(font);

    std::vector<TBBUTTON> buttons;
    for (ComponentSlot slot = 0; slot < form_.ComponentCount(); ++slot) {
        const Component& c = form_.At(slot);
        if (c.kind != ComponentKind::ToolButton || c.parent != KeyOf(MainMenu::ToolBar) || !c.visible) continue;
        TBBUTTON b{};
        b.iBitmap = I_IMAGENONE;
        b.idCommand = static_cast<int>(commands_.IdOf(slot));
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        if (!c.dropDownMenu.empty()) b.fsStyle |= BTNS_DROPDOWN;
        // The caption lives as long as the form; the toolbar copies it anyway.
        b.iString = reinterpret_cast<INT_PTR>(c.caption.c_str());
        buttons.push_back(b);
    }
    SendMessageA(hwnd_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

void ToolBar::SetFont(HFONT font) {
    if (!hwnd_) return;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
}

int ToolBar::Height() const {
    if (!hwnd_) return 0;
    const DWORD size = static_cast<DWORD>(SendMessageA(hwnd_, TB_GETBUTTONSIZE, 0, 0));
    return HIWORD(size) + 2;
}

const char* ToolBar::HintOf(UINT id) const {
    const Component* c = commands_.ComponentOf(id);
    return c ? c->hint.c_str() : "";
}

void ToolBar::DropDown(UINT id, ComponentKey menu, const Route& route) {
    RECT rc{};
    SendMessageA(hwnd_, TB_GETRECT, id, reinterpret_cast<LPARAM>(&rc));
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    if (auto chosen = TrackPopup(GetParent(hwnd_), form_, commands_, menu, POINT{rc.left, rc.bottom}, &rc)) {
        route(*chosen);
    }
}

bool ToolBar::OnNotify(const NMHDR* header, LRESULT& result, const Route& route) {
    if (!hwnd_) return false;
    const bool fromToolBar = header->hwndFrom == hwnd_;
    switch (header->code) {
        case TBN_DROPDOWN: {
            if (!fromToolBar) return false;
            const auto* nm = reinterpret_cast<const NMTOOLBARA*>(header);
            const Component* button = commands_.ComponentOf(static_cast<UINT>(nm->iItem));
            if (button && !button->dropDownMenu.empty()) {
                DropDown(static_cast<UINT>(nm->iItem), button->dropDownMenu, route);
            }
            result = TBDDRET_DEFAULT;
            return true;
        }
        case NM_RCLICK: {
            if (!fromToolBar) return false;
            const auto* nm = reinterpret_cast<const NMMOUSE*>(header);
            const Component* button = commands_.ComponentOf(static_cast<UINT>(nm->dwItemSpec));
            // A button's own right-click menu, elsewhere the toolbar's.
            const ComponentKey menu =
                button && !button->rightClickMenu.empty() ? button->rightClickMenu : KeyOf(MainMenu::ToolBarPopup);
            POINT at{};
            GetCursorPos(&at);
            if (auto chosen = TrackPopup(GetParent(hwnd_), form_, commands_, menu, at)) route(*chosen);
            result = TRUE;
            return true;
        }
        case TBN_GETINFOTIPA: {
            if (!fromToolBar) return false;
            auto* tip = reinterpret_cast<NMTBGETINFOTIPA*>(const_cast<NMHDR*>(header));
            if (tip->pszText && tip->cchTextMax > 0)
                lstrcpynA(tip->pszText, HintOf(static_cast<UINT>(tip->iItem)), tip->cchTextMax);
            result = 0;
            return true;
        }
        case TBN_GETINFOTIPW: {
            if (!fromToolBar) return false;
            auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(const_cast<NMHDR*>(header));
            if (tip->pszText && tip->cchTextMax > 0) {
                MultiByteToWideChar(CP_ACP, 0, HintOf(static_cast<UINT>(tip->iItem)), -1, tip->pszText,
                                    tip->cchTextMax);
                tip->pszText[tip->cchTextMax - 1] = 0;
            }
            result = 0;
            return true;
        }
        case TTN_GETDISPINFOA: {
            if (!commands_.ComponentOf(static_cast<UINT>(header->idFrom))) return false;
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(header));
            info->hinst = nullptr;
            info->lpszText = const_cast<char*>(HintOf(static_cast<UINT>(header->idFrom)));
            result = 0;
            return true;
        }
        case TTN_GETDISPINFOW: {
            if (!commands_.ComponentOf(static_cast<UINT>(header->idFrom))) return false;
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
            info->hinst = nullptr;
            info->lpszText = info->szText;
            MultiByteToWideChar(CP_ACP, 0, HintOf(static_cast<UINT>(header->idFrom)), -1, info->szText,
                                static_cast<int>(std::size(info->szText)));
            info->szText[std::size(info->szText) - 1] = 0;
            result = 0;
            return true;
        }
        default: return false;
    }
}

}  // namespace tw::gui
