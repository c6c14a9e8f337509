// Message boxes and the default error display as Windows message boxes; the
// real windows that show the forms' logic, modal or beside the main window;
// the hourglass and the message pump of long device queries.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/form_logic.h"
#include "app/taboutbox.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

using tw::kProgramName;
class MessagePump;

class MessageDialogs final : public Dialogs {
public:
    // The owner is asked for at each box: the main window may not exist yet.
    // A box opened while another of the program's windows is active belongs
    // to that one instead, which it blocks until it is answered.
    explicit MessageDialogs(std::function<HWND()> owner) : owner_(std::move(owner)) {}

    ModalResult MessageBox(const std::string& text, BoxKind kind, Buttons buttons) override;
    void ShowError(const std::string& text) override;
    ModalResult ShowModal(FormLogic& form) override;
    void Show(FormLogic& form) override;
    void SetWaitCursor(bool wait) override;
    void ProcessMessages() override;
    std::uintptr_t OwnerWindow() override;
    // A thread of its own for the work of a form its window shows; in place
    // for a form no window shows.
    std::unique_ptr<Worker> MakeWorker(FormLogic& form) override;

    // The real window that shows a form's logic modally.
    void RegisterModal(FormId form, std::function<ModalResult(FormLogic&)> show);
    // The dialog that shows a form's logic beside the main window; its
    // keyboard messages go through IsDialogMessage.
    void RegisterModeless(FormId form, HWND dialog, std::function<void(FormLogic&)> show);
    // Every one of `forms` has a window; throws std::logic_error naming those
    // that have none, so a window left out fails at start, not when shown.
    void RequireWindows(const std::vector<FormLogic*>& forms) const;
    // A message for one of the modeless dialogs' keyboard interface (Tab,
    // Escape, mnemonics), handled; false when it is not one.
    bool HandledByDialog(MSG& msg) const;
    // The pump that ProcessMessages runs.
    void SetPump(const MessagePump* pump) { pump_ = pump; }

    static UINT Style(BoxKind kind, Buttons buttons);
    static ModalResult Result(int pressed);

private:
    struct Registration {
        std::function<ModalResult(FormLogic&)> modal;
        HWND dialog = nullptr;  // modeless
        std::function<void(FormLogic&)> show;
    };
    const Registration& RegistrationOf(const FormLogic& form) const;

    std::function<HWND()> owner_;
    std::array<Registration, kFormCount> windows_{};
    const MessagePump* pump_ = nullptr;
    int waitDepth_ = 0;
    HCURSOR cursorBeforeWait_ = nullptr;
};

}  // namespace tw::gui
