// How window handlers talk to the user: message boxes and the default error
// display. The real GUI shows Windows message boxes; the script runner prints.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/worker.h"

namespace tw {

class FormLogic;

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
    // Shows a secondary window modally until one of its buttons closes it.
    virtual ModalResult ShowModal(FormLogic& form) = 0;
    // Shows a secondary window beside the main window (not modally) and runs
    // its FormShow; the default only runs FormShow.
    virtual void Show(FormLogic& form);
    // The hourglass while a slow device query blocks the window.
    virtual void SetWaitCursor(bool) {}
    // Runs pending window messages once, so windows stay responsive while a
    // handler waits for a device.
    virtual void ProcessMessages() {}
    // The window that owns system dialogs (0 where there is none).
    virtual std::uintptr_t OwnerWindow() = 0;
    // What runs the long work of `form`; the default runs it in place.
    virtual std::unique_ptr<Worker> MakeWorker(FormLogic& form);
};

// The hourglass for as long as a request or query runs, also when it raises.
class WaitCursor {
public:
    explicit WaitCursor(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.SetWaitCursor(true); }
    ~WaitCursor() { dialogs_.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Dialogs& dialogs_;
};

}  // namespace tw
