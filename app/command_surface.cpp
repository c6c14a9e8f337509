// The main window's commands: menu bar, toolbar and its drop-downs, the list's
// pop-up menu, the notification pop-up menu and the option panel. Entries
// that forward run their target's click action, so they behave exactly like it.
#include <initializer_list>

#include "actions/elevation.h"
#include "app/main_components.h"
#include "app/rights_line.h"
#include "app/tform1.h"
#include "app/web_addresses.h"

namespace tw {

void TForm1::DeclareCommandSurface() {
    using C = MainCommand;
    using M = MainMenu;
    using O = MainOption;
    auto item = [&](M menu, C id, const char* caption, std::function<void()> onClick = {}, const char* shortcut = "") {
        Component c;
        c.parent = KeyOf(menu);
        c.caption = caption;
        c.shortcut = shortcut;
        c.onClick = std::move(onClick);
        Declare(id, std::move(c));
    };
    auto hidden = [&](C id, const char* caption) {
        item(M::ListPopup, id, caption);
        Get(id).visible = false;
    };
    auto toggle = [&](O id, const char* caption, bool checked, std::function<void()> onClick) {
        Component c;
        c.parent = KeyOf(M::View);
        c.caption = caption;
        c.checked = checked;
        c.onClick = std::move(onClick);
        Declare(id, std::move(c));
    };
    auto button = [&](C id, const char* caption, const char* hint, std::function<void()> onClick = {}) {
        Component c;
        c.kind = ComponentKind::ToolButton;
        c.parent = KeyOf(M::ToolBar);
        c.caption = caption;
        c.hint = hint;
        c.onClick = std::move(onClick);
        Declare(id, std::move(c));
    };
    auto checkBox = [&](O id, const char* caption, bool checked, std::function<void()> onClick = {}) {
        Component c;
        c.kind = ComponentKind::CheckBox;
        c.parent = KeyOf(M::OptionPanel);
        c.caption = caption;
        c.checked = checked;
        c.onClick = std::move(onClick);
        Declare(id, std::move(c));
    };
    auto clicks = [this](C target) { return [this, target] { ClickInner(target); }; };
    auto refresh = [this] { Refresh1Click(); };
    auto minimize = [this] { view_.Minimize(); };
    auto close = [this] { view_.CloseWindow(); };
    auto about = [this] { dialogs_.ShowModal(aboutBox_); };
    auto opticalWindow = [this] { dialogs_.Show(opticalInfo_); };
    // The disk windows open at the selected drive.
    auto smartWindow = [this] {
        smart_.SetStartDrive(SelectedLetter());
        dialogs_.Show(smart_);
    };
    auto diskInfoWindow = [this] {
        diskInfo_.SetStartDrive(SelectedLetter());
        dialogs_.Show(diskInfo_);
    };
    auto explore = [this] { ToolButton2Click(); };
    auto toggles = [this](O target) { return [this, target] { ClickInner(target); }; };
    auto checkDiskWindow = [this] { dialogs_.Show(checkDisk_); };
    auto benchmarkWindow = [this] { dialogs_.Show(benchMark_); };

    // Menu bar. The View menu's marks come first in their menu, as they show.
    item(
        M::File, C::FileSaveListAs, "Save List As...", [this] { SaveListAs1Click(); }, "Ctrl+S");
    // Without an administrator's full rights the disk and drive windows get
    // little; this starts the program again with them, at the user's word.
    item(M::File, C::FileRestartElevated, "Restart as Administrator", [this] { RestartAsAdministrator1Click(); });
    const bool rightsMissing = actions::RunsElevated(platform_.security()) == false;
    Get(C::FileRestartElevated).visible = rightsMissing;
    Get(C::FileRestartElevated).shield = true;
    // The windows whose answers need the rights say so, with the same restart.
    for (FormLogic* window : std::initializer_list<FormLogic*>{&smart_, &diskInfo_, &opticalInfo_, &checkDisk_}) {
        OfferRestart(*window, rightsMissing, [this] { RestartAsAdministrator1Click(); });
    }
    item(M::File, C::FileClose, "Close", close);
    item(M::View, C::ViewRefresh, "Refresh", clicks(C::Refresh), "F5");
    item(M::View, C::ViewMinimize, "Minimize", minimize);
    toggle(O::StayOnTop, "Stay on top", false, [this] { Stayontop2Click(); });
    toggle(O::AutoRefresh, "Auto Refresh", true, [this] { AutoRefresh1Click(); });
    toggle(O::Bold, "Bold", true, [this] { Bold1Click(); });
    toggle(O::SkipAandB, "Skip A and B drives", true, [this] { SkipAandBdrives1Click(); });
    item(M::Drives, C::DrivesHide, "Hide", clicks(C::HideDrive));
    item(M::Drives, C::DrivesReveal, "Reveal", clicks(C::UnhideDrive));
    item(M::Drives, C::DrivesProperties, "Properties", clicks(C::Properties));
    item(M::Drives, C::DrivesExplore, "Explore", explore);
    item(M::Drives, C::DrivesDiskInformation, "Disk Information", diskInfoWindow);
    item(M::Drives, C::DrivesSmartInformation, "SMART Information", smartWindow);
    item(M::Drives, C::DrivesCheckDisk, "Check Disk", checkDiskWindow);
    item(M::Drives, C::DrivesBenchmark, "Drive Benchmark", benchmarkWindow);
    item(M::Drives, C::DrivesMapNetworkDrive, "Map Network Drive", clicks(C::MapNetworkDrive));
    item(M::Drives, C::DrivesDisconnectNetworkDrive, "Disconnect Network Drive", clicks(C::DisconnectNetworkDrive));
    item(M::Optical, C::OpticalEjectSelected, "Eject Selected CD", clicks(C::EjectMedia));
    item(M::Optical, C::OpticalCloseSelected, "Close Selected CD", clicks(C::LoadMedia));
    item(M::Optical, C::OpticalLockSelected, "Lock Selected", clicks(C::LockDoor));
    item(M::Optical, C::OpticalUnlockSelected, "Unlock Selected", clicks(C::UnlockDoor));
    item(M::Optical, C::OpticalEjectDefault, "Eject Default CD", [this] { OpendefaultCD1Click(); });
    item(M::Optical, C::OpticalCloseDefault, "Close Default CD", [this] { CloseDefaultCD1Click(); });
    item(M::Optical, C::OpticalInsertedMediaInfo, "Inserted Media Info", [this] { InsertedMedia1Click(); });
    item(M::Optical, C::OpticalInformation, "Optical Information", opticalWindow);
    item(M::Tools, C::ToolsSearchDrives, "Search Drives", clicks(C::SearchDrives));
    item(M::Tools, C::ToolsMinimizeAll, "Minimize All", [this] { MinimizeAll1Click(); });
    item(M::Tools, C::ToolsDefrag, "Defrag", [this] { Defrag1Click(); });
    item(M::Tools, C::ToolsNtBackup, "NT Backup", [this] { NTBackup1Click(); });
    item(M::Tools, C::ToolsRemoveUsbDrive, "Remove USB Drive", [this] { RemoveUSBDrive1Click(); });
    item(M::Help, C::HelpHomepage, "Tarnwell - Homepage", [this] { TarnwellHomepage1Click(); });
    item(M::Help, C::HelpDonate, "Donate", [this] { Donate1Click(); });
    item(M::Tools, C::ToolsUsbDrives, "USB Drives...", [this] { dialogs_.Show(usbDrives_); });
    item(M::Tools, C::ToolsVolumes, "Volumes...", [this] { dialogs_.Show(volumes_); });
    item(M::Help, C::HelpAbout, "About", about);

    // The list's pop-up menu, visible entries in order, then the hidden ones.
    item(M::ListPopup, C::Refresh, "Refresh", refresh);
    item(
        M::ListPopup, C::Explore, "Explorer", [this] { ListView1DblClick(); }, "F8");
    item(M::ListPopup, C::LoadMedia, "Load Media", [this] { LoadMedia1Click(); });
    item(M::ListPopup, C::EjectMedia, "Eject Media", [this] { EjectMedia1Click(); });
    item(M::ListPopup, C::LockDoor, "Lock CD Door", [this] { LockCDDoor1Click(); });
    item(M::ListPopup, C::UnlockDoor, "Unlock CD Door", [this] { UnlockCDDoor1Click(); });
    item(M::ListPopup, C::HideDrive, "Hide Selected Drive", [this] { HideDrive1Click(); });
    item(M::ListPopup, C::UnhideDrive, "Unhide Selected Drive", [this] { UnhideDrive1Click(); });
    item(M::ListPopup, C::MapNetworkDrive, "Map Network Drive", [this] { MapNetworkDrive1Click(); });
    item(M::ListPopup, C::DisconnectNetworkDrive, "Disconnect Network Drive",
         [this] { DisconnectNetworkDrive1Click(); });
    item(M::ListPopup, C::SearchDrives, "Search Drives", [this] { SearchDrive1Click(); });
    item(M::ListPopup, C::CreateSubstituteDrive, "Create Substitute Drive", [this] { CreateSubstituteDrive1Click(); });
    item(M::ListPopup, C::RemoveSubstituteDrive, "Remove Substitute Drive", [this] { RemoveSubstituteDrive1Click(); });
    item(
        M::ListPopup, C::Properties, "Properties", [this] { Properties1Click(); }, "F6");
    item(M::ListPopup, C::About, "About", about);
    item(M::ListPopup, C::Minimize, "Minimize", minimize);
    item(M::ListPopup, C::Exit, "Exit", close, "F10");
    hidden(C::ListStayOnTop, "Stay on top");
    hidden(C::FormatDisk, "Format Disk");
    Get(C::FormatDisk).onClick = [this] { FormatDisk1Click(); };
    hidden(C::ShowSubstituteDirectory, "Show Substitute Directory");
    Get(C::ShowSubstituteDirectory).onClick = [this] { Query1Click(); };
    hidden(C::Settings, "Settings");
    hidden(C::DiskFlags, "Disk flags");

    // The notification-area icon's pop-up menu.
    item(M::TrayPopup, C::TrayHide, "Hide", [this] { view_.HideWindow(); });
    item(M::TrayPopup, C::TrayRestore, "Restore", [this] { view_.RestoreWindow(); });
    item(M::TrayPopup, C::TrayExit, "Exit", close);

    // Toolbar and its drop-down menus.
    button(C::RefreshButton, "Refresh", "Refresh drives. (F5)", clicks(C::Refresh));
    button(C::ExploreButton, "Explore", "Explorer selected  drive F8", explore);
    button(C::EjectButton, "Eject CD", "Open / Eject Highlighted CD/DVD/Zip drive.", clicks(C::EjectMedia));
    Get(C::EjectButton).dropDownMenu = KeyOf(M::EjectDropDown);
    Get(C::EjectButton).rightClickMenu = KeyOf(M::EjectRightClick);
    item(M::EjectDropDown, C::EjectButtonLoad, "Load CD", clicks(C::LoadMedia));
    item(M::EjectRightClick, C::EjectButtonLoadRightClick, "Load CD", clicks(C::LoadMedia));
    button(C::HideButton, "Hide", "Hide highlighted drive", clicks(C::HideDrive));
    Get(C::HideButton).dropDownMenu = KeyOf(M::HideDropDown);
    item(M::HideDropDown, C::HideButtonUnhide, "Unhide", [this] {
        ClickInner(C::UnhideDrive);
        ClickInner(C::Refresh);
    });
    button(C::PropertiesButton, "Properties", "Selected drive properties", clicks(C::Properties));
    button(C::SubstButton, "Subst", "Create substitute drive letter for local folder.",
           clicks(C::CreateSubstituteDrive));
    Get(C::SubstButton).dropDownMenu = KeyOf(M::SubstDropDown);
    item(M::SubstDropDown, C::SubstButtonUnsubst, "Unsubst", clicks(C::RemoveSubstituteDrive));
    button(C::DiskInfoButton, "Disk Info", "", diskInfoWindow);
    Get(C::DiskInfoButton).dropDownMenu = KeyOf(M::DiskInfoDropDown);
    item(M::DiskInfoDropDown, C::DiskInfoButtonBenchmark, "Drive Benchmark", benchmarkWindow);
    button(C::SmartButton, "SMART", "", smartWindow);
    button(C::CheckDiskButton, "Chk Disk", "", checkDiskWindow);
    button(C::OpticalButton, "CD/DVD", "", opticalWindow);
    button(C::ExitButton, "Exit", "Exit Tarnwell. (F10)", close);

    // The toolbar's own pop-up menu: window options, the shell's tools and
    // the default CD device, the only way to the last two.
    item(M::ToolBarPopup, C::ToolBarClose, "Close", close);
    // The toolbar menu's toggles click the View menu's and show their marks.
    auto marked = [&](C id, const char* caption, O target) {
        item(M::ToolBarPopup, id, caption, toggles(target));
        Get(id).showsMarkOf = KeyOf(target);
    };
    marked(C::ToolBarStayOnTop, "Stay on Top", O::StayOnTop);
    marked(C::ToolBarAutoRefresh, "Auto Refresh", O::AutoRefresh);
    marked(C::ToolBarBold, "Bold", O::Bold);
    marked(C::ToolBarSkipAandB, "Skip A and B drives", O::SkipAandB);
    item(M::ToolBarPopup, C::ToolBarSearchDrives, "Search Drives", [this] { SearchDrive1Click(); });
    item(M::ToolBarPopup, C::ToolBarMinimizeAll, "Minimize All", [this] { MinimizeAll2Click(); });
    item(M::ToolBarPopup, C::ToolBarDefrag, "Defrag", [this] { Defrag1Click(); });
    item(M::ToolBarPopup, C::ToolBarBackupRestore, "NT Backup / Restore", [this] { NTBackupRestore2Click(); });
    item(M::ToolBarPopup, C::ToolBarCloseDefaultCD, "Close Default CD", [this] { CloseDefaultCD1Click(); });
    item(M::ToolBarPopup, C::ToolBarOpenDefaultCD, "Open default CD", [this] { OpendefaultCD1Click(); });
    item(M::ToolBarPopup, C::ToolBarInsertedMedia, "Inserted Media", [this] { InsertedMedia1Click(); });

    // The site address at the top and at the bottom of the window.
    for (C label : {C::SiteLabelTop, C::SiteLabelBottom}) {
        Component& c = Declare(label, ComponentKind::Label, kSiteAddress);
        c.parent = KeyOf(M::Window);
        c.onClick = [this] { Label2Click(); };
    }
    // Keys of the main window that no menu shows: copying rows, selecting
    // them all, and F1 for the about box with its help page.
    auto key = [&](C id, const char* caption, const char* shortcut, std::function<void()> onClick) {
        Component c;
        c.parent = KeyOf(M::Keys);
        c.caption = caption;
        c.shortcut = shortcut;
        c.onClick = std::move(onClick);
        Declare(id, std::move(c));
    };
    key(C::CopyRows, "Copy", "Ctrl+C", [this] { Copy1Click(); });
    key(C::SelectAll, "Select All", "Ctrl+A", [this] { SelectAll1Click(); });
    key(C::HelpAbout1, "Help", "F1", about);

    // Option panel: the kind filters refresh at once, except "Disconnected",
    // which takes effect at the next refresh.
    checkBox(O::ShowLocal, "Local", true, refresh);
    checkBox(O::ShowOptical, "CD/DVD", true, refresh);
    checkBox(O::ShowRemovable, "Removable", true, refresh);
    checkBox(O::ShowNetwork, "Network", true, refresh);
    checkBox(O::ShowNotMounted, "Not mounted", true, refresh);
    checkBox(O::ShowDisconnected, "Disconnected", true);
    checkBox(O::AutoRefreshBox, "Auto Refresh", true, [this] { CheckBox6Click(); });
    checkBox(O::StayOnTopBox, "Stay on top", false, [this] { CheckBox7Click(); });
}

}  // namespace tw
