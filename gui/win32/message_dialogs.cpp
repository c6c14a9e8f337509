#include "gui/win32/message_dialogs.h"

#include <stdexcept>

#include "app/form_logic.h"
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

ModalResult MessageDialogs::ShowModal(FormLogic& form) {
    auto it = modal_.find(form.ClassName());
    if (it == modal_.end()) throw std::logic_error("no window shows " + form.ClassName());
    return it->second(form);
}

void MessageDialogs::Show(FormLogic& form) {
    auto it = modeless_.find(form.ClassName());
    if (it == modeless_.end()) {
        Dialogs::Show(form);
        return;
    }
    it->second.show(form);
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
    for (const auto& [name, window] : modeless_) {
        if (window.dialog && IsWindowVisible(window.dialog) && IsDialogMessageA(window.dialog, &msg)) return true;
    }
    return false;
}

void MessageDialogs::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
            break;
        }
        if (HandledByDialog(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::unique_ptr<Worker> MessageDialogs::MakeWorker(FormLogic& form) {
    if (form.Window() == 0) return Dialogs::MakeWorker(form);
    return std::make_unique<ThreadWorker>(reinterpret_cast<HWND>(form.Window()));
}

void MessageDialogs::CopyToClipboard(const std::string& text) {
    std::string crlf;
    for (const char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    HWND owner = owner_ ? owner_() : nullptr;
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, crlf.size() + 1)) {
        if (void* p = GlobalLock(memory)) {
            CopyMemory(p, crlf.c_str(), crlf.size() + 1);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it takes it.
            if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

std::uintptr_t MessageDialogs::OwnerWindow() { return reinterpret_cast<std::uintptr_t>(owner_ ? owner_() : nullptr); }

}  // namespace tw::gui
