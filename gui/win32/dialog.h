// A dialog window built from a DIALOGEX template in the program's resources,
// laid out in dialog units so it scales with the dialog font. The C++ object
// travels through CreateDialogParamA's parameter into DWLP_USER at
// WM_INITDIALOG; every later message reaches its HandleMessage, and a
// message that arrives before or after (null user data) goes to the system.
// The window is created hidden, owned by the main window, and lives until the
// object dies; ShowModal shows it over its owner until it is closed.
#pragma once
#include <string>
#include <vector>

#include "gui/win32/dialog_template.h"
#include "gui/win32/parked_window.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

// A key pressed anywhere in a modeless dialog, sent to the dialog before the
// focused control sees it: wParam the virtual key, lParam nonzero with Ctrl
// held. A dialog that takes the key sets DWLP_MSGRESULT to nonzero.
inline constexpr UINT kDialogKeyMessage = WM_APP + 0x40;

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Creates the window from its template, hidden; false when it cannot.
    // Its controls are made at the first showing (Fill), or at once where
    // the template holds what only the dialog manager makes.
    bool CreateHidden(HWND owner);
    // Makes the window a top-level one and its controls if they are not
    // there yet; the showing does it, and whatever sets controls or places
    // the window before showing calls it first.
    void Fill();
    HWND hwnd() const { return hwnd_; }

    // Shows the dialog centred over its owner, which is disabled meanwhile,
    // and runs messages until EndModal (OK, Cancel, Escape, the close box).
    void ShowModal();
    void EndModal() { modal_ = false; }
    bool IsModal() const { return modal_; }
    // Shows the dialog beside its owner, which stays usable: centred over it
    // when it appears, left where it is when it is up already, and brought
    // to the front.
    void ShowModeless();

protected:
    // The controls exist: set fonts, pictures and limits here.
    virtual void OnInitDialog() {}
    // A control's command; true when the dialog handled it. IDOK and IDCANCEL
    // close the dialog after this returns false for them.
    virtual bool OnCommand(int id, int notifyCode) {
        (void)id;
        (void)notifyCode;
        return false;
    }
    // The window is closing (close box, Escape, a Close button): it hides
    // after this returns.
    virtual void OnClose() {}
    // Any other message; the default lets the system handle it.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    // The dialog's font, bold and `extraPoints` larger, for a heading; the
    // caller deletes it.
    HFONT CreateHeadingFont(int extraPoints) const;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void CenterOverOwner();

    int templateId_;
    HWND hwnd_ = nullptr;
    std::vector<TemplateItem> pending_;  // the controls not made yet
    ParkedWindow parked_;
    bool modal_ = false;
};

// The text of a control.
std::string ControlText(HWND control);

}  // namespace tw::gui
