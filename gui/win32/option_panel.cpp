#include "gui/win32/option_panel.h"

#include "gui/win32/dpi.h"

namespace tw::gui {

void OptionPanel::Create(HWND parent) {
    for (ComponentSlot slot = 0; slot < form_.ComponentCount(); ++slot) {
        const Component& c = form_.At(slot);
        if (c.kind != ComponentKind::CheckBox || c.parent != KeyOf(MainMenu::OptionPanel) || !c.visible) continue;
        // BS_CHECKBOX, not BS_AUTOCHECKBOX: the mark is the logic's to set.
        HWND box = CreateWindowExA(
            0, "BUTTON", c.caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(commands_.IdOf(slot))), GetModuleHandleA(nullptr), nullptr);
        boxes_.push_back(Box{box, slot});
    }
    Sync();
}

void OptionPanel::Measure(UINT dpi, HFONT font) {
    if (font == measuredFont_ && dpi == measuredDpi_) return;
    measuredFont_ = font;
    measuredDpi_ = dpi;
    if (boxes_.empty()) return;
    HDC dc = GetDC(boxes_.front().hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    for (Box& box : boxes_) {
        SendMessageA(box.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const std::string& text = form_.At(box.slot).caption;
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        box.width = extent.cx + SystemMetricForDpi(SM_CXMENUCHECK, dpi) + Scale(10, dpi);
    }
    SelectObject(dc, old);
    ReleaseDC(boxes_.front().hwnd, dc);
}

int OptionPanel::Width(UINT dpi, HFONT font) {
    Measure(dpi, font);
    int width = 0;
    for (const Box& box : boxes_) width += box.width + Scale(6, dpi);
    return width;
}

int OptionPanel::Layout(int left, int top, UINT dpi, HFONT font) {
    Measure(dpi, font);
    const int height = Scale(22, dpi);
    int x = left;
    for (const Box& box : boxes_) {
        MoveWindow(box.hwnd, x, top, box.width, height, TRUE);
        x += box.width + Scale(6, dpi);
    }
    return height;
}

void OptionPanel::Sync() {
    for (const Box& box : boxes_) {
        // BM_SETCHECK sends no click, so this never feeds back into the logic;
        // a box already as it should be is left alone (each setting redraws it).
        const WPARAM state = form_.At(box.slot).checked ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageA(box.hwnd, BM_GETCHECK, 0, 0)) != state) {
            SendMessageA(box.hwnd, BM_SETCHECK, state, 0);
        }
    }
}

}  // namespace tw::gui
