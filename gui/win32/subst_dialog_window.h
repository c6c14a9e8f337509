// "Substitute Drive" as a real dialog over TFrmSubstDialog's logic: the
// controls show the logic's fields when it opens and hand them back when it
// closes, so the fields keep their values between uses.
#pragma once
#include "app/tfrm_subst_dialog.h"
#include "gui/win32/form_window.h"

namespace tw::gui {

class SubstDialogWindow final : public FormWindow {
public:
    SubstDialogWindow() : FormWindow("TFrmSubstDialog", "Substitute Drive") {}

    ModalResult Run(FormLogic& form);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateControls(UINT dpi) override;

private:
    void Load();
    void Store();
    HWND Control(int id) const { return GetDlgItem(hwnd(), id); }

    FormLogic* form_ = nullptr;
    ModalResult result_ = ModalResult::Cancel;
    HFONT font_ = nullptr;
    HFONT headingFont_ = nullptr;
    HICON folderIcon_ = nullptr;
};

}  // namespace tw::gui
