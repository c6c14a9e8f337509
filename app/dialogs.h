// How window handlers talk to the user: message boxes and the default error
// display. The real GUI shows Windows message boxes; the script runner prints.
#pragma once
#include <string>

namespace tw {

enum class BoxKind { Warning, Information, Confirmation, Error, Plain };
enum class Buttons { OK, YesNo, OKCancel };
enum class ModalResult { None, OK, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with its icon kind and buttons; returns the button pressed.
    virtual ModalResult MessageBox(const std::string& text, BoxKind kind, Buttons buttons) = 0;
    // The default error display of raised errors.
    virtual void ShowError(const std::string& text) = 0;
};

}  // namespace tw
