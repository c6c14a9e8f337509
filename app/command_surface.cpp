// The main window's commands: menu bar, toolbar and its drop-downs, the list's
// pop-up menu, the notification pop-up menu and the option panel. Entries
// that forward run their target's click action, so they behave exactly like it.
#include "app/tform1.h"

namespace tw {

void TForm1::DeclareCommandSurface() {
    auto item = [&](const char* parent, const char* name, const char* caption, std::function<void()> onClick = {},
                    const char* shortcut = "") {
        Component c;
        c.name = name;
        c.parent = parent;
        c.caption = caption;
        c.shortcut = shortcut;
        c.onClick = std::move(onClick);
        Declare(std::move(c));
    };
    auto hidden = [&](const char* parent, const char* name, const char* caption) {
        item(parent, name, caption);
        Get(name).visible = false;
    };
    auto button = [&](const char* name, const char* caption, const char* hint, std::function<void()> onClick = {}) {
        Component c;
        c.name = name;
        c.kind = ComponentKind::ToolButton;
        c.parent = "ToolBar1";
        c.caption = caption;
        c.hint = hint;
        c.onClick = std::move(onClick);
        Declare(std::move(c));
    };
    auto checkBox = [&](const char* name, const char* caption, bool checked, std::function<void()> onClick = {}) {
        Component c;
        c.name = name;
        c.kind = ComponentKind::CheckBox;
        c.parent = "OptionPanel";
        c.caption = caption;
        c.checked = checked;
        c.onClick = std::move(onClick);
        Declare(std::move(c));
    };
    auto clicks = [this](const char* target) { return [this, target] { ClickInner(target); }; };
    auto refresh = [this] { Refresh1Click(); };
    auto minimize = [this] { view_.Minimize(); };
    auto close = [this] { view_.CloseWindow(); };

    // Menu bar.
    item("File", "Close1", "Close");
    item("View", "Refresh2", "Refresh", clicks("Refresh1"), "F5");
    item("View", "Minimize2", "Minimize", minimize);
    item("View", "Stayontop2", "Stay on top", [this] { Stayontop2Click(); });
    item("View", "AutoRefresh1", "Auto Refresh", [this] { AutoRefresh1Click(); });
    item("View", "Bold1", "Bold", [this] { Bold1Click(); });
    item("View", "SkipAandBdrives1", "Skip A and B drives", [this] { SkipAandBdrives1Click(); });
    Get("AutoRefresh1").checked = true;
    Get("Bold1").checked = true;
    Get("SkipAandBdrives1").checked = true;
    item("Drives", "Hide2", "Hide", clicks("HideDrive1"));
    item("Drives", "Reveal1", "Reveal", clicks("UnhideDrive1"));
    item("Drives", "Properties2", "Properties", clicks("Properties1"));
    item("Drives", "Explore1", "Explore");
    item("Drives", "DiskInformation1", "Disk Information");
    item("Drives", "SMARTInformation1", "SMART Information");
    item("Drives", "CheckDisk1", "Check Disk");
    item("Drives", "DriveBenchmark2", "Drive Benchmark");
    item("Drives", "MapNetworkDrive2", "Map Network Drive", clicks("MapNetworkDrive1"));
    item("Drives", "DisconnectNetworkDrive2", "Disconnect Network Drive", clicks("DisconnectNetworkDrive1"));
    item("Optical", "EjectSelectedDrive1", "Eject Selected CD", clicks("EjectMedia1"));
    item("Optical", "CloseSelectedDrive1", "Close Selected CD", clicks("LoadMedia1"));
    item("Optical", "LockSelected1", "Lock Selected", clicks("LockCDDoor1"));
    item("Optical", "UnlockSelected1", "Unlock Selected", clicks("UnlockCDDoor1"));
    item("Optical", "EjectDefaultCD1", "Eject Default CD");
    item("Optical", "CloseDefaultCD2", "Close Default CD");
    item("Optical", "InsertedMediaType1", "Inserted Media Info");
    item("Optical", "OpticalInformation1", "Optical Information");
    item("Tools", "SearchDrives1", "Search Drives", clicks("SearchDrive1"));
    item("Tools", "MinimizeAll1", "Minimize All");
    item("Tools", "Defrag1", "Defrag");
    item("Tools", "NTBackup1", "NT Backup");
    item("Tools", "RemoveUSBDrive1", "Remove USB Drive");
    item("Help", "TarnwellHomepage1", "Tarnwell - Homepage");
    item("Help", "Donate1", "Donate");
    auto about = [this] { dialogs_.ShowModal(aboutBox_); };
    item("Help", "About2", "About", about);

    // The list's pop-up menu, visible entries in order, then the hidden ones.
    item("PopupMenu1", "Refresh1", "Refresh", refresh);
    item("PopupMenu1", "Explorer1", "Explorer", {}, "F8");
    item("PopupMenu1", "LoadMedia1", "Load Media");
    item("PopupMenu1", "EjectMedia1", "Eject Media");
    item("PopupMenu1", "LockCDDoor1", "Lock CD Door");
    item("PopupMenu1", "UnlockCDDoor1", "Unlock CD Door");
    item("PopupMenu1", "HideDrive1", "Hide Selected Drive", [this] { HideDrive1Click(); });
    item("PopupMenu1", "UnhideDrive1", "Unhide Selected Drive", [this] { UnhideDrive1Click(); });
    item("PopupMenu1", "MapNetworkDrive1", "Map Network Drive");
    item("PopupMenu1", "DisconnectNetworkDrive1", "Disconnect Network Drive");
    item("PopupMenu1", "SearchDrive1", "Search Drives");
    item("PopupMenu1", "CreateSubstituteDrive1", "Create Substitute Drive", [this] { CreateSubstituteDrive1Click(); });
    item("PopupMenu1", "RemoveSubstituteDrive1", "Remove Substitute Drive", [this] { RemoveSubstituteDrive1Click(); });
    item("PopupMenu1", "Properties1", "Properties", {}, "F6");
    item("PopupMenu1", "About1", "About", about);
    item("PopupMenu1", "Minimize1", "Minimize", minimize);
    item("PopupMenu1", "Exit1", "Exit", close, "F10");
    hidden("PopupMenu1", "Stayontop1", "Stay on top");
    hidden("PopupMenu1", "FormatDisk1", "Format Disk");
    hidden("PopupMenu1", "Query1", "Show Substitute Directory");
    Get("Query1").onClick = [this] { Query1Click(); };
    hidden("PopupMenu1", "Settings1", "Settings");
    hidden("PopupMenu1", "Diskflags1", "Disk flags");

    // The notification-area icon's pop-up menu.
    item("PopupMenu2", "Hide1", "Hide", [this] { view_.HideWindow(); });
    item("PopupMenu2", "Restore1", "Restore", [this] { view_.RestoreWindow(); });
    item("PopupMenu2", "Exit2", "Exit", close);

    // Toolbar and its drop-down menus.
    button("ToolButton1", "Refresh", "Refresh drives. (F5)", clicks("Refresh1"));
    button("ToolButton2", "Explore", "Explorer selected  drive F8");
    button("ToolButton3", "Eject CD", "Open / Eject Highlighted CD/DVD/Zip drive.", clicks("EjectMedia1"));
    Get("ToolButton3").dropDownMenu = "PopupMenu3";
    Get("ToolButton3").rightClickMenu = "PopupMenu4";
    item("PopupMenu3", "LoadCD1", "Load CD", clicks("LoadMedia1"));
    item("PopupMenu4", "LoadCD2", "Load CD", clicks("LoadMedia1"));
    button("ToolButton5", "Hide", "Hide highlighted drive", clicks("HideDrive1"));
    Get("ToolButton5").dropDownMenu = "PopupMenu5";
    item("PopupMenu5", "Unhide2", "Unhide", [this] {
        ClickInner("UnhideDrive1");
        ClickInner("Refresh1");
    });
    button("ToolButton7", "Properties", "Selected drive properties", clicks("Properties1"));
    button("ToolButton10", "Subst", "Create substitute drive letter for local folder.",
           clicks("CreateSubstituteDrive1"));
    Get("ToolButton10").dropDownMenu = "PopupMenu7";
    item("PopupMenu7", "Unsubst2", "Unsubst", clicks("RemoveSubstituteDrive1"));
    button("ToolButton8", "Disk Info", "");
    Get("ToolButton8").dropDownMenu = "PopupMenu8";
    item("PopupMenu8", "DriveBenchmark1", "Drive Benchmark");
    button("ToolButton9", "SMART", "");
    button("ToolButton11", "Chk Disk", "");
    button("ToolButton13", "CD/DVD", "");
    button("ToolButton12", "Exit", "Exit Tarnwell. (F10)", close);

    // Option panel: the kind filters refresh at once, except "Disconnected",
    // which takes effect at the next refresh.
    checkBox("CheckBox1", "Local", true, refresh);
    checkBox("CheckBox2", "CD/DVD", true, refresh);
    checkBox("CheckBox3", "Removable", true, refresh);
    checkBox("CheckBox4", "Network", true, refresh);
    checkBox("CheckBox5", "Not mounted", true, refresh);
    checkBox("CheckBox8", "Disconnected", true);
    checkBox("CheckBox6", "Auto Refresh", true, [this] { CheckBox6Click(); });
    checkBox("CheckBox7", "Stay on top", false, [this] { CheckBox7Click(); });
}

}  // namespace tw
