// Message boxes and the default error display as Windows message boxes.
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
    explicit MessageDialogs(std::function<HWND()> owner) : owner_(std::move(owner)) {}

    ModalResult MessageBox(const std::string& text, BoxKind kind, Buttons buttons) override;
    void ShowError(const std::string& text) override;
    ModalResult ShowModal(FormLogic& form) override;
    std::uintptr_t OwnerWindow() override;

    // The real window that shows the logic of a form class modally.
    void RegisterModal(const std::string& className, std::function<ModalResult(FormLogic&)> show) {
        modal_[className] = std::move(show);
    }

    static UINT Style(BoxKind kind, Buttons buttons);
    static ModalResult Result(int pressed);

private:
    std::function<HWND()> owner_;
    std::map<std::string, std::function<ModalResult(FormLogic&)>> modal_;
};

}  // namespace tw::gui
