#include "gui/win32/work_window.h"

#include <algorithm>

#include "gui/win32/thread_worker.h"

namespace tw::gui {

WorkWindow::WorkWindow(int templateId, std::vector<ControlBinding> bindings)
    : FormDialog(templateId), bindings_(std::move(bindings)) {
    // The template names the progress bar's class, which must exist first.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

void WorkWindow::OnShowing(FormLogic& form) { work_ = dynamic_cast<WorkerForm*>(&form); }

bool WorkWindow::OnCommand(int id, int notifyCode) {
    if (id == IDOK) return true;  // Enter starts nothing by accident
    if (!work_ || Busy()) return false;
    for (const ControlBinding& b : bindings_) {
        if (b.control != id) continue;
        const ComponentSlot slot = form_->SlotFor(b.component);
        switch (form_->At(slot).kind) {
            case ComponentKind::Button:
                if (notifyCode == BN_CLICKED) Route([this, slot] { form_->ClickAt(slot); });
                return true;
            case ComponentKind::CheckBox:
                if (notifyCode == BN_CLICKED) {
                    const bool checked = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
                    Route([this, slot, checked] { form_->SetCheckedAt(slot, checked); });
                }
                return true;
            case ComponentKind::ComboBox:
                if (notifyCode == CBN_SELCHANGE) {
                    const int index = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
                    if (index >= 0) Route([this, slot, index] { form_->ChooseAt(slot, index); });
                }
                return true;
            default: return false;
        }
    }
    return false;
}

INT_PTR WorkWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWorkMessage) {
        if (work_) {
            work_->DeliverWork();
            Sync();
        }
        return TRUE;
    }
    return FormDialog::HandleMessage(message, wParam, lParam);
}

void WorkWindow::OnClose() {
    if (!work_) return;
    work_->FormClose();
    Sync();
}

void WorkWindow::SyncList(const Component& c, HWND control) {
    const bool combo = c.kind == ComponentKind::ComboBox;
    std::vector<std::string>& shown = shownItems_[GetDlgCtrlID(control)];
    const bool extends = c.items.size() >= shown.size() && std::equal(shown.begin(), shown.end(), c.items.begin());
    if (!extends) {
        SendMessageA(control, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        shown.clear();
    }
    for (size_t i = shown.size(); i < c.items.size(); ++i) {
        SendMessageA(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.items[i].c_str()));
    }
    if (!combo && c.items.size() != shown.size() && !c.items.empty()) {
        // The log follows its newest line.
        SendMessageA(control, LB_SETTOPINDEX, c.items.size() - 1, 0);
    }
    shown = c.items;
    if (combo && SendMessageA(control, CB_GETCURSEL, 0, 0) != c.itemIndex) {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(c.itemIndex), 0);
    }
}

void WorkWindow::Sync() {
    if (!form_ || !hwnd()) return;
    for (const ControlBinding& b : bindings_) {
        const Component& c = form_->Get(b.component);
        HWND control = Item(b.control);
        if (!control) continue;
        if (c.kind != ComponentKind::Label && c.kind != ComponentKind::ProgressBar &&
            c.kind != ComponentKind::ListBox && (IsWindowEnabled(control) != FALSE) != c.enabled) {
            EnableWindow(control, c.enabled);
        }
        switch (c.kind) {
            case ComponentKind::CheckBox:
                CheckDlgButton(hwnd(), b.control, c.checked ? BST_CHECKED : BST_UNCHECKED);
                break;
            case ComponentKind::ProgressBar:
                SendMessageA(control, PBM_SETPOS, static_cast<WPARAM>(c.position), 0);
                break;
            case ComponentKind::ComboBox:
            case ComponentKind::ListBox: SyncList(c, control); break;
            default: break;
        }
    }
    SyncMore();
}

}  // namespace tw::gui
