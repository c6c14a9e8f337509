// "Substitute Drive" as a real dialog over TFrmSubstDialog's logic: the
// controls show the logic's fields when it opens and hand them back when it
// closes, so the fields keep their values between uses.
#pragma once
#include "app/tfrm_subst_dialog.h"
#include "gui/win32/dialog.h"

namespace tw::gui {

class SubstDialogWindow final : public Dialog {
public:
    SubstDialogWindow();
    ~SubstDialogWindow() override;

    ModalResult Run(FormLogic& form);

protected:
    void OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;

private:
    void ShowFolderIcon();
    void Load();
    void Store();

    FormLogic* form_ = nullptr;
    ModalResult result_ = ModalResult::Cancel;
    HFONT headingFont_ = nullptr;
    HICON folderIcon_ = nullptr;
    bool folderIconAsked_ = false;
};

}  // namespace tw::gui
