#include "gui/win32/message_dialogs.h"

#include <stdexcept>

#include "app/form_logic.h"

namespace tw::gui {

UINT MessageDialogs::Style(BoxKind kind, Buttons buttons) {
    UINT style = 0;
    switch (kind) {
        case BoxKind::Warning: style = MB_ICONWARNING; break;
        case BoxKind::Information: style = MB_ICONINFORMATION; break;
        case BoxKind::Confirmation: style = MB_ICONQUESTION; break;
        case BoxKind::Error: style = MB_ICONERROR; break;
        case BoxKind::Plain: style = 0; break;
    }
    switch (buttons) {
        case Buttons::OK: style |= MB_OK; break;
        case Buttons::YesNo: style |= MB_YESNO; break;
        case Buttons::OKCancel: style |= MB_OKCANCEL; break;
    }
    return style;
}

ModalResult MessageDialogs::Result(int pressed) {
    switch (pressed) {
        case IDOK: return ModalResult::OK;
        case IDCANCEL: return ModalResult::Cancel;
        case IDYES: return ModalResult::Yes;
        case IDNO: return ModalResult::No;
        default: return ModalResult::None;
    }
}

ModalResult MessageDialogs::MessageBox(const std::string& text, BoxKind kind, Buttons buttons) {
    HWND owner = owner_ ? owner_() : nullptr;
    return Result(MessageBoxA(owner, text.c_str(), kProgramName, Style(kind, buttons)));
}

void MessageDialogs::ShowError(const std::string& text) {
    HWND owner = owner_ ? owner_() : nullptr;
    MessageBoxA(owner, text.c_str(), kProgramName, MB_ICONERROR | MB_OK);
}

ModalResult MessageDialogs::ShowModal(FormLogic& form) {
    auto it = modal_.find(form.ClassName());
    if (it == modal_.end()) throw std::logic_error("no window shows " + form.ClassName());
    return it->second(form);
}

std::uintptr_t MessageDialogs::OwnerWindow() { return reinterpret_cast<std::uintptr_t>(owner_ ? owner_() : nullptr); }

}  // namespace tw::gui
