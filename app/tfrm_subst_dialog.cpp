#include "app/tfrm_subst_dialog.h"

#include <array>

namespace tw {

using namespace tw::platform;

TFrmSubstDialog::TFrmSubstDialog(Platform& platform, Dialogs& dialogs)
    : FormLogic(FormId::SubstDialog, dialogs), platform_(platform) {
    using S = SubstControl;
    Declare(S::Title, ComponentKind::Label, "Select drive letter and path for the new drive");
    Declare(S::LetterLabel, ComponentKind::Label, "Drive Letter");
    Declare(S::PathLabel, ComponentKind::Label, "Path");
    Component& letter = Declare(S::LetterEdit, ComponentKind::Edit, "");
    letter.maxLength = 1;
    letter.upperCase = true;
    Declare(S::PathEdit, ComponentKind::Edit, "");
    Declare(S::BrowseButton, ComponentKind::Button, "").onClick = [this] { SpeedButton1Click(); };
    Declare(S::AddToStartup, ComponentKind::CheckBox, "Add to startup");
    Declare(S::CancelButton, ComponentKind::Button, "Cancel").modalResult = ModalResult::Cancel;
    Declare(S::OkButton, ComponentKind::Button, "OK").modalResult = ModalResult::OK;
}

void TFrmSubstDialog::SpeedButton1Click() {
    std::array<char, MAX_PATH> display{};
    BROWSEINFOA bi;
    // Owned by the dialog, so the browser is modal to it: the dialog waits and
    // a second click cannot open a second browser.
    bi.hwndOwner = Window() != 0 ? Window() : dialogs_.OwnerWindow();
    bi.pidlRoot = 0;
    bi.pszDisplayName = display.data();
    bi.lpszTitle = "Select Directory";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    // No critical-error box while the user walks past an empty drive.
    const UINT previousMode = platform_.kernel().SetErrorMode(SEM_FAILCRITICALERRORS);
    const PIDLIST_ABSOLUTE picked = platform_.shell().SHBrowseForFolderA(&bi);
    platform_.kernel().SetErrorMode(previousMode);
    if (picked == 0) return;
    std::array<char, MAX_PATH> path{};
    if (platform_.shell().SHGetPathFromIDListA(picked, path.data())) {
        path.back() = 0;
        Get(SubstControl::PathEdit).text = path.data();
    }
    platform_.shell().CoTaskMemFree(picked);
}

}  // namespace tw
