#include "gui/win32/report_table.h"

#include "gui/win32/dpi.h"

namespace tw::gui {

COLORREF ToneFill(Tone tone) {
    switch (tone) {
        case Tone::Good: return RGB(0x1E, 0x8C, 0x3C);
        case Tone::Caution: return RGB(0xE0, 0x8E, 0x00);
        case Tone::Bad: return RGB(0xC6, 0x28, 0x28);
        case Tone::Unknown: return RGB(0x80, 0x80, 0x80);
        default: return GetSysColor(COLOR_BTNFACE);
    }
}

COLORREF ToneText(Tone tone) {
    switch (tone) {
        case Tone::Good: return RGB(0x10, 0x60, 0x28);
        case Tone::Caution: return RGB(0x80, 0x50, 0x00);
        case Tone::Bad: return RGB(0xA0, 0x00, 0x00);
        case Tone::Unknown: return RGB(0x60, 0x60, 0x60);
        default: return GetSysColor(COLOR_WINDOWTEXT);
    }
}

COLORREF TonePale(Tone tone) {
    switch (tone) {
        case Tone::Good: return RGB(0xDC, 0xF2, 0xE0);
        case Tone::Caution: return RGB(0xFF, 0xE8, 0xB8);
        case Tone::Bad: return RGB(0xFF, 0xD4, 0xD4);
        case Tone::Unknown: return RGB(0xE8, 0xE8, 0xE8);
        default: return GetSysColor(COLOR_WINDOW);
    }
}

void ReportTable::Style(HWND list) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
}

void ReportTable::Show(HWND list, const Component& table) {
    if (table.columns == columns_ && table.rows == rows_ && table.rowTones == tones_) return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    if (table.columns != columns_) {
        while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
        }
        for (size_t i = 0; i < table.columns.size(); ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_SUBITEM;
            column.pszText = const_cast<char*>(table.columns[i].c_str());
            column.iSubItem = static_cast<int>(i);
            SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        columns_ = table.columns;
    }
    rows_ = table.rows;
    tones_ = table.rowTones;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t r = 0; r < rows_.size(); ++r) {
        for (size_t i = 0; i < rows_[r].size() && i < columns_.size(); ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(i);
            item.pszText = const_cast<char*>(rows_[r][i].c_str());
            SendMessageA(list, i == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, i == 0 ? 0 : r,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    // Each column as wide as its widest cell or its heading, whichever is
    // wider, so neither is cut short.
    for (size_t i = 0; i < columns_.size(); ++i) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
        const auto cells = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
        const int heading = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0,
                                                          reinterpret_cast<LPARAM>(columns_[i].c_str()))) +
                            MulDiv(16, static_cast<int>(DpiOf(list)), 96);
        if (heading > cells) SendMessageA(list, LVM_SETCOLUMNWIDTH, i, heading);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

LRESULT ReportTable::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            const size_t row = draw.nmcd.dwItemSpec;
            const Tone tone = row < tones_.size() ? tones_[row] : Tone::Plain;
            if (tone == Tone::Plain) return CDRF_DODEFAULT;
            draw.clrText = ToneText(tone);
            draw.clrTextBk = TonePale(tone);
            return CDRF_NEWFONT;
        }
        default: return CDRF_DODEFAULT;
    }
}

}  // namespace tw::gui
