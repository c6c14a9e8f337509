// The main window's components under names that say what they do. The table
// below maps each to its component name (the names of the window's menus,
// toolbar and option panel that scripts and tests use).
#pragma once
#include <string_view>

#include "app/component_table.h"

namespace tw {

// The menus and bars that hold the main window's entries.
enum class MainMenu {
    File,
    View,
    Drives,
    Optical,
    Tools,
    Help,
    ListPopup,         // the drive list's right-click menu
    TrayPopup,         // the notification icon's menu
    EjectDropDown,     // the arrow of the "Eject CD" button
    EjectRightClick,   // a right click on the "Eject CD" button
    HideDropDown,      // the arrow of the "Hide" button
    SubstDropDown,     // the arrow of the "Subst" button
    DiskInfoDropDown,  // the arrow of the "Disk Info" button
    ToolBar,
    OptionPanel,
    ToolBarPopup,  // a right click on the toolbar's empty space
    Window,        // controls of the window itself: the site address labels
    Keys,          // keys of the main window that no menu shows
};

inline constexpr ComponentEntry<MainMenu> kMainMenus[] = {
    {MainMenu::File, "File"},
    {MainMenu::View, "View"},
    {MainMenu::Drives, "Drives"},
    {MainMenu::Optical, "Optical"},
    {MainMenu::Tools, "Tools"},
    {MainMenu::Help, "Help"},
    {MainMenu::ListPopup, "PopupMenu1"},
    {MainMenu::TrayPopup, "PopupMenu2"},
    {MainMenu::EjectDropDown, "PopupMenu3"},
    {MainMenu::EjectRightClick, "PopupMenu4"},
    {MainMenu::HideDropDown, "PopupMenu5"},
    {MainMenu::SubstDropDown, "PopupMenu7"},
    {MainMenu::DiskInfoDropDown, "PopupMenu8"},
    {MainMenu::ToolBar, "ToolBar1"},
    {MainMenu::OptionPanel, "OptionPanel"},
    {MainMenu::ToolBarPopup, "mainMenu9"},
    {MainMenu::Window, "TForm1"},
    {MainMenu::Keys, "Keys"},
};
static_assert(ListsEveryIdInOrder(kMainMenus));

// The menu bar, in the order it shows its menus.
inline constexpr MainMenu kMenuBarMenus[] = {MainMenu::File,    MainMenu::View,  MainMenu::Drives,
                                             MainMenu::Optical, MainMenu::Tools, MainMenu::Help};

// Every entry that runs a command: menu items and toolbar buttons.
enum class MainCommand {
    // Menu bar.
    FileClose,
    ViewRefresh,
    ViewMinimize,
    DrivesHide,
    DrivesReveal,
    DrivesProperties,
    DrivesExplore,
    DrivesDiskInformation,
    DrivesSmartInformation,
    DrivesCheckDisk,
    DrivesBenchmark,
    DrivesMapNetworkDrive,
    DrivesDisconnectNetworkDrive,
    OpticalEjectSelected,
    OpticalCloseSelected,
    OpticalLockSelected,
    OpticalUnlockSelected,
    OpticalEjectDefault,
    OpticalCloseDefault,
    OpticalInsertedMediaInfo,
    OpticalInformation,
    ToolsSearchDrives,
    ToolsMinimizeAll,
    ToolsDefrag,
    ToolsNtBackup,
    ToolsRemoveUsbDrive,
    ToolsUsbDrives,
    ToolsVolumes,
    HelpHomepage,
    HelpDonate,
    HelpAbout,
    // The list's pop-up menu; most other entries forward to these.
    Refresh,
    Explore,
    LoadMedia,
    EjectMedia,
    LockDoor,
    UnlockDoor,
    HideDrive,
    UnhideDrive,
    MapNetworkDrive,
    DisconnectNetworkDrive,
    SearchDrives,
    CreateSubstituteDrive,
    RemoveSubstituteDrive,
    Properties,
    About,
    Minimize,
    Exit,
    ListStayOnTop,  // the hidden pop-up entries from here to DiskFlags
    FormatDisk,
    ShowSubstituteDirectory,
    Settings,
    DiskFlags,
    // The notification icon's menu.
    TrayHide,
    TrayRestore,
    TrayExit,
    // Toolbar and its drop-down menus.
    RefreshButton,
    ExploreButton,
    EjectButton,
    EjectButtonLoad,
    EjectButtonLoadRightClick,
    HideButton,
    HideButtonUnhide,
    PropertiesButton,
    SubstButton,
    SubstButtonUnsubst,
    DiskInfoButton,
    DiskInfoButtonBenchmark,
    SmartButton,
    CheckDiskButton,
    OpticalButton,
    ExitButton,
    // The toolbar's own pop-up menu.
    ToolBarClose,
    ToolBarStayOnTop,
    ToolBarAutoRefresh,
    ToolBarBold,
    ToolBarSkipAandB,
    ToolBarSearchDrives,
    ToolBarMinimizeAll,
    ToolBarDefrag,
    ToolBarBackupRestore,
    ToolBarCloseDefaultCD,
    ToolBarOpenDefaultCD,
    ToolBarInsertedMedia,
    // The site address at the top and at the bottom of the window.
    SiteLabelTop,
    SiteLabelBottom,
    // Saving and copying the list, and the keys that reach no menu.
    FileSaveListAs,
    FileRestartElevated,  // File menu, without an administrator's full rights
    CopyRows,             // Ctrl+C
    SelectAll,            // Ctrl+A
    HelpAbout1,           // F1
};

inline constexpr ComponentEntry<MainCommand> kMainCommands[] = {
    {MainCommand::FileClose, "Close1"},
    {MainCommand::ViewRefresh, "Refresh2"},
    {MainCommand::ViewMinimize, "Minimize2"},
    {MainCommand::DrivesHide, "Hide2"},
    {MainCommand::DrivesReveal, "Reveal1"},
    {MainCommand::DrivesProperties, "Properties2"},
    {MainCommand::DrivesExplore, "Explore1"},
    {MainCommand::DrivesDiskInformation, "DiskInformation1"},
    {MainCommand::DrivesSmartInformation, "SMARTInformation1"},
    {MainCommand::DrivesCheckDisk, "CheckDisk1"},
    {MainCommand::DrivesBenchmark, "DriveBenchmark2"},
    {MainCommand::DrivesMapNetworkDrive, "MapNetworkDrive2"},
    {MainCommand::DrivesDisconnectNetworkDrive, "DisconnectNetworkDrive2"},
    {MainCommand::OpticalEjectSelected, "EjectSelectedDrive1"},
    {MainCommand::OpticalCloseSelected, "CloseSelectedDrive1"},
    {MainCommand::OpticalLockSelected, "LockSelected1"},
    {MainCommand::OpticalUnlockSelected, "UnlockSelected1"},
    {MainCommand::OpticalEjectDefault, "EjectDefaultCD1"},
    {MainCommand::OpticalCloseDefault, "CloseDefaultCD2"},
    {MainCommand::OpticalInsertedMediaInfo, "InsertedMediaType1"},
    {MainCommand::OpticalInformation, "OpticalInformation1"},
    {MainCommand::ToolsSearchDrives, "SearchDrives1"},
    {MainCommand::ToolsMinimizeAll, "MinimizeAll1"},
    {MainCommand::ToolsDefrag, "Defrag1"},
    {MainCommand::ToolsNtBackup, "NTBackup1"},
    {MainCommand::ToolsRemoveUsbDrive, "RemoveUSBDrive1"},
    {MainCommand::ToolsUsbDrives, "USBDrives1"},
    {MainCommand::ToolsVolumes, "Volumes1"},
    {MainCommand::HelpHomepage, "TarnwellHomepage1"},
    {MainCommand::HelpDonate, "Donate1"},
    {MainCommand::HelpAbout, "About2"},
    {MainCommand::Refresh, "Refresh1"},
    {MainCommand::Explore, "Explorer1"},
    {MainCommand::LoadMedia, "LoadMedia1"},
    {MainCommand::EjectMedia, "EjectMedia1"},
    {MainCommand::LockDoor, "LockCDDoor1"},
    {MainCommand::UnlockDoor, "UnlockCDDoor1"},
    {MainCommand::HideDrive, "HideDrive1"},
    {MainCommand::UnhideDrive, "UnhideDrive1"},
    {MainCommand::MapNetworkDrive, "MapNetworkDrive1"},
    {MainCommand::DisconnectNetworkDrive, "DisconnectNetworkDrive1"},
    {MainCommand::SearchDrives, "SearchDrive1"},
    {MainCommand::CreateSubstituteDrive, "CreateSubstituteDrive1"},
    {MainCommand::RemoveSubstituteDrive, "RemoveSubstituteDrive1"},
    {MainCommand::Properties, "Properties1"},
    {MainCommand::About, "About1"},
    {MainCommand::Minimize, "Minimize1"},
    {MainCommand::Exit, "Exit1"},
    {MainCommand::ListStayOnTop, "Stayontop1"},
    {MainCommand::FormatDisk, "FormatDisk1"},
    {MainCommand::ShowSubstituteDirectory, "Query1"},
    {MainCommand::Settings, "Settings1"},
    {MainCommand::DiskFlags, "Diskflags1"},
    {MainCommand::TrayHide, "Hide1"},
    {MainCommand::TrayRestore, "Restore1"},
    {MainCommand::TrayExit, "Exit2"},
    {MainCommand::RefreshButton, "ToolButton1"},
    {MainCommand::ExploreButton, "ToolButton2"},
    {MainCommand::EjectButton, "ToolButton3"},
    {MainCommand::EjectButtonLoad, "LoadCD1"},
    {MainCommand::EjectButtonLoadRightClick, "LoadCD2"},
    {MainCommand::HideButton, "ToolButton5"},
    {MainCommand::HideButtonUnhide, "Unhide2"},
    {MainCommand::PropertiesButton, "ToolButton7"},
    {MainCommand::SubstButton, "ToolButton10"},
    {MainCommand::SubstButtonUnsubst, "Unsubst2"},
    {MainCommand::DiskInfoButton, "ToolButton8"},
    {MainCommand::DiskInfoButtonBenchmark, "DriveBenchmark1"},
    {MainCommand::SmartButton, "ToolButton9"},
    {MainCommand::CheckDiskButton, "ToolButton11"},
    {MainCommand::OpticalButton, "ToolButton13"},
    {MainCommand::ExitButton, "ToolButton12"},
    {MainCommand::ToolBarClose, "Close2"},
    {MainCommand::ToolBarStayOnTop, "StayonTop3"},
    {MainCommand::ToolBarAutoRefresh, "AutoRefresh2"},
    {MainCommand::ToolBarBold, "Bold2"},
    {MainCommand::ToolBarSkipAandB, "SkipAandBdrives2"},
    {MainCommand::ToolBarSearchDrives, "SearchDrives2"},
    {MainCommand::ToolBarMinimizeAll, "MinimizeAll2"},
    {MainCommand::ToolBarDefrag, "Defrag2"},
    {MainCommand::ToolBarBackupRestore, "NTBackupRestore2"},
    {MainCommand::ToolBarCloseDefaultCD, "CloseDefaultCD1"},
    {MainCommand::ToolBarOpenDefaultCD, "OpendefaultCD1"},
    {MainCommand::ToolBarInsertedMedia, "InsertedMedia1"},
    {MainCommand::SiteLabelTop, "Label2"},
    {MainCommand::SiteLabelBottom, "Label3"},
    {MainCommand::FileSaveListAs, "SaveListAs1"},
    {MainCommand::FileRestartElevated, "RestartAsAdministrator1"},
    {MainCommand::CopyRows, "Copy1"},
    {MainCommand::SelectAll, "SelectAll1"},
    {MainCommand::HelpAbout1, "HelpKey1"},
};
static_assert(ListsEveryIdInOrder(kMainCommands));

// Every entry that holds a mark: the View menu's toggles and the option
// panel's check boxes.
enum class MainOption {
    StayOnTop,
    AutoRefresh,
    Bold,
    SkipAandB,
    ShowLocal,
    ShowOptical,
    ShowRemovable,
    ShowNetwork,
    ShowNotMounted,
    ShowDisconnected,
    AutoRefreshBox,  // the option panel's mirror of AutoRefresh
    StayOnTopBox,    // the option panel's mirror of StayOnTop
};

inline constexpr ComponentEntry<MainOption> kMainOptions[] = {
    {MainOption::StayOnTop, "Stayontop2"},
    {MainOption::AutoRefresh, "AutoRefresh1"},
    {MainOption::Bold, "Bold1"},
    {MainOption::SkipAandB, "SkipAandBdrives1"},
    {MainOption::ShowLocal, "CheckBox1"},
    {MainOption::ShowOptical, "CheckBox2"},
    {MainOption::ShowRemovable, "CheckBox3"},
    {MainOption::ShowNetwork, "CheckBox4"},
    {MainOption::ShowNotMounted, "CheckBox5"},
    {MainOption::ShowDisconnected, "CheckBox8"},
    {MainOption::AutoRefreshBox, "CheckBox6"},
    {MainOption::StayOnTopBox, "CheckBox7"},
};
static_assert(ListsEveryIdInOrder(kMainOptions));

constexpr std::string_view ComponentName(MainMenu id) { return kMainMenus[static_cast<int>(id)].name; }
constexpr std::string_view ComponentName(MainCommand id) { return kMainCommands[static_cast<int>(id)].name; }
constexpr std::string_view ComponentName(MainOption id) { return kMainOptions[static_cast<int>(id)].name; }

}  // namespace tw
