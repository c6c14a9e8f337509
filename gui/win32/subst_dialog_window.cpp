#include "gui/win32/subst_dialog_window.h"

#include <shellapi.h>

#include <string>

#include "gui/win32/dpi.h"

namespace tw::gui {

namespace {

enum ControlId : int {
    kLabel1 = 101,
    kLabel2,
    kLabel3,
    kEdit2,
    kEdit1,
    kSpeedButton1,
    kCheckBox1,
};

std::string TextOf(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void SubstDialogWindow::CreateControls(UINT dpi) {
    font_ = CreateMessageFont(dpi);
    headingFont_ = CreateMessageFont(dpi, true, 2);
    auto add = [&](const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h,
                   DWORD exStyle = 0) {
        HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, Scale(x, dpi), Scale(y, dpi),
                                 Scale(w, dpi), Scale(h, dpi), hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        return c;
    };
    HWND heading = add("STATIC", "Select drive letter and path for the new drive", 0, kLabel1, 12, 10, 440, 22);
    SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), TRUE);
    // The path column starts past the whole "Drive Letter" caption.
    add("STATIC", "Drive Letter", 0, kLabel2, 12, 42, 84, 16);
    add("EDIT", "", WS_TABSTOP | WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL, kEdit2, 12, 60, 40, 22, WS_EX_CLIENTEDGE);
    SendMessageA(Control(kEdit2), EM_LIMITTEXT, 1, 0);
    add("STATIC", "Path", 0, kLabel3, 104, 42, 80, 16);
    add("EDIT", "", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kEdit1, 104, 60, 310, 22, WS_EX_CLIENTEDGE);
    HWND browse = add("BUTTON", "...", WS_TABSTOP | BS_PUSHBUTTON, kSpeedButton1, 420, 59, 28, 24);
    // A folder picture from the shell where it has one; "..." otherwise.
    SHSTOCKICONINFO folder{};
    folder.cbSize = sizeof folder;
    if (SUCCEEDED(SHGetStockIconInfo(SIID_FOLDER, SHGSI_ICON | SHGSI_SMALLICON, &folder)) && folder.hIcon) {
        folderIcon_ = folder.hIcon;
        SetWindowLongPtrA(browse, GWL_STYLE, GetWindowLongPtrA(browse, GWL_STYLE) | BS_ICON);
        SendMessageA(browse, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(folderIcon_));
    }
    add("BUTTON", "Add to startup", WS_TABSTOP | BS_AUTOCHECKBOX, kCheckBox1, 12, 96, 200, 20);
    add("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 292, 130, 75, 26);
    add("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 374, 130, 75, 26);
    RECT frame{0, 0, Scale(464, dpi), Scale(168, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)));
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SubstDialogWindow::Load() {
    SetWindowTextA(Control(kEdit2), form_->Get("Edit2").text.c_str());
    SetWindowTextA(Control(kEdit1), form_->Get("Edit1").text.c_str());
    CheckDlgButton(hwnd(), kCheckBox1, form_->Get("CheckBox1").checked ? BST_CHECKED : BST_UNCHECKED);
}

void SubstDialogWindow::Store() {
    form_->SetText("Edit2", TextOf(Control(kEdit2)));
    form_->SetText("Edit1", TextOf(Control(kEdit1)));
    form_->Get("CheckBox1").checked = IsDlgButtonChecked(hwnd(), kCheckBox1) == BST_CHECKED;
}

ModalResult SubstDialogWindow::Run(FormLogic& form) {
    form_ = &form;
    result_ = ModalResult::Cancel;
    Load();
    SetFocus(Control(kEdit2));
    ShowModal();
    Store();
    form_ = nullptr;
    return result_;
}

LRESULT SubstDialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && form_) {
        switch (LOWORD(wParam)) {
            case IDOK: result_ = ModalResult::OK; break;
            case IDCANCEL: result_ = ModalResult::Cancel; break;
            case kSpeedButton1:
                // The logic browses; the field shows what it chose.
                Store();
                form_->Click("SpeedButton1");
                Load();
                return 0;
            default: break;
        }
    }
    if (message == WM_DESTROY) {
        if (font_) DeleteObject(font_);
        if (headingFont_) DeleteObject(headingFont_);
        if (folderIcon_) DestroyIcon(folderIcon_);
        font_ = headingFont_ = nullptr;
        folderIcon_ = nullptr;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tw::gui
