#include "gui/win32/list_report_window.h"

namespace tw::gui {

ListReportWindow::ListReportWindow(int templateId, ReportControls controls)
    : FormDialog(templateId), controls_(controls) {}

void ListReportWindow::OnInitDialog() {
    SendMessageA(Item(controls_.list), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP);
}

bool ListReportWindow::OnCommand(int id, int notifyCode) {
    if (id == IDOK) return true;  // Enter closes nothing
    if (!form_ || notifyCode != BN_CLICKED) return id == controls_.refresh || id == controls_.option;
    if (id == controls_.refresh) {
        Route([this] { form_->Click(controls_.refreshName); });
        return true;
    }
    if (controls_.option != 0 && id == controls_.option) {
        const bool checked = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
        Route([this, checked] { form_->SetChecked(controls_.optionName, checked); });
        return true;
    }
    return false;
}

void ListReportWindow::Sync() {
    if (!form_ || !hwnd()) return;
    SetDlgItemTextA(hwnd(), controls_.status, form_->Get(controls_.statusName).text.c_str());
    if (controls_.option != 0) {
        CheckDlgButton(hwnd(), controls_.option,
                       form_->Get(controls_.optionName).checked ? BST_CHECKED : BST_UNCHECKED);
    }
    SyncList();
}

void ListReportWindow::SyncList() {
    const Component& c = form_->Get(controls_.listName);
    HWND list = Item(controls_.list);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    if (c.columns != columns_) {
        while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
        }
        for (size_t i = 0; i < c.columns.size(); ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_SUBITEM;
            column.pszText = const_cast<char*>(c.columns[i].c_str());
            column.iSubItem = static_cast<int>(i);
            SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        columns_ = c.columns;
    }
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t r = 0; r < c.rows.size(); ++r) {
        const std::vector<std::string>& row = c.rows[r];
        for (size_t i = 0; i < row.size() && i < c.columns.size(); ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(i);
            item.pszText = const_cast<char*>(row[i].c_str());
            SendMessageA(list, i == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, i == 0 ? 0 : r,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    // Each column as wide as its widest cell or its heading, with room to
    // spare: some systems measure the heading a little short.
    HDC dc = GetDC(list);
    const int spare = MulDiv(12, dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96, 96);
    if (dc) ReleaseDC(list, dc);
    for (size_t i = 0; i < c.columns.size(); ++i) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
        const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width + spare, 0));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace tw::gui
