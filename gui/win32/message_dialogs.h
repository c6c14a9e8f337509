// Message boxes and the default error display as Windows message boxes; the
// real windows that show the forms' logic, modal or beside the main window;
// the hourglass and the message pump of long device queries.
#pragma once
#include <functional>
#include <map>
#include <string>

#include "app/dialogs.h"
#include "app/taboutbox.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

using tw::kProgramName;

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
    // CF_TEXT with CR LF line ends.
    void CopyToClipboard(const std::string& text) override;

    // The real window that shows the logic of a form class modally.
    void RegisterModal(const std::string& className, std::function<ModalResult(FormLogic&)> show) {
        modal_[className] = std::move(show);
    }
    // The dialog that shows the logic of a form class beside the main
    // window; its keyboard messages go through IsDialogMessage.
    void RegisterModeless(const std::string& className, HWND dialog, std::function<void(FormLogic&)> show) {
        modeless_[className] = {dialog, std::move(show)};
    }
    // A message for one of the modeless dialogs' keyboard interface (Tab,
    // Escape, mnemonics), handled; false when it is not one.
    bool HandledByDialog(MSG& msg) const;

    static UINT Style(BoxKind kind, Buttons buttons);
    static ModalResult Result(int pressed);

private:
    std::function<HWND()> owner_;
    std::map<std::string, std::function<ModalResult(FormLogic&)>> modal_;
    struct Modeless {
        HWND dialog;
        std::function<void(FormLogic&)> show;
    };
    std::map<std::string, Modeless> modeless_;
    int waitDepth_ = 0;
    HCURSOR cursorBeforeWait_ = nullptr;
};

}  // namespace tw::gui
