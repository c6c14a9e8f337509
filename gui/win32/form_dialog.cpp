#include "gui/win32/form_dialog.h"

namespace tw::gui {

void FormDialog::Show(FormLogic& form) {
    form_ = &form;
    Fill();
    form.SetWindow(reinterpret_cast<std::uintptr_t>(hwnd()));
    OnShowing(form);
    ShowModeless();
    Route([&form] { form.FormShow(); });
}

void FormDialog::Route(const std::function<void()>& event) {
    if (!form_ || busy_) return;
    busy_ = true;
    try {
        event();
    } catch (...) {
        busy_ = false;
        throw;
    }
    Sync();
    busy_ = false;
}

INT_PTR FormDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR && busy_) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

void SetTextIfChanged(HWND control, const std::string& text) {
    if (ControlText(control) != text) SetWindowTextA(control, text.c_str());
}

void SetComboItems(HWND combo, const std::vector<std::string>& items, std::vector<std::string>& shown) {
    if (items == shown) return;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    shown = items;
}

}  // namespace tw::gui
