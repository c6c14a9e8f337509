#include "app/tfrm_subst_dialog.h"

#include <array>

namespace tw {

using namespace tw::platform;

TFrmSubstDialog::TFrmSubstDialog(Platform& platform, Dialogs& dialogs)
    : FormLogic("TFrmSubstDialog", "Substitute Drive", dialogs), platform_(platform) {
    auto add = [&](const char* name, ComponentKind kind, const char* caption) {
        Component c;
        c.name = name;
        c.kind = kind;
        c.caption = caption;
        Declare(std::move(c));
        return name;
    };
    add("Label1", ComponentKind::Label, "Select drive letter and path for the new drive");
    add("Label2", ComponentKind::Label, "Drive Letter");
    add("Label3", ComponentKind::Label, "Path");
    Get(add("Edit2", ComponentKind::Edit, "")).maxLength = 1;
    Get("Edit2").upperCase = true;
    add("Edit1", ComponentKind::Edit, "");
    Get(add("SpeedButton1", ComponentKind::Button, "")).onClick = [this] { SpeedButton1Click(); };
    add("CheckBox1", ComponentKind::CheckBox, "Add to startup");
    Get(add("BitBtn1", ComponentKind::Button, "Cancel")).modalResult = ModalResult::Cancel;
    Get(add("BitBtn2", ComponentKind::Button, "OK")).modalResult = ModalResult::OK;
}

void TFrmSubstDialog::SpeedButton1Click() {
    std::array<char, MAX_PATH> display{};
    BROWSEINFOA bi;
    bi.hwndOwner = dialogs_.OwnerWindow();
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
        Get("Edit1").text = path.data();
    }
    platform_.shell().CoTaskMemFree(picked);
}

}  // namespace tw
