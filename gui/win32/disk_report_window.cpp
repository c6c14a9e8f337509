#include "gui/win32/disk_report_window.h"

#include "gui/win32/dpi.h"

namespace tw::gui {

namespace {

std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t tab; (tab = row.find('\t', start)) != std::string::npos; start = tab + 1) {
        cells.push_back(row.substr(start, tab - start));
    }
    cells.push_back(row.substr(start));
    return cells;
}

}  // namespace

COLORREF ToneFill(Tone tone) {
    switch (tone) {
        case Tone::Good: return RGB(0x1E, 0x8C, 0x3C);
        case Tone::Caution: return RGB(0xE0, 0x8E, 0x00);
        case Tone::Bad: return RGB(0xC6, 0x28, 0x28);
        default: return GetSysColor(COLOR_BTNFACE);
    }
}

COLORREF ToneText(Tone tone) {
    switch (tone) {
        case Tone::Good: return RGB(0x10, 0x60, 0x28);
        case Tone::Caution: return RGB(0x80, 0x50, 0x00);
        case Tone::Bad: return RGB(0xA0, 0x00, 0x00);
        default: return GetSysColor(COLOR_WINDOWTEXT);
    }
}

COLORREF TonePale(Tone tone) {
    switch (tone) {
        case Tone::Good: return RGB(0xDC, 0xF2, 0xE0);
        case Tone::Caution: return RGB(0xFF, 0xE8, 0xB8);
        case Tone::Bad: return RGB(0xFF, 0xD4, 0xD4);
        default: return GetSysColor(COLOR_WINDOW);
    }
}

DiskReportWindow::DiskReportWindow(const ReportLayout& layout) : FormDialog(layout.templateId), layout_(layout) {}

DiskReportWindow::~DiskReportWindow() {
    if (headingFont_) DeleteObject(headingFont_);
    if (badgeFont_) DeleteObject(badgeFont_);
}

void DiskReportWindow::OnInitDialog() {
    headingFont_ = CreateHeadingFont(4);
    if (headingFont_) {
        SendDlgItemMessageA(hwnd(), layout_.title, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
    }
    badgeFont_ = CreateHeadingFont(2);
    if (layout_.table) {
        SendMessageA(Item(layout_.table), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    }
}

void DiskReportWindow::OnShowing(FormLogic& form) {
    if (layout_.table && SendMessageA(Item(layout_.table), LVM_GETITEMCOUNT, 0, 0) == 0) {
        HWND header = reinterpret_cast<HWND>(SendMessageA(Item(layout_.table), LVM_GETHEADER, 0, 0));
        if (header && SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) == 0) {
            const std::vector<std::string>& columns = form.Get(layout_.tableComponent).columns;
            for (size_t i = 0; i < columns.size(); ++i) {
                LVCOLUMNA column{};
                column.mask = LVCF_TEXT | LVCF_SUBITEM | LVCF_WIDTH;
                column.pszText = const_cast<char*>(columns[i].c_str());
                column.iSubItem = static_cast<int>(i);
                column.cx = 60;
                SendMessageA(Item(layout_.table), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
            }
        }
    }
}

bool DiskReportWindow::OnCommand(int id, int notifyCode) {
    if (id == IDOK) return true;  // Enter closes nothing
    if (id != layout_.chooser) return false;
    // Setting the controls notifies too; only the user's choice goes on.
    if (Busy() || !form_ || notifyCode != CBN_SELCHANGE) return true;
    const int index = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
    if (index >= 0) Route([this, index] { form_->Choose(layout_.chooserComponent, index); });
    return true;
}

INT_PTR DiskReportWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || layout_.badge == 0 || static_cast<int>(wParam) != layout_.badge) break;
            DrawBadge(*item);
            return TRUE;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (!header || layout_.table == 0 || static_cast<int>(header->idFrom) != layout_.table ||
                header->code != NM_CUSTOMDRAW) {
                break;
            }
            SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, CustomDrawTable(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            if (!form_ || reinterpret_cast<HWND>(lParam) != Item(layout_.status)) break;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, ToneText(form_->Get(layout_.statusComponent).tone));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        default: break;
    }
    return FormDialog::HandleMessage(message, wParam, lParam);
}

void DiskReportWindow::DrawBadge(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!form_) return;
    const Component& verdict = form_->Get(layout_.badgeComponent);
    if (verdict.text.empty()) return;
    HBRUSH fill = CreateSolidBrush(ToneFill(verdict.tone));
    HPEN edge = CreatePen(PS_SOLID, 1, ToneText(verdict.tone));
    HGDIOBJ oldBrush = SelectObject(item.hDC, fill);
    HGDIOBJ oldPen = SelectObject(item.hDC, edge);
    const int round = (item.rcItem.bottom - item.rcItem.top) / 2;
    RoundRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom, round, round);
    SelectObject(item.hDC, oldPen);
    SelectObject(item.hDC, oldBrush);
    DeleteObject(edge);
    DeleteObject(fill);
    HGDIOBJ oldFont = badgeFont_ ? SelectObject(item.hDC, badgeFont_) : nullptr;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(0xFF, 0xFF, 0xFF));
    RECT text = item.rcItem;
    DrawTextA(item.hDC, verdict.text.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont) SelectObject(item.hDC, oldFont);
}

LRESULT DiskReportWindow::CustomDrawTable(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            const size_t row = draw.nmcd.dwItemSpec;
            const Tone tone = row < tableTones_.size() ? tableTones_[row] : Tone::Plain;
            if (tone == Tone::Plain) return CDRF_DODEFAULT;
            draw.clrText = ToneText(tone);
            draw.clrTextBk = TonePale(tone);
            return CDRF_NEWFONT;
        }
        default: return CDRF_DODEFAULT;
    }
}

void DiskReportWindow::Sync() {
    if (!form_ || !hwnd()) return;
    SyncChooser();
    for (const ReportField& field : layout_.fields) {
        SetTextIfChanged(Item(field.control), form_->Get(field.component).text);
    }
    SetTextIfChanged(Item(layout_.status), form_->Get(layout_.statusComponent).text);
    InvalidateRect(Item(layout_.status), nullptr, TRUE);
    if (layout_.badge) InvalidateRect(Item(layout_.badge), nullptr, TRUE);
    if (layout_.table) SyncTable();
}

void DiskReportWindow::SyncChooser() {
    const Component& chooser = form_->Get(layout_.chooserComponent);
    HWND combo = Item(layout_.chooser);
    SetComboItems(combo, chooser.items, chooserItems_);
    if (SendMessageA(combo, CB_GETCURSEL, 0, 0) != chooser.itemIndex) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chooser.itemIndex), 0);
    }
}

void DiskReportWindow::SyncTable() {
    const Component& table = form_->Get(layout_.tableComponent);
    if (table.items == tableItems_ && table.itemTones == tableTones_) return;
    tableItems_ = table.items;
    tableTones_ = table.itemTones;
    HWND list = Item(layout_.table);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t row = 0; row < tableItems_.size(); ++row) {
        const std::vector<std::string> cells = Cells(tableItems_[row]);
        for (size_t col = 0; col < cells.size() && col < table.columns.size(); ++col) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(col);
            item.pszText = const_cast<char*>(cells[col].c_str());
            SendMessageA(list, col == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, col == 0 ? 0 : row,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    // Each column as wide as its widest cell or its heading, whichever is
    // wider, so neither is cut short.
    for (size_t col = 0; col < table.columns.size(); ++col) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, col, LVSCW_AUTOSIZE);
        const auto cells = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, col, 0));
        const int heading = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0,
                                                          reinterpret_cast<LPARAM>(table.columns[col].c_str()))) +
                            MulDiv(16, static_cast<int>(DpiOf(list)), 96);
        if (heading > cells) SendMessageA(list, LVM_SETCOLUMNWIDTH, col, heading);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace tw::gui
