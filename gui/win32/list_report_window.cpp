#include "gui/win32/list_report_window.h"

namespace tw::gui {

ListReportWindow::ListReportWindow(int templateId, ReportControls controls)
    : FormDialog(templateId), controls_(controls) {}

void ListReportWindow::OnInitDialog() { ReportTable::Style(Item(controls_.list)); }

bool ListReportWindow::OnCommand(int id, int notifyCode) {
    if (id == IDOK) return true;  // Enter closes nothing
    if (!form_ || notifyCode != BN_CLICKED) return id == controls_.refresh || id == controls_.option;
    if (id == controls_.refresh) {
        Route([this] { form_->ClickAt(form_->SlotFor(controls_.refreshKey)); });
        return true;
    }
    if (controls_.option != 0 && id == controls_.option) {
        const bool checked = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
        Route([this, checked] { form_->SetCheckedAt(form_->SlotFor(controls_.optionKey), checked); });
        return true;
    }
    return false;
}

void ListReportWindow::Sync() {
    if (!form_ || !hwnd()) return;
    SetDlgItemTextA(hwnd(), controls_.status, form_->Get(controls_.statusKey).text.c_str());
    if (controls_.option != 0) {
        CheckDlgButton(hwnd(), controls_.option, form_->Get(controls_.optionKey).checked ? BST_CHECKED : BST_UNCHECKED);
    }
    table_.Show(Item(controls_.list), form_->Get(controls_.listKey));
}

}  // namespace tw::gui
