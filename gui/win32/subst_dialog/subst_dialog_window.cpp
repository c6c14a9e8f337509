#include "gui/win32/subst_dialog/subst_dialog_window.h"

#include <shellapi.h>

#include "gui/win32/subst_dialog/subst_dialog_ids.h"

namespace tw::gui {

SubstDialogWindow::SubstDialogWindow() : Dialog(IDD_SUBST_DIALOG) {}

SubstDialogWindow::~SubstDialogWindow() {
    if (headingFont_) DeleteObject(headingFont_);
    if (folderIcon_) DestroyIcon(folderIcon_);
}

void SubstDialogWindow::OnInitDialog() {
    // The heading: the dialog's font, bold and two points larger.
    headingFont_ = CreateHeadingFont(2);
    if (headingFont_) {
        SendDlgItemMessageA(hwnd(), IDC_SUBST_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
    }
    SendDlgItemMessageA(hwnd(), IDC_SUBST_LETTER, EM_LIMITTEXT, 1, 0);
}

void SubstDialogWindow::ShowFolderIcon() {
    // A folder picture from the shell where it has one; "..." otherwise.
    // Asked at the first showing: the shell's icons take long to load, and
    // the dialog is made, hidden, before the list is on screen.
    if (folderIconAsked_) return;
    folderIconAsked_ = true;
    SHSTOCKICONINFO folder{};
    folder.cbSize = sizeof folder;
    if (SUCCEEDED(SHGetStockIconInfo(SIID_FOLDER, SHGSI_ICON | SHGSI_SMALLICON, &folder)) && folder.hIcon) {
        folderIcon_ = folder.hIcon;
        HWND browse = Item(IDC_SUBST_BROWSE);
        SetWindowLongPtrA(browse, GWL_STYLE, GetWindowLongPtrA(browse, GWL_STYLE) | BS_ICON);
        SendMessageA(browse, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(folderIcon_));
    }
}

void SubstDialogWindow::Load() {
    SetDlgItemTextA(hwnd(), IDC_SUBST_LETTER, form_->Get(SubstControl::LetterEdit).text.c_str());
    SetDlgItemTextA(hwnd(), IDC_SUBST_PATH, form_->Get(SubstControl::PathEdit).text.c_str());
    CheckDlgButton(hwnd(), IDC_SUBST_ADD_TO_STARTUP,
                   form_->Get(SubstControl::AddToStartup).checked ? BST_CHECKED : BST_UNCHECKED);
}

void SubstDialogWindow::Store() {
    form_->SetText(SubstControl::LetterEdit, ControlText(Item(IDC_SUBST_LETTER)));
    form_->SetText(SubstControl::PathEdit, ControlText(Item(IDC_SUBST_PATH)));
    form_->Get(SubstControl::AddToStartup).checked =
        IsDlgButtonChecked(hwnd(), IDC_SUBST_ADD_TO_STARTUP) == BST_CHECKED;
}

ModalResult SubstDialogWindow::Run(FormLogic& form) {
    form_ = &form;
    result_ = ModalResult::Cancel;
    Fill();
    form.SetWindow(reinterpret_cast<std::uintptr_t>(hwnd()));
    ShowFolderIcon();
    Load();
    SetFocus(Item(IDC_SUBST_LETTER));
    ShowModal();
    Store();
    form.SetWindow(0);
    form_ = nullptr;
    return result_;
}

bool SubstDialogWindow::OnCommand(int id, int) {
    if (!form_) return false;
    switch (id) {
        case IDOK: result_ = ModalResult::OK; return false;  // the base closes the dialog
        case IDCANCEL: result_ = ModalResult::Cancel; return false;
        case IDC_SUBST_BROWSE:
            // The logic browses; the field shows what it chose.
            Store();
            form_->Click(SubstControl::BrowseButton);
            Load();
            return true;
        default: return false;
    }
}

}  // namespace tw::gui
