#include "gui/win32/message_dialogs.h"

#include <stdexcept>

#include "app/form_logic.h"
#include "gui/win32/dialog.h"
#include "gui/win32/message_pump.h"
#include "gui/win32/thread_worker.h"

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

namespace {

// The window of this thread the user is working in, when it is one the box
// can belong to; the main window otherwise.
HWND BoxOwner(const std::function<HWND()>& mainWindow) {
    HWND main = mainWindow ? mainWindow() : nullptr;
    HWND active = GetActiveWindow();
    if (active && active != main && IsWindowVisible(active) && IsWindowEnabled(active)) return active;
    return main;
}

}  // namespace

ModalResult MessageDialogs::MessageBox(const std::string& text, BoxKind kind, Buttons buttons) {
    HWND owner = BoxOwner(owner_);
    return Result(MessageBoxA(owner, text.c_str(), kProgramName, Style(kind, buttons)));
}

void MessageDialogs::ShowError(const std::string& text) {
    HWND owner = BoxOwner(owner_);
    MessageBoxA(owner, text.c_str(), kProgramName, MB_ICONERROR | MB_OK);
}

void MessageDialogs::RegisterModal(FormId form, std::function<ModalResult(FormLogic&)> show) {
    windows_[static_cast<size_t>(form)].modal = std::move(show);
}

void MessageDialogs::RegisterModeless(FormId form, HWND dialog, std::function<void(FormLogic&)> show) {
    Registration& r = windows_[static_cast<size_t>(form)];
    r.dialog = dialog;
    r.show = std::move(show);
}

void MessageDialogs::RequireWindows(const std::vector<FormLogic*>& forms) const {
    std::string missing;
    for (const FormLogic* form : forms) {
        const Registration& r = windows_[static_cast<size_t>(form->Id())];
        if (!r.modal && !r.show) missing += (missing.empty() ? "" : ", ") + form->ClassName();
    }
    if (!missing.empty()) throw std::logic_error("no window shows " + missing);
}

const MessageDialogs::Registration& MessageDialogs::RegistrationOf(const FormLogic& form) const {
    return windows_[static_cast<size_t>(form.Id())];
}

ModalResult MessageDialogs::ShowModal(FormLogic& form) {
    const Registration& r = RegistrationOf(form);
    if (!r.modal) throw std::logic_error("no window shows " + form.ClassName() + " modally");
    return r.modal(form);
}

void MessageDialogs::Show(FormLogic& form) {
    const Registration& r = RegistrationOf(form);
    if (!r.show) throw std::logic_error("no window shows " + form.ClassName());
    r.show(form);
}

void MessageDialogs::SetWaitCursor(bool wait) {
    // Queries nest when a pumped message starts another; the cursor the
    // user had comes back when the outermost one ends.
    if (wait) {
        HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        if (waitDepth_++ == 0) cursorBeforeWait_ = before;
    } else if (waitDepth_ > 0 && --waitDepth_ == 0) {
        SetCursor(cursorBeforeWait_ ? cursorBeforeWait_ : LoadCursorA(nullptr, IDC_ARROW));
        cursorBeforeWait_ = nullptr;
    }
}

bool MessageDialogs::HandledByDialog(MSG& msg) const {
    for (const Registration& r : windows_) {
        if (!r.dialog || !IsWindowVisible(r.dialog)) continue;
        const bool inside = msg.hwnd == r.dialog || IsChild(r.dialog, msg.hwnd);
        if (inside && msg.message == WM_KEYDOWN &&
            SendMessageA(r.dialog, kDialogKeyMessage, msg.wParam, GetKeyState(VK_CONTROL) < 0 ? 1 : 0)) {
            return true;
        }
        if (IsDialogMessageA(r.dialog, &msg)) return true;
    }
    return false;
}

void MessageDialogs::ProcessMessages() {
    if (pump_) {
        pump_->ProcessPending();
    } else {
        MessagePump(nullptr, this).ProcessPending();
    }
}

std::unique_ptr<Worker> MessageDialogs::MakeWorker(FormLogic& form) {
    if (form.Window() == 0) return Dialogs::MakeWorker(form);
    return std::make_unique<ThreadWorker>(reinterpret_cast<HWND>(form.Window()));
}

std::uintptr_t MessageDialogs::OwnerWindow() { return reinterpret_cast<std::uintptr_t>(owner_ ? owner_() : nullptr); }

}  // namespace tw::gui
