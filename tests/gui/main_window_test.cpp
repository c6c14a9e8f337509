// The real main window, in this process, over the bundled workstation
// machine: what the user sees in the list, the option boxes, the menus and
// the toolbar, and what their clicks and keys do. Then the about box and the
// "Substitute Drive" dialog, shown as the program shows them, and the
// "Optical Information", "Check Disk", "Drive Benchmark", "USB Drives" and
// "Volumes" windows beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/tform1.h"
#include "app/tfrm_disk_info.h"
#include "app/tfrm_optical_info.h"
#include "app/tfrm_smart.h"
#include "app/tfrm_subst_dialog.h"
#include "app/tfrm_usb_drives.h"
#include "app/tfrm_volumes.h"
#include "cli/cli.h"
#include "gui/win32/about_box.h"
#include "gui/win32/bench_mark/bench_mark_ids.h"
#include "gui/win32/bench_mark/bench_mark_window.h"
#include "gui/win32/check_disk/check_disk_ids.h"
#include "gui/win32/check_disk/check_disk_window.h"
#include "gui/win32/command_menus.h"
#include "gui/win32/disk_info/disk_info_ids.h"
#include "gui/win32/disk_info/disk_info_window.h"
#include "gui/win32/dpi.h"
#include "gui/win32/form_window.h"
#include "gui/win32/main_window.h"
#include "gui/win32/message_dialogs.h"
#include "gui/win32/optical_info/optical_info_ids.h"
#include "gui/win32/optical_info/optical_info_window.h"
#include "gui/win32/smart/smart_ids.h"
#include "gui/win32/smart/smart_window.h"
#include "gui/win32/subst_dialog/subst_dialog_ids.h"
#include "gui/win32/subst_dialog/subst_dialog_window.h"
#include "gui/win32/thread_worker.h"
#include "gui/win32/usb_drives/usb_drives_ids.h"
#include "gui/win32/usb_drives/usb_drives_window.h"
#include "gui/win32/volumes/volumes_ids.h"
#include "gui/win32/volumes/volumes_window.h"
#include "gui/win32/win_headers.h"
#include "gui/win32/window_class.h"
#include "inventory/list_columns.h"
#include "platform/sim/machine.h"
#include "platform/win32/win32_platform.h"

namespace {

class CountingDialogs final : public tw::Dialogs {
public:
    tw::ModalResult MessageBox(const std::string& text, tw::BoxKind, tw::Buttons) override {
        ++boxes;
        boxTexts.push_back(text);
        return tw::ModalResult::OK;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    tw::ModalResult ShowModal(tw::FormLogic&) override {
        ++modals;
        return tw::ModalResult::Cancel;
    }
    std::uintptr_t OwnerWindow() override { return 0; }

    // As the program's own: what is queued runs while a device is waited for.
    void ProcessMessages() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    int boxes = 0;
    int modals = 0;
    std::vector<std::string> boxTexts;
    std::vector<std::string> errors;
};

std::string WindowText(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

struct ChildSearch {
    const char* className;
    const char* text;  // null: any
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    if (search->text && WindowText(hwnd) != search->text) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND Child(HWND parent, const char* className, const char* text = nullptr) {
    ChildSearch search{className, text, nullptr};
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MenuText(HMENU menu, UINT item, UINT flag) {
    char text[256] = {};
    GetMenuStringA(menu, item, text, sizeof text, flag);
    return text;
}

std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) out.push_back(MenuText(menu, static_cast<UINT>(i), MF_BYPOSITION));
    return out;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        machine = tw::sim::Machine::FromJsonText(tw::cli::kBundledMachine, "bundled workstation");
        view = std::make_unique<tw::gui::MainWindow>(nullptr, nullptr);
        form = std::make_unique<tw::TForm1>(*machine, *view, dialogs, app);
        ASSERT_TRUE(view->Create(*form));
        form->FormCreate();
        // Shown, as the program shows it: a hidden window places its children
        // as it is first shown.
        ShowWindow(view->hwnd(), SW_SHOWNOACTIVATE);
        commands = std::make_unique<tw::gui::CommandMap>(*form);
        list = Child(view->hwnd(), WC_LISTVIEWA);
        ASSERT_NE(list, nullptr);
    }

    void TearDown() override {
        commands.reset();
        view.reset();
        form.reset();
        // Whatever a closed window left in the queue stays with this test.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    int Rows() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

    std::string Cell(int item, int subItem) const {
        char text[256] = {};
        LVITEMA request{};
        request.iSubItem = subItem;
        request.pszText = text;
        request.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
        return text;
    }

    int Image(int item) const {
        LVITEMA request{};
        request.mask = LVIF_IMAGE;
        request.iItem = item;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&request));
        return request.iImage;
    }

    UINT Id(const char* name) const { return commands->IdOf(*form->SlotNamed(name)); }
    void Command(const char* name) const { SendMessageA(view->hwnd(), WM_COMMAND, MAKEWPARAM(Id(name), 0), 0); }
    bool MenuChecked(const char* name) const {
        return GetMenuState(GetMenu(view->hwnd()), Id(name), MF_BYCOMMAND) & MF_CHECKED;
    }
    bool BoxChecked(const char* caption) const {
        return SendMessageA(Child(view->hwnd(), "Button", caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void ClickBox(const char* caption) const { SendMessageA(Child(view->hwnd(), "Button", caption), BM_CLICK, 0, 0); }

    std::unique_ptr<tw::sim::Machine> machine;
    tw::Application app;
    CountingDialogs dialogs;
    std::unique_ptr<tw::gui::MainWindow> view;
    std::unique_ptr<tw::TForm1> form;
    std::unique_ptr<tw::gui::CommandMap> commands;
    HWND list = nullptr;
};

// A window the logic can show but that has no real window is refused when
// the program starts, naming it, not when the user first asks for it.
TEST_F(MainWindowTest, AFormWithoutAWindowIsRefusedAtStartByName) {
    tw::gui::MessageDialogs shell(nullptr);
    for (tw::FormLogic* f : form->SecondaryForms()) {
        if (f->Id() == tw::FormId::Smart) continue;
        shell.RegisterModeless(f->Id(), nullptr, [](tw::FormLogic&) {});
    }
    try {
        shell.RequireWindows(form->SecondaryForms());
        ADD_FAILURE() << "a form without a window was let through";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "no window shows TfrmSmart");
    }
    EXPECT_THROW(shell.Show(form->Smart()), std::logic_error);
    shell.RegisterModeless(tw::FormId::Smart, nullptr, [](tw::FormLogic&) {});
    EXPECT_NO_THROW(shell.RequireWindows(form->SecondaryForms()));
}

TEST_F(MainWindowTest, TheWindowIsTitledTarnwell) { EXPECT_EQ(WindowText(view->hwnd()), "Tarnwell"); }

TEST_F(MainWindowTest, RefreshFillsTheListWithTheMachinesDrives) {
    EXPECT_EQ(Rows(), 0);
    Command("Refresh2");
    ASSERT_EQ(Rows(), 8);
    const std::vector<std::string> expected{"C: ", "D: ", "E: ", "F: ", "G: ", "H: ", "R: ", "S: "};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Cell(i, 0), expected[static_cast<size_t>(i)]);
    EXPECT_EQ(Cell(0, 1), "System");
    EXPECT_EQ(Cell(4, 3), "\\\\fileserver\\projects");
    EXPECT_EQ(Cell(6, 11), "Hidden");
    EXPECT_EQ(Image(1), 2);  // optical
    EXPECT_EQ(Image(2), 3);  // removable
    EXPECT_EQ(Image(4), 1);  // network
    EXPECT_EQ(Image(5), 5);  // disconnected network
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(MainWindowTest, TheListSelectsTheFormsRowAndReportsTheUsersChoice) {
    Command("Refresh2");
    ASSERT_EQ(form->Selected(), 0);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
    ListView_SetItemState(list, 4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(form->Selected(), 4);
    // A refresh keeps the row the user chose.
    Command("Refresh2");
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 4);
}

TEST_F(MainWindowTest, SeveralRowsAreSelectedForCopyingWhileActionsTakeTheFocusedOne) {
    Command("Refresh2");
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(form->Selected(), 3);
    EXPECT_EQ(form->Marked(), (std::vector<int>{0, 1, 3}));
    Command("SelectAll1");
    EXPECT_EQ(ListView_GetSelectedCount(list), 8u);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 3);
    EXPECT_EQ(form->Selected(), 3);
}

TEST_F(MainWindowTest, ColumnsFollowTheTableScaledToTheWindowsDpi) {
    HWND header = ListView_GetHeader(list);
    ASSERT_EQ(Header_GetItemCount(header), static_cast<int>(tw::inventory::kColumns.size()));
    const UINT dpi = tw::gui::DpiOf(view->hwnd());
    for (size_t i = 0; i < tw::inventory::kColumns.size(); ++i) {
        char text[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        const auto& expected = tw::inventory::kColumns[i];
        EXPECT_EQ(std::string(text), std::string(expected.caption));
        if (expected.width) {
            EXPECT_EQ(ListView_GetColumnWidth(list, static_cast<int>(i)), tw::gui::Scale(expected.width, dpi));
        }
        if (i > 0) {
            const bool right = (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT;
            EXPECT_EQ(right, expected.align == tw::inventory::Align::Right) << expected.caption;
        }
    }
}

TEST_F(MainWindowTest, BoldStartsOnAndTheViewMenuTurnsItOff) {
    auto weight = [&] {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfWeight;
    };
    EXPECT_TRUE(MenuChecked("Bold1"));
    EXPECT_EQ(weight(), FW_BOLD);
    Command("Bold1");
    EXPECT_FALSE(MenuChecked("Bold1"));
    EXPECT_LT(weight(), FW_BOLD);
}

TEST_F(MainWindowTest, OptionBoxesShowTheMarksAndTheirClicksReachTheLogic) {
    for (const char* caption :
         {"Local", "CD/DVD", "Removable", "Network", "Not mounted", "Disconnected", "Auto Refresh"}) {
        EXPECT_TRUE(BoxChecked(caption)) << caption;
    }
    EXPECT_FALSE(BoxChecked("Stay on top"));

    ClickBox("Network");
    EXPECT_FALSE(BoxChecked("Network"));
    EXPECT_FALSE(form->Find("CheckBox4")->checked);
    // The mapped network drive left the list at once.
    ASSERT_EQ(Rows(), 7);
    for (int i = 0; i < Rows(); ++i) EXPECT_NE(Cell(i, 0), "G: ");
}

TEST_F(MainWindowTest, StayOnTopBoxAndMenuAgreeAndRaiseTheWindow) {
    ClickBox("Stay on top");
    EXPECT_TRUE(BoxChecked("Stay on top"));
    EXPECT_TRUE(MenuChecked("Stayontop2"));
    EXPECT_TRUE(GetWindowLongA(view->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    Command("Stayontop2");
    EXPECT_FALSE(BoxChecked("Stay on top"));
    EXPECT_FALSE(GetWindowLongA(view->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindowTest, AutoRefreshMenuAndBoxStayTogether) {
    Command("AutoRefresh1");
    EXPECT_FALSE(MenuChecked("AutoRefresh1"));
    EXPECT_FALSE(BoxChecked("Auto Refresh"));
    EXPECT_FALSE(form->TimerEnabled());
}

TEST_F(MainWindowTest, TheMenuBarHasItsSixMenusWithTheirEntries) {
    HMENU bar = GetMenu(view->hwnd());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(MenuTexts(bar), (std::vector<std::string>{"&File", "&View", "&Drives", "&Optical", "&Tools", "&Help"}));
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 1)), (std::vector<std::string>{"Refresh\tF5", "Minimize", "Stay on top",
                                                                       "Auto Refresh", "Bold", "Skip A and B drives"}));
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 5)), (std::vector<std::string>{"Tarnwell - Homepage", "Donate", "About"}));
}

TEST_F(MainWindowTest, TheListsPopUpMenuHoldsOnlyTheVisibleEntriesInOrder) {
    HMENU menu = tw::gui::BuildPopupMenu(*form, *commands, tw::KeyOf(tw::MainMenu::ListPopup));
    const std::vector<std::string> texts = MenuTexts(menu);
    DestroyMenu(menu);
    ASSERT_EQ(texts.size(), 17u);
    EXPECT_EQ(texts.front(), "Refresh");
    EXPECT_EQ(texts[1], "Explorer\tF8");
    EXPECT_EQ(texts.back(), "Exit\tF10");
    for (const auto& t : texts) EXPECT_NE(t, "Format Disk");
}

TEST_F(MainWindowTest, TheToolBarShowsItsButtonsWithDropDownArrows) {
    HWND toolBar = Child(view->hwnd(), TOOLBARCLASSNAMEA);
    ASSERT_NE(toolBar, nullptr);
    const int count = static_cast<int>(SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
    std::vector<std::string> texts;
    std::vector<std::string> withArrows;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        char text[64] = {};
        SendMessageA(toolBar, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
        if (button.fsStyle & BTNS_DROPDOWN) withArrows.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Refresh", "Explore", "Eject CD", "Hide", "Properties", "Subst",
                                               "Disk Info", "SMART", "Chk Disk", "CD/DVD", "Exit"}));
    EXPECT_EQ(withArrows, (std::vector<std::string>{"Eject CD", "Hide", "Subst", "Disk Info"}));
}

TEST_F(MainWindowTest, TheSiteAddressShowsAboveAndBelowTheListAndOpensTheSite) {
    std::vector<HWND> labels;
    for (HWND child = GetWindow(view->hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowText(child) == "https://tarnwell.example/") labels.push_back(child);
    }
    ASSERT_EQ(labels.size(), 2u);
    RECT listRect{};
    GetWindowRect(list, &listRect);
    EXPECT_GT(listRect.bottom - listRect.top, 100);
    for (HWND label : labels) {
        RECT rc{};
        GetWindowRect(label, &rc);
        EXPECT_TRUE(rc.bottom <= listRect.top || rc.top >= listRect.bottom) << "a label covers the list";
        SendMessageA(view->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED),
                     reinterpret_cast<LPARAM>(label));
        ASSERT_FALSE(machine->ShellRequests().empty());
        EXPECT_EQ(machine->ShellRequests().back().file, "https://tarnwell.example/");
        EXPECT_EQ(machine->ShellRequests().back().verb, "open");
    }
    EXPECT_EQ(machine->ShellRequests().size(), 2u);
}

TEST_F(MainWindowTest, FunctionKeysRefreshAndExit) {
    MSG f5{list, WM_KEYDOWN, VK_F5, 0, 0, {}};
    view->Dispatch(f5);
    EXPECT_EQ(Rows(), 8);
    MSG f10{list, WM_SYSKEYDOWN, VK_F10, 0, 0, {}};
    view->Dispatch(f10);
    view->ProcessMessages();
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(MainWindowTest, TheWindowTakesTheWidthFormCreateAsksFor) {
    RECT rc{};
    GetWindowRect(view->hwnd(), &rc);
    const UINT dpi = tw::gui::DpiOf(view->hwnd());
    const int screen = tw::gui::Unscale(GetSystemMetrics(SM_CXSCREEN), dpi);
    EXPECT_EQ(rc.right - rc.left, tw::gui::Scale(screen > 1250 ? 1250 : 800, dpi));
}

// ---- The secondary windows ----------------------------------------------

// Handles what is queued for this thread, for about `ms` milliseconds.
void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Under run-gui-test, TW_GUI_SCREENSHOTS names a folder: a window shown here
// then stays up until the script has taken its picture. The script reads the
// window's place on the screen from "<name>.ready" and answers "<name>.done".
void HoldForScreenshot(HWND window, const std::string& name) {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TW_GUI_SCREENSHOTS", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return;
    Pump(700);  // the last repaint reaches the screen
    RECT r{};
    GetWindowRect(window, &r);
    const std::string base = std::string(folder) + "\\" + name;
    // Written aside and renamed, so the script never reads half a file.
    HANDLE f =
        CreateFileA((base + ".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    char geometry[64];
    const int n = wsprintfA(geometry, "%dx%d+%d+%d\n", static_cast<int>(r.right - r.left),
                            static_cast<int>(r.bottom - r.top), static_cast<int>(r.left), static_cast<int>(r.top));
    DWORD written = 0;
    WriteFile(f, geometry, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(f);
    if (!MoveFileExA((base + ".part").c_str(), (base + ".ready").c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    const DWORD start = GetTickCount();
    while (!FileExists(base + ".done") && GetTickCount() - start < 60000) Pump(100);
}

// Runs `action` from the message loop that is running by then, once.
std::function<void()> pendingAction;
void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto action = std::move(pendingAction);
    pendingAction = nullptr;
    if (action) action();
}
void Soon(std::function<void()> action) {
    pendingAction = std::move(action);
    SetTimer(nullptr, 0, 50, &RunPendingAction);
}

// Closes a dialog whose modal loop nothing else ended, so a broken test fails
// instead of hanging.
HWND watchedDialog = nullptr;
UINT_PTR watchdog = 0;
void CALLBACK CloseStuckDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (watchedDialog && IsWindowVisible(watchedDialog)) {
        ADD_FAILURE() << "the dialog was still open after 30 seconds";
        PostMessageA(watchedDialog, WM_CLOSE, 0, 0);
    }
}
void WatchDialog(HWND dialog) {
    watchedDialog = dialog;
    if (!watchdog) watchdog = SetTimer(nullptr, 0, 30000, &CloseStuckDialog);
}
void StopWatching() {
    if (watchdog) KillTimer(nullptr, watchdog);
    watchdog = 0;
    watchedDialog = nullptr;
}

bool Near(COLORREF seen, int r, int g, int b, int tolerance = 14) {
    return std::abs(GetRValue(seen) - r) <= tolerance && std::abs(GetGValue(seen) - g) <= tolerance &&
           std::abs(GetBValue(seen) - b) <= tolerance;
}

std::string Rgb(COLORREF c) {
    return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

// A child's rectangle in its parent's client coordinates.
RECT ClientRectOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) out.push_back(c);
    }
    return out;
}

// Every child shown lies wholly inside the client area and none covers
// another.
void ExpectTidyLayout(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const std::vector<HWND> children = Children(window);
    ASSERT_FALSE(children.empty());
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT a = ClientRectOf(children[i]);
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom)
            << "\"" << WindowText(children[i]) << "\" sticks out of the " << client.right << "x" << client.bottom
            << " client area: " << a.left << "," << a.top << " - " << a.right << "," << a.bottom;
        for (size_t j = i + 1; j < children.size(); ++j) {
            RECT overlap{};
            const RECT b = ClientRectOf(children[j]);
            EXPECT_FALSE(IntersectRect(&overlap, &a, &b))
                << "\"" << WindowText(children[i]) << "\" overlaps \"" << WindowText(children[j]) << "\"";
        }
    }
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As the program makes it: hidden, at the main window's DPI.
        about.CreateHidden(nullptr, nullptr, 360, 250, tw::gui::DpiOf(nullptr));
        box = about.hwnd();
        ASSERT_NE(box, nullptr);
        // Its controls are made at its first showing.
        EXPECT_EQ(GetWindow(box, GW_CHILD), nullptr);
        about.Fill();
        dpi = tw::gui::DpiOf(box);
    }
    void TearDown() override { Pump(0); }

    // The picture is centred at the top, one margin down; (x, y) are the
    // 320x120 picture's own pixels.
    COLORREF PictureAt(HDC dc, int x, int y) const {
        RECT client{};
        GetClientRect(box, &client);
        const int left = (client.right - tw::gui::Scale(320, dpi)) / 2;
        const int top = tw::gui::Scale(12, dpi);
        return GetPixel(dc, left + tw::gui::Scale(x, dpi), top + tw::gui::Scale(y, dpi));
    }

    tw::gui::AboutBox about;
    HWND box = nullptr;
    UINT dpi = 96;
};

TEST_F(AboutBoxTest, ShowsItsPictureAboveTheNameAndVersion) {
    EXPECT_EQ(WindowText(box), "About");
    ShowWindow(box, SW_SHOWNORMAL);
    UpdateWindow(box);
    HoldForScreenshot(box, "tarnwell-about-box");

    HDC dc = GetDC(box);
    const COLORREF hole = PictureAt(dc, 70, 60);
    const COLORREF hub = PictureAt(dc, 80, 60);
    const COLORREF farRight = PictureAt(dc, 316, 10);
    const COLORREF farLeft = PictureAt(dc, 3, 100);
    ReleaseDC(box, dc);
    EXPECT_TRUE(Near(hole, 24, 30, 44)) << "the disc's spindle hole is " << Rgb(hole);
    EXPECT_TRUE(Near(hub, 170, 176, 186)) << "the disc's hub is " << Rgb(hub);
    EXPECT_TRUE(Near(farRight, 26, 92, 122)) << "the gradient's right end is " << Rgb(farRight);
    EXPECT_TRUE(Near(farLeft, 16, 32, 72)) << "the gradient's left end is " << Rgb(farLeft);

    HWND name = Child(box, "Static", "Tarnwell");
    ASSERT_NE(name, nullptr);
    HWND version = nullptr;
    for (HWND c : Children(box)) {
        if (WindowText(c).rfind("Version ", 0) == 0) version = c;
    }
    ASSERT_NE(version, nullptr);
    EXPECT_GT(WindowText(version).size(), std::string("Version ").size());
    EXPECT_TRUE(IsWindowVisible(name));
    EXPECT_TRUE(IsWindowVisible(version));
    // Name, then version, below the picture.
    EXPECT_GE(ClientRectOf(name).top, tw::gui::Scale(12 + 120, dpi));
    EXPECT_GE(ClientRectOf(version).top, ClientRectOf(name).bottom);
    ShowWindow(box, SW_HIDE);
}

TEST_F(AboutBoxTest, NameVersionAndOkButtonFitWithoutCoveringEachOther) {
    ExpectTidyLayout(box);
    HWND ok = Child(box, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(GetWindowLongA(ok, GWL_STYLE) & BS_DEFPUSHBUTTON);
}

TEST_F(AboutBoxTest, TheOkButtonClosesTheBox) {
    HWND ok = Child(box, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    Soon([ok] { SendMessageA(ok, BM_CLICK, 0, 0); });
    WatchDialog(box);
    about.ShowModal();  // returns once the box has closed itself
    StopWatching();
    EXPECT_FALSE(IsWindowVisible(box));
}

// Comes up as the main window does when the program gets the focus back:
// its refresh runs what is queued (here, as the window is activated).
class RunsQueuedWhenActivated final : public tw::gui::FormWindow {
public:
    RunsQueuedWhenActivated() : FormWindow("TwRunsQueuedWhenActivated", "Coming up") {}

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) Pump(0);
        return FormWindow::HandleMessage(message, wParam, lParam);
    }
};

HWND stuckModal = nullptr;
void CALLBACK EndStuckModal(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ADD_FAILURE() << "the modal loop still ran after 30 seconds";
    PostMessageA(stuckModal, WM_CLOSE, 0, 0);
}

TEST(ModalWindowTest, ACloseThatArrivesWhileTheWindowComesUpEndsIt) {
    RunsQueuedWhenActivated window;
    window.CreateHidden(nullptr, nullptr, 200, 100, tw::gui::DpiOf(nullptr));
    ASSERT_NE(window.hwnd(), nullptr);
    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    stuckModal = window.hwnd();
    const UINT_PTR backstop = SetTimer(nullptr, 0, 30000, &EndStuckModal);
    window.ShowModal();  // the close, run as it comes up, ends it
    KillTimer(nullptr, backstop);
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
}

// What a dialog's controls are, in their order: class, id, styles, place,
// font face and size.
std::vector<std::string> DescribeControls(HWND dialog) {
    std::vector<std::string> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(c, name, sizeof name);
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0)), sizeof font, &font);
        out.push_back(std::string(name) + " " + std::to_string(GetDlgCtrlID(c)) + " " +
                      std::to_string(GetWindowLongA(c, GWL_STYLE)) + " " +
                      std::to_string(GetWindowLongA(c, GWL_EXSTYLE)) + " " + std::to_string(r.left) + "," +
                      std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom) + " " +
                      font.lfFaceName + " " + std::to_string(font.lfHeight));
    }
    return out;
}

INT_PTR CALLBACK SystemDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A window made at start-up has no controls until it is first shown; then
// it has exactly the ones the system's dialog manager makes from the same
// template, and the keyboard focus where the system puts it.
TEST(DialogFill, TheFirstShowingMakesTheControlsTheDialogManagerWould) {
    for (int id : {IDD_SUBST_DIALOG, IDD_OPTICAL_INFO, IDD_SMART, IDD_DISK_INFO, IDD_CHECK_DISK, IDD_BENCH_MARK,
                   IDD_USB_DRIVES, IDD_VOLUMES}) {
        SCOPED_TRACE(id);
        HWND system =
            CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, &SystemDialogProc, 0);
        ASSERT_NE(system, nullptr);
        const int systemFocus = GetDlgCtrlID(GetFocus());
        tw::gui::Dialog ours(id);
        ASSERT_TRUE(ours.CreateHidden(nullptr));
        EXPECT_EQ(GetWindow(ours.hwnd(), GW_CHILD), nullptr);
        // Made hidden, it takes neither the focus nor the activation: the
        // program's first activation, which refreshes the list, belongs to
        // the main window's showing, after every window is made.
        EXPECT_NE(GetActiveWindow(), ours.hwnd());
        EXPECT_NE(GetFocus(), ours.hwnd());
        ours.Fill();
        // Its frame and sizes are the ones the dialog manager gives.
        RECT systemOuter{}, ourOuter{}, systemClient{}, ourClient{};
        GetWindowRect(system, &systemOuter);
        GetWindowRect(ours.hwnd(), &ourOuter);
        GetClientRect(system, &systemClient);
        GetClientRect(ours.hwnd(), &ourClient);
        EXPECT_EQ(ourOuter.right - ourOuter.left, systemOuter.right - systemOuter.left);
        EXPECT_EQ(ourOuter.bottom - ourOuter.top, systemOuter.bottom - systemOuter.top);
        EXPECT_EQ(ourClient.right, systemClient.right);
        EXPECT_EQ(ourClient.bottom, systemClient.bottom);
        EXPECT_EQ(GetWindowLongA(ours.hwnd(), GWL_STYLE) & ~WS_VISIBLE,
                  GetWindowLongA(system, GWL_STYLE) & ~WS_VISIBLE);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), systemFocus);
        EXPECT_EQ(DescribeControls(ours.hwnd()), DescribeControls(system));
        EXPECT_FALSE(DescribeControls(system).empty());
        DestroyWindow(system);
    }
}

// Made at start-up, a secondary window is a top-level window owned by the
// main window by the time it is first shown.
TEST(DialogFill, TheFirstShowingMakesItATopLevelWindowOfTheMainWindow) {
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    {
        tw::gui::Dialog dialog(IDD_VOLUMES);
        tw::gui::FormWindow form("TwOwnedForm", "Owned");
        ASSERT_TRUE(dialog.CreateHidden(owner));
        form.CreateHidden(owner, nullptr, 200, 100, tw::gui::DpiOf(owner));
        ASSERT_NE(form.hwnd(), nullptr);
        for (HWND window : {dialog.hwnd(), form.hwnd()}) {
            SCOPED_TRACE(window == dialog.hwnd() ? "dialog" : "form");
            window == dialog.hwnd() ? dialog.Fill() : form.Fill();
            EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
            EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
            EXPECT_FALSE(IsWindowVisible(window));
            EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
        }
        EXPECT_FALSE(GetWindowLongA(form.hwnd(), GWL_STYLE) & WS_POPUP);
        dialog.ShowModeless();
        EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
        EXPECT_EQ(GetActiveWindow(), dialog.hwnd());
    }
    DestroyWindow(owner);
}

class SubstDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine = tw::sim::Machine::FromJsonText(tw::cli::kBundledMachine, "bundled workstation");
        logic = std::make_unique<tw::TFrmSubstDialog>(*machine, dialogs);
        window.CreateHidden(nullptr);
        window.Fill();  // its controls, as at its first showing
        dialog = window.hwnd();
        ASSERT_NE(dialog, nullptr);
        std::vector<HWND> edits;
        for (HWND c : Children(dialog)) {
            char name[32] = {};
            GetClassNameA(c, name, sizeof name);
            if (lstrcmpiA(name, "Edit") == 0) edits.push_back(c);
        }
        ASSERT_EQ(edits.size(), 2u);
        // The letter field is the narrow one on the left, the path beside it.
        std::sort(edits.begin(), edits.end(),
                  [](HWND a, HWND b) { return ClientRectOf(a).left < ClientRectOf(b).left; });
        letter = edits[0];
        path = edits[1];
        startup = Child(dialog, "Button", "Add to startup");
        ok = Child(dialog, "Button", "OK");
        cancel = Child(dialog, "Button", "Cancel");
        ASSERT_NE(startup, nullptr);
        ASSERT_NE(ok, nullptr);
        ASSERT_NE(cancel, nullptr);
        WatchDialog(dialog);
    }
    void TearDown() override {
        StopWatching();
        pendingAction = nullptr;
        Pump(0);
    }

    bool StartupChecked() const { return SendMessageA(startup, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Type(HWND field, const std::string& keys) const {
        for (char k : keys) SendMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(k)), 1);
    }

    std::unique_ptr<tw::sim::Machine> machine;
    CountingDialogs dialogs;
    std::unique_ptr<tw::TFrmSubstDialog> logic;
    tw::gui::SubstDialogWindow window;
    HWND dialog = nullptr;
    HWND letter = nullptr;
    HWND path = nullptr;
    HWND startup = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;
};

TEST_F(SubstDialogTest, OpensTitledWithItsLabelsAndButtons) {
    EXPECT_EQ(WindowText(dialog), "Substitute Drive");
    EXPECT_NE(Child(dialog, "Static", "Select drive letter and path for the new drive"), nullptr);
    EXPECT_NE(Child(dialog, "Static", "Drive Letter"), nullptr);
    EXPECT_NE(Child(dialog, "Static", "Path"), nullptr);
    EXPECT_TRUE(GetWindowLongA(ok, GWL_STYLE) & BS_DEFPUSHBUTTON);
    ExpectTidyLayout(dialog);
}

TEST_F(SubstDialogTest, ShowsTheLogicsFieldsWhenItOpens) {
    logic->SetText("Edit2", "S");
    logic->SetText("Edit1", "C:\\work");
    logic->SetChecked("CheckBox1", true);
    std::string shownLetter, shownPath;
    bool shownChecked = false, visible = false;
    HWND focus = nullptr;
    Soon([&] {
        visible = IsWindowVisible(dialog);
        shownLetter = WindowText(letter);
        shownPath = WindowText(path);
        shownChecked = StartupChecked();
        focus = GetFocus();
        HoldForScreenshot(dialog, "tarnwell-subst-dialog");
        SendMessageA(ok, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::OK);
    EXPECT_TRUE(visible);
    EXPECT_EQ(shownLetter, "S");
    EXPECT_EQ(shownPath, "C:\\work");
    EXPECT_TRUE(shownChecked);
    // The user types the letter first.
    EXPECT_EQ(focus, letter);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(SubstDialogTest, TheLetterFieldTakesOneLetterInUpperCase) {
    EXPECT_TRUE(GetWindowLongA(letter, GWL_STYLE) & ES_UPPERCASE);
    EXPECT_EQ(SendMessageA(letter, EM_GETLIMITTEXT, 0, 0), 1);
    EXPECT_FALSE(GetWindowLongA(path, GWL_STYLE) & ES_UPPERCASE);
    std::string typed, typedPath;
    Soon([&] {
        SendMessageA(letter, EM_SETSEL, 0, -1);
        Type(letter, "sx");
        typed = WindowText(letter);
        SetWindowTextA(path, "");
        Type(path, "d:\\Data");
        typedPath = WindowText(path);
        SendMessageA(ok, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::OK);
    EXPECT_EQ(typed, "S");
    EXPECT_EQ(typedPath, "d:\\Data");
}

TEST_F(SubstDialogTest, OkHandsTheFieldsBackToTheLogic) {
    logic->SetChecked("CheckBox1", true);
    Soon([&] {
        SetWindowTextA(letter, "T");
        SetWindowTextA(path, "C:\\projects\\tarnwell");
        SendMessageA(startup, BM_CLICK, 0, 0);  // unticks it
        SendMessageA(ok, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::OK);
    EXPECT_EQ(logic->Letter(), "T");
    EXPECT_EQ(logic->Path(), "C:\\projects\\tarnwell");
    EXPECT_FALSE(logic->AddToStartup());

    // Opened again, it shows what was stored.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::Cancel);
    EXPECT_EQ(WindowText(letter), "T");
    EXPECT_EQ(WindowText(path), "C:\\projects\\tarnwell");
    EXPECT_FALSE(StartupChecked());
}

TEST_F(SubstDialogTest, TheFolderBrowserIsOwnedByTheDialog) {
    HWND browse = Child(dialog, "Button", "...");
    ASSERT_NE(browse, nullptr);
    Soon([&] {
        SendMessageA(browse, BM_CLICK, 0, 0);  // the machine's browser is cancelled
        SendMessageA(ok, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::OK);
    EXPECT_EQ(machine->LastBrowseOwner(), reinterpret_cast<std::uintptr_t>(dialog));
}

TEST_F(SubstDialogTest, PostedOkAndCancelEndTheDialogWithTheirResults) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::OK);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::Cancel);
}

TEST_F(SubstDialogTest, CancelAndTheCloseBoxAnswerCancel) {
    logic->SetText("Edit2", "S");
    Soon([&] { SendMessageA(cancel, BM_CLICK, 0, 0); });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::Cancel);
    Soon([&] { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::Cancel);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(SubstDialogTest, EnterMeansOkAndEscapeMeansCancel) {
    Soon([&] {
        SetFocus(letter);
        PostMessageA(letter, WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::OK);
    Soon([&] {
        SetFocus(letter);
        PostMessageA(letter, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_EQ(window.Run(*logic), tw::ModalResult::Cancel);
}

// The DVD writer of the DVD workstation (E:) beside the empty CD-ROM drive of
// the older machine (D:): two optical drives to choose between.
std::unique_ptr<tw::sim::Machine> TwoOpticalDrives() {
    auto read = [](const char* name) {
        std::ifstream file(std::string(TW_EXAMPLES_DIR) + "/" + name);
        return nlohmann::json::parse(file);
    };
    nlohmann::json machine = read("dvd-workstation.json");
    machine["drives"]["D"] = read("empty-cdrom.json")["drives"]["D"];
    return tw::sim::Machine::FromJsonText(machine.dump(), "dvd workstation with an empty CD-ROM drive");
}

class OpticalInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine = TwoOpticalDrives();
        logic = std::make_unique<tw::TfrmOpticalInfo>(*machine, dialogs);
        ASSERT_TRUE(window.CreateHidden(nullptr));
        window.Fill();  // its controls, as at its first showing
        dialog = window.hwnd();
        chooser = GetDlgItem(dialog, IDC_OPTICAL_DRIVE);
        capabilities = GetDlgItem(dialog, IDC_OPTICAL_CAPABILITIES);
    }
    void TearDown() override { Pump(0); }

    // As the program shows it: through the dialogs' registry of windows.
    void Show() {
        tw::gui::MessageDialogs shell(nullptr);
        shell.RegisterModeless(tw::FormId::OpticalInfo, dialog, [this](tw::FormLogic& form) { window.Show(form); });
        shell.Show(*logic);
    }
    std::string Field(int id) const { return WindowText(GetDlgItem(dialog, id)); }
    std::vector<std::string> Entries(HWND box, UINT countMessage, UINT textMessage) const {
        std::vector<std::string> out;
        const int count = static_cast<int>(SendMessageA(box, countMessage, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            SendMessageA(box, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }
    std::vector<std::string> ChooserEntries() const { return Entries(chooser, CB_GETCOUNT, CB_GETLBTEXT); }
    std::vector<std::string> CapabilityLines() const { return Entries(capabilities, LB_GETCOUNT, LB_GETTEXT); }
    // The user picks entry `index` from the drop-down list.
    void Pick(int index) const {
        SendMessageA(chooser, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTICAL_DRIVE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(chooser));
    }
    void Press(int button) const { SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

    std::unique_ptr<tw::sim::Machine> machine;
    CountingDialogs dialogs;
    std::unique_ptr<tw::TfrmOpticalInfo> logic;
    tw::gui::OpticalInfoWindow window;
    HWND dialog = nullptr;
    HWND chooser = nullptr;
    HWND capabilities = nullptr;
};

TEST_F(OpticalInfoTest, ShowingListsTheOpticalDrivesAndShowsTheFirst) {
    EXPECT_FALSE(IsWindowVisible(dialog));
    Show();
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(WindowText(dialog), "Optical Information");
    const std::vector<std::string> entries = ChooserEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].substr(0, 2), "D:");
    EXPECT_EQ(entries[1], "E: [HOLIDAY_2024]");
    EXPECT_EQ(SendMessageA(chooser, CB_GETCURSEL, 0, 0), 0);
    // The CD-ROM drive has no disc: it names itself and what it can read.
    EXPECT_EQ(Field(IDC_OPTICAL_VENDOR), "OLDDRIVE");
    EXPECT_EQ(Field(IDC_OPTICAL_PRODUCT), "CD-ROM CR-48X   ");
    EXPECT_EQ(Field(IDC_OPTICAL_REVISION), "2.10");
    EXPECT_EQ(Field(IDC_OPTICAL_VENDOR_SPEC), "");
    EXPECT_EQ(CapabilityLines(), (std::vector<std::string>{"Read CD-R", "Read CD-RW", "Device Buffer: 128k",
                                                           "Max Read Speed: 48x", "Max Write Speed: 0x"}));
    for (const char* label : {"Optical Information", "Select Drive", "Vendor", "Product ID", "Revision", "Vendor Spec",
                              "Detected Drive Capabilities"}) {
        EXPECT_NE(Child(dialog, "Static", label), nullptr) << label;
    }
    for (const char* button : {"Open Tray", "Close Tray", "Analyse Disk", "Close"}) {
        EXPECT_NE(Child(dialog, "Button", button), nullptr) << button;
    }
    ExpectTidyLayout(dialog);
}

TEST_F(OpticalInfoTest, ChoosingTheDvdWriterShowsItsIdentityAndCapabilities) {
    Show();
    Pick(1);
    EXPECT_EQ(Field(IDC_OPTICAL_VENDOR), "TARNWELL");
    EXPECT_EQ(Field(IDC_OPTICAL_PRODUCT), "DVD-RW TW-1000  ");
    EXPECT_EQ(Field(IDC_OPTICAL_REVISION), "1.02");
    EXPECT_EQ(Field(IDC_OPTICAL_VENDOR_SPEC), "09/14/24");
    const std::vector<std::string> lines = CapabilityLines();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines.front(), "Read CD-R");
    EXPECT_EQ(lines.back(), "Max Write Speed: 16x");
    // Two columns side by side, each line whole.
    RECT first{}, last{};
    SendMessageA(capabilities, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(capabilities, LB_GETITEMRECT, 13, reinterpret_cast<LPARAM>(&last));
    RECT list{};
    GetClientRect(capabilities, &list);
    EXPECT_GT(last.left, first.left);
    EXPECT_LE(last.right, list.right);
    EXPECT_LE(last.bottom, list.bottom);
    HoldForScreenshot(dialog, "tarnwell-optical-info");
}

TEST_F(OpticalInfoTest, AnalyseDiskNamesTheInsertedMediaInABox) {
    Show();
    Pick(1);
    Press(IDC_OPTICAL_ANALYSE);
    EXPECT_EQ(dialogs.boxTexts, std::vector<std::string>{"The Inserted media is DVD-R SequentialRecording,"});
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(OpticalInfoTest, CloseTrayOnATypedFixedDriveShowsTheErrorAndKeepsTheWindow) {
    Show();
    HWND typing = GetWindow(chooser, GW_CHILD);  // the chooser's text field
    ASSERT_NE(typing, nullptr);
    SendMessageA(typing, EM_SETSEL, 0, -1);
    SendMessageA(typing, WM_CHAR, 'C', 1);
    EXPECT_EQ(WindowText(chooser), "C");
    EXPECT_EQ(Field(IDC_OPTICAL_VENDOR), "");  // the system disk is no optical drive
    Press(IDC_OPTICAL_CLOSE_TRAY);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Cannot access drive."});
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(WindowText(chooser), "C");
}

TEST_F(OpticalInfoTest, AClickWhileTheDriveIsStillAskedIsDropped) {
    // The click waits in the queue; the empty drive's one wait for readiness
    // runs it while the window is being filled.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTICAL_ANALYSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_OPTICAL_ANALYSE)));
    Show();
    Pump(100);
    EXPECT_EQ(dialogs.boxes, 0);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(Field(IDC_OPTICAL_VENDOR), "OLDDRIVE");
}

TEST_F(OpticalInfoTest, CloseHidesTheWindow) {
    Show();
    Press(IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

// The SMART and Disk Information windows as the program shows them, over the
// example disks; each picture is saved when screenshots are asked for.
std::unique_ptr<tw::sim::Machine> ExampleDisk(const char* name) {
    return tw::sim::Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/" + name);
}

template <class Logic, class Window>
void ShowReport(Logic& logic, Window& window) {
    ASSERT_TRUE(window.CreateHidden(nullptr));
    tw::gui::MessageDialogs shell(nullptr);
    shell.RegisterModeless(logic.Id(), window.hwnd(), [&window](tw::FormLogic& form) { window.Show(form); });
    shell.Show(logic);
}

// The colours the attribute table draws row `row` in.
std::pair<LRESULT, COLORREF> RowPaint(HWND dialog, int row) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = GetDlgItem(dialog, IDC_SMART_ATTRIBUTES);
    draw.nmcd.hdr.idFrom = IDC_SMART_ATTRIBUTES;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = CLR_DEFAULT;
    SendMessageA(dialog, WM_NOTIFY, IDC_SMART_ATTRIBUTES, reinterpret_cast<LPARAM>(&draw));
    return {GetWindowLongPtrA(dialog, DWLP_MSGRESULT), draw.clrText};
}

TEST(SmartWindowTest, TheHealthyAndTheFailingDiskInTheirColours) {
    struct Case {
        const char* machine;
        const char* screenshot;
        const char* model;
        int rows;
        std::vector<int> red, amber;
    } cases[] = {{"smart-healthy.json", "tarnwell-smart-healthy", "Brightmoor BM500A2-7K", 14, {}, {}},
                 {"smart-failing.json", "tarnwell-smart-failing", "Hollin HD160JJ", 17, {4, 8}, {0}}};
    for (const Case& c : cases) {
        auto machine = ExampleDisk(c.machine);
        CountingDialogs dialogs;
        tw::TfrmSmart logic(*machine, dialogs);
        tw::gui::SmartWindow window;
        ShowReport(logic, window);
        HWND dialog = window.hwnd();
        EXPECT_EQ(WindowText(dialog), "SMART Information");
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_MODEL)), c.model);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_STATUS)), "");
        HWND table = GetDlgItem(dialog, IDC_SMART_ATTRIBUTES);
        EXPECT_EQ(SendMessageA(table, LVM_GETITEMCOUNT, 0, 0), c.rows);
        for (int row = 0; row < c.rows; ++row) {
            const auto [result, text] = RowPaint(dialog, row);
            auto in = [row](const std::vector<int>& rows) {
                return std::find(rows.begin(), rows.end(), row) != rows.end();
            };
            const COLORREF want = in(c.red)     ? tw::gui::ToneText(tw::Tone::Bad)
                                  : in(c.amber) ? tw::gui::ToneText(tw::Tone::Caution)
                                                : CLR_DEFAULT;
            EXPECT_EQ(text, want) << c.machine << " row " << row;
            EXPECT_EQ(result, want == CLR_DEFAULT ? CDRF_DODEFAULT : CDRF_NEWFONT) << c.machine << " row " << row;
        }
        ExpectTidyLayout(dialog);
        HoldForScreenshot(dialog, c.screenshot);
        EXPECT_TRUE(dialogs.errors.empty());
        EXPECT_EQ(machine->OpenHandleCount(), 0);
    }
}

TEST(SmartWindowTest, AReadThatFailsShowsItsTextAndNoTable) {
    auto machine = ExampleDisk("smart-failing.json");
    machine->PhysicalDisks()[0].openError = ERROR_ACCESS_DENIED;
    CountingDialogs dialogs;
    tw::TfrmSmart logic(*machine, dialogs);
    tw::gui::SmartWindow window;
    ShowReport(logic, window);
    EXPECT_EQ(WindowText(GetDlgItem(window.hwnd(), IDC_SMART_STATUS)),
              "Unable to open physical drive: Access is denied");
    EXPECT_EQ(WindowText(GetDlgItem(window.hwnd(), IDC_SMART_MODEL)), "");
    EXPECT_EQ(SendMessageA(GetDlgItem(window.hwnd(), IDC_SMART_ATTRIBUTES), LVM_GETITEMCOUNT, 0, 0), 0);
}

// The text colour the window gives a read-only field.
COLORREF FieldColour(HWND dialog, int control) {
    HWND field = GetDlgItem(dialog, control);
    HDC dc = GetDC(field);
    SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(field));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(field, dc);
    return colour;
}

std::wstring WideText(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return text;
}

// A disk that reports nothing, then the dying disk chosen as a user does.
TEST(SmartWindowTest, TheUnknownDiskAndTheReasonsOfTheDyingOne) {
    auto machine = tw::sim::Machine::FromFile(std::string(TW_TESTDATA_DIR) + "/smart-cases.json");
    CountingDialogs dialogs;
    tw::TfrmSmart logic(*machine, dialogs);
    tw::gui::SmartWindow window;
    ShowReport(logic, window);
    HWND dialog = window.hwnd();
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_REASONS)), "the disk reported no attributes");
    for (int field : {IDC_SMART_TEMPERATURE, IDC_SMART_POWER_ON, IDC_SMART_CYCLES, IDC_SMART_REALLOCATED}) {
        EXPECT_EQ(WideText(GetDlgItem(dialog, field)), L"\u2014") << field;
    }
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_MODEL)), "Hollin HD500ZZ");
    ExpectTidyLayout(dialog);
    HoldForScreenshot(dialog, "tarnwell-smart-unknown");

    HWND chooser = GetDlgItem(dialog, IDC_SMART_DRIVE);
    SendMessageA(chooser, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SMART_DRIVE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(chooser));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_REASONS)),
              "200 reallocated sectors; 40 pending sectors; 40 offline uncorrectable sectors");
    EXPECT_EQ(WideText(GetDlgItem(dialog, IDC_SMART_TEMPERATURE)), L"70 \u00B0C");
    EXPECT_EQ(FieldColour(dialog, IDC_SMART_TEMPERATURE), tw::gui::ToneText(tw::Tone::Bad));
    EXPECT_NE(FieldColour(dialog, IDC_SMART_POWER_ON), tw::gui::ToneText(tw::Tone::Bad));
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(machine->OpenHandleCount(), 0);
}

// Windows 10 with the healthy example disk and the user `administrator`
// says; without full rights the disk does not open, as on Windows.
std::unique_ptr<tw::sim::Machine> HealthyDiskFor(const char* administrator) {
    std::ifstream file(std::string(TW_EXAMPLES_DIR) + "/smart-healthy.json", std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    text.insert(text.find('{') + 1, std::string(R"("version": {"major": 10, "minor": 0, "build": 19045, )"
                                                R"("platform_id": 2}, "token": {"administrator": )") +
                                        administrator + "}, ");
    auto machine = tw::sim::Machine::FromJsonText(text, "smart-healthy.json");
    if (std::string(administrator) != "true") machine->PhysicalDisks()[0].openError = ERROR_ACCESS_DENIED;
    return machine;
}

// Without an administrator's full rights the SMART window says they are
// needed, and its shield button restarts the program with them as File >
// Restart as Administrator does; elevated, neither shows.
TEST(SmartWindowTest, WithoutRightsItSaysSoAndItsButtonRestartsWithThem) {
    for (const char* administrator : {"\"deny_only\"", "true"}) {
        SCOPED_TRACE(administrator);
        const bool missing = std::string(administrator) != "true";
        auto machine = HealthyDiskFor(administrator);
        CountingDialogs dialogs;
        tw::Application app;
        tw::gui::MainWindow view(nullptr, nullptr);
        tw::TForm1 form(*machine, view, dialogs, app);
        ASSERT_TRUE(view.Create(form));
        tw::gui::SmartWindow window;
        ShowReport(form.Smart(), window);
        HWND dialog = window.hwnd();
        HWND line = GetDlgItem(dialog, IDC_SMART_RIGHTS);
        HWND button = GetDlgItem(dialog, IDC_SMART_RESTART);
        EXPECT_EQ(IsWindowVisible(line) != FALSE, missing);
        EXPECT_EQ(IsWindowVisible(button) != FALSE, missing);
        if (!missing) continue;
        EXPECT_EQ(WindowText(line), "Administrator rights are needed to read this disk's health");
        EXPECT_EQ(WindowText(button), "Restart as Administrator");
        ExpectTidyLayout(dialog);
        HoldForScreenshot(dialog, "tarnwell-smart-not-elevated");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SMART_RESTART, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        ASSERT_EQ(machine->ShellRequests().size(), 1u);
        EXPECT_EQ(machine->ShellRequests()[0].verb, "runas");
        EXPECT_EQ(machine->ShellRequests()[0].file, "C:\\Tarnwell\\tarnwell.exe");
        // The main window closes once the elevated copy runs.
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, view.hwnd(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
    }
}

TEST(DiskInfoWindowTest, TheDiskAndTheVolumeOfTheChosenDrive) {
    auto machine = ExampleDisk("smart-healthy.json");
    CountingDialogs dialogs;
    tw::TfrmDiskInfo logic(*machine, dialogs);
    tw::gui::DiskInfoWindow window;
    ShowReport(logic, window);
    HWND dialog = window.hwnd();
    EXPECT_EQ(WindowText(dialog), "Disk Information");
    const std::pair<int, const char*> fields[] = {
        {IDC_DISK_INFO_MODEL, "Brightmoor BM500A2-7K"},
        {IDC_DISK_INFO_DISK, "\\\\.\\PhysicalDrive0"},
        {IDC_DISK_INFO_BUS, "ATA"},
        {IDC_DISK_INFO_FILE_SYSTEM, "NTFS"},
        {IDC_DISK_INFO_CLUSTER, "4,096 bytes"},
        {IDC_DISK_INFO_STATUS, ""},
    };
    for (const auto& [id, text] : fields) EXPECT_EQ(WindowText(GetDlgItem(dialog, id)), text) << id;
    ExpectTidyLayout(dialog);
    HoldForScreenshot(dialog, "tarnwell-disk-info");
}

std::string ColumnHeading(HWND list, int column) {
    char text[64] = {};
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT;
    c.pszText = text;
    c.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
    return text;
}

// The worn NVMe disk chosen as a user does: its health log in the table.
TEST(SmartWindowTest, AnNvmeDiskShowsItsHealthLog) {
    auto machine = tw::sim::Machine::FromFile(std::string(TW_TESTDATA_DIR) + "/health-routes.json");
    CountingDialogs dialogs;
    tw::TfrmSmart logic(*machine, dialogs);
    tw::gui::SmartWindow window;
    ShowReport(logic, window);
    HWND dialog = window.hwnd();
    HWND chooser = GetDlgItem(dialog, IDC_SMART_DRIVE);
    SendMessageA(chooser, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SMART_DRIVE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(chooser));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_MODEL)), "Kestrel NV2 512GB");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_REASONS)),
              "spare 5 % (threshold 10 %); percentage used 104 % (rated life reached); 3 media errors");
    HWND table = GetDlgItem(dialog, IDC_SMART_ATTRIBUTES);
    EXPECT_EQ(ColumnHeading(table, 0), "Name");
    EXPECT_EQ(ColumnHeading(table, 2), "Unit");
    EXPECT_EQ(SendMessageA(table, LVM_GETITEMCOUNT, 0, 0), 18);
    EXPECT_EQ(RowPaint(dialog, 2).second, tw::gui::ToneText(tw::Tone::Bad));  // the spare
    EXPECT_EQ(FieldColour(dialog, IDC_SMART_TEMPERATURE), tw::gui::ToneText(tw::Tone::Bad));
    ExpectTidyLayout(dialog);
    HoldForScreenshot(dialog, "tarnwell-smart-nvme");
    EXPECT_TRUE(dialogs.errors.empty());
}

// Wider and taller: the table takes the room, the buttons stay in their
// corners; the window does not get smaller than it was made.
TEST(SmartWindowTest, TheTableGrowsWithTheWindow) {
    auto machine = ExampleDisk("smart-healthy.json");
    CountingDialogs dialogs;
    tw::TfrmSmart logic(*machine, dialogs);
    tw::gui::SmartWindow window;
    ShowReport(logic, window);
    HWND dialog = window.hwnd();
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME);
    RECT outer{};
    GetWindowRect(dialog, &outer);
    const RECT table = ClientRectOf(GetDlgItem(dialog, IDC_SMART_ATTRIBUTES));
    const RECT close = ClientRectOf(GetDlgItem(dialog, IDCANCEL));
    const RECT refresh = ClientRectOf(GetDlgItem(dialog, IDC_SMART_REFRESH));
    const RECT model = ClientRectOf(GetDlgItem(dialog, IDC_SMART_MODEL));
    const int dx = 160, dy = 120;
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER);
    const RECT grown = ClientRectOf(GetDlgItem(dialog, IDC_SMART_ATTRIBUTES));
    EXPECT_EQ(grown.right - grown.left, table.right - table.left + dx);
    EXPECT_EQ(grown.bottom - grown.top, table.bottom - table.top + dy);
    const RECT closeNow = ClientRectOf(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(closeNow.left, close.left + dx);
    EXPECT_EQ(closeNow.top, close.top + dy);
    const RECT refreshNow = ClientRectOf(GetDlgItem(dialog, IDC_SMART_REFRESH));
    EXPECT_EQ(refreshNow.left, refresh.left);
    EXPECT_EQ(refreshNow.top, refresh.top + dy);
    const RECT modelNow = ClientRectOf(GetDlgItem(dialog, IDC_SMART_MODEL));
    EXPECT_EQ(modelNow.left, model.left);
    EXPECT_EQ(modelNow.right, model.right);
    ExpectTidyLayout(dialog);
    MINMAXINFO limits{};
    SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, outer.right - outer.left);
    EXPECT_EQ(limits.ptMinTrackSize.y, outer.bottom - outer.top);

    // On a monitor of half as many dots again, at the size the system
    // suggests: every control and its text half as large again.
    const int dpi = static_cast<int>(tw::gui::DpiOf(dialog));
    auto fontHeight = [](HWND control) {
        LOGFONTA face{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof face, &face);
        return std::abs(face.lfHeight);
    };
    const int modelFont = fontHeight(GetDlgItem(dialog, IDC_SMART_MODEL));
    RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                   outer.top + (outer.bottom - outer.top) * 3 / 2};
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2), reinterpret_cast<LPARAM>(&suggested));
    const RECT modelHigh = ClientRectOf(GetDlgItem(dialog, IDC_SMART_MODEL));
    EXPECT_NEAR(modelHigh.right - modelHigh.left, (model.right - model.left) * 3 / 2, 2);
    EXPECT_NEAR(modelHigh.top, model.top * 3 / 2, 2);
    EXPECT_NEAR(fontHeight(GetDlgItem(dialog, IDC_SMART_MODEL)), modelFont * 3 / 2, 1);
    ExpectTidyLayout(dialog);
    SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_NEAR(limits.ptMinTrackSize.x, (outer.right - outer.left) * 3 / 2, 2);
}

// The simulated disks with the system's own clipboard, Save dialog and files,
// which the window reaches once the disk is read.
class SystemDesktopPlatform final : public tw::platform::Platform {
public:
    explicit SystemDesktopPlatform(tw::sim::Machine& disks) : disks_(disks) {}
    tw::platform::Kernel& kernel() override { return systemFiles ? system_.kernel() : disks_.kernel(); }
    tw::platform::Registry& registry() override { return disks_.registry(); }
    tw::platform::Network& network() override { return disks_.network(); }
    tw::platform::Locale& locale() override { return disks_.locale(); }
    tw::platform::Shell& shell() override { return disks_.shell(); }
    tw::platform::Device& device() override { return disks_.device(); }
    tw::platform::Security& security() override { return disks_.security(); }
    tw::platform::Multimedia& multimedia() override { return disks_.multimedia(); }
    tw::platform::Modules& modules() override { return disks_.modules(); }
    tw::platform::Wmi& wmi() override { return disks_.wmi(); }
    tw::platform::Desktop& desktop() override { return system_.desktop(); }
    bool systemFiles = false;

private:
    tw::sim::Machine& disks_;
    tw::platform::win32::Win32Platform system_;
};

std::string SystemClipboardText() {
    if (!OpenClipboard(nullptr)) return "";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    const std::string text = bytes ? bytes : "";
    if (bytes) GlobalUnlock(data);
    CloseClipboard();
    return text;
}

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Ctrl+C puts the whole report on the system's clipboard; Save As asks the
// system's Save dialog and writes the JSON tarnwell-cli health prints; F5
// reads the disk again.
TEST(SmartWindowTest, CopySaveAsAndRefreshThroughTheSystem) {
    auto machine = tw::sim::Machine::FromFile(std::string(TW_TESTDATA_DIR) + "/health-routes.json");
    SystemDesktopPlatform platform(*machine);
    CountingDialogs dialogs;
    tw::TfrmSmart logic(platform, dialogs);
    tw::gui::SmartWindow window;
    ASSERT_TRUE(window.CreateHidden(nullptr));
    tw::gui::MessageDialogs shell(nullptr);
    shell.RegisterModeless(logic.Id(), window.hwnd(), [&window](tw::FormLogic& form) { window.Show(form); });
    shell.Show(logic);
    HWND dialog = window.hwnd();
    HWND table = GetDlgItem(dialog, IDC_SMART_ATTRIBUTES);

    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_CONTROL] |= 0x80;
    SetKeyboardState(keys);
    MSG copy{table, WM_KEYDOWN, 'C', 0, 0, {}};
    EXPECT_TRUE(shell.HandledByDialog(copy));
    keys[VK_CONTROL] &= 0x7F;
    SetKeyboardState(keys);
    const std::string copied = SystemClipboardText();
    EXPECT_EQ(copied.rfind(
                  "SMART Information\r\nDrive: C: [System] \xE2\x80\x94 Disk 0, Samsung SSD 970 EVO Plus 1TB\r\n", 0),
              0u)
        << copied;
    EXPECT_NE(copied.find("\r\nName\tValue\tUnit\r\nCritical Warning\tnone\t\r\n"), std::string::npos) << copied;

    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(sizeof folder, folder), 0u);
    const std::string file = std::string(folder) + "tarnwell-smart-report.json";
    DeleteFileA(file.c_str());
    int tries = 0;
    std::function<void()> answer = [&] {
        HWND save = FindWindowA("#32770", "Save Report As");
        if (!save && ++tries < 100) {
            Soon(answer);
            return;
        }
        if (!save) return;
        constexpr int kFileNameCombo = 0x47C;  // cmb13
        constexpr int kFileNameEdit = 0x480;   // edt1
        if (!SetDlgItemTextA(save, kFileNameCombo, file.c_str())) SetDlgItemTextA(save, kFileNameEdit, file.c_str());
        PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    Soon(answer);
    platform.systemFiles = true;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SMART_SAVE_AS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SMART_SAVE_AS)));
    platform.systemFiles = false;
    std::ifstream saved(file, std::ios::binary);
    ASSERT_TRUE(saved.good()) << file;
    const std::string json((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    saved.close();
    DeleteFileA(file.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    const std::string machineFile = std::string(TW_TESTDATA_DIR) + "/health-routes.json";
    ASSERT_EQ(tw::cli::Run({"--machine", machineFile, "health", "0", "--format", "json"}, in, out, err), 0);
    EXPECT_EQ(TextLines(json), TextLines(out.str()));

    machine->PhysicalDisks()[0].openError = ERROR_ACCESS_DENIED;
    MSG f5{table, WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(shell.HandledByDialog(f5));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SMART_STATUS)), "Unable to open physical drive: Access is denied");
    EXPECT_EQ(SendMessageA(table, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

// The check and benchmark windows as the program shows them, their work on
// a thread of its own, over the maintenance machine.
class ToolWindowTest : public ::testing::Test {
protected:
    struct ThreadDialogs final : tw::Dialogs {
        tw::ModalResult MessageBox(const std::string& text, tw::BoxKind, tw::Buttons) override {
            boxes.push_back(text);
            return tw::ModalResult::OK;
        }
        void ShowError(const std::string& text) override { boxes.push_back(text); }
        tw::ModalResult ShowModal(tw::FormLogic&) override { return tw::ModalResult::Cancel; }
        std::uintptr_t OwnerWindow() override { return 0; }
        std::unique_ptr<tw::Worker> MakeWorker(tw::FormLogic& form) override {
            return std::make_unique<tw::gui::ThreadWorker>(reinterpret_cast<HWND>(form.Window()));
        }
        std::vector<std::string> boxes;
    };

    void SetUp() override {
        machine = tw::sim::Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/maintenance.json");
        checkLogic = std::make_unique<tw::TfrmCheckDisk>(*machine, dialogs);
        benchLogic = std::make_unique<tw::TfrmBenchMark>(*machine, dialogs);
        benchLogic->SetRandomSeconds(0.5);
        ASSERT_TRUE(check.CreateHidden(nullptr));
        ASSERT_TRUE(bench.CreateHidden(nullptr));
    }
    void TearDown() override { Pump(0); }

    // Runs messages until `done` or ten seconds have passed.
    static bool PumpUntil(const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < 10000) Pump(20);
        return done();
    }
    static void Press(HWND dialog, int button) { SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }
    static std::vector<std::string> Lines(HWND list) {
        std::vector<std::string> out;
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[512] = {};
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }
    bool BenchFileLeft() const { return machine->FileText("C:\\tarnwell-benchmark.tmp").has_value(); }

    std::unique_ptr<tw::sim::Machine> machine;
    ThreadDialogs dialogs;
    std::unique_ptr<tw::TfrmCheckDisk> checkLogic;
    std::unique_ptr<tw::TfrmBenchMark> benchLogic;
    tw::gui::CheckDiskWindow check;
    tw::gui::BenchMarkWindow bench;
};

TEST_F(ToolWindowTest, CheckDiskRunsTheCheckAndShowsTheLibrarysText) {
    check.Show(*checkLogic);
    HWND dialog = check.hwnd();
    EXPECT_EQ(WindowText(dialog), "Check Disk");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_CHECK_DISK_DRIVE)), "C: [System]");
    EXPECT_NE(IsDlgButtonChecked(dialog, IDC_CHECK_DISK_FIX), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CHECK_DISK_CANCEL)));
    Press(dialog, IDC_CHECK_DISK_START);
    ASSERT_TRUE(PumpUntil([&] { return checkLogic->LastOutcome().has_value(); }));
    Pump(50);
    const std::vector<std::string> log = Lines(GetDlgItem(dialog, IDC_CHECK_DISK_LOG));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "No problems were found.");
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_CHECK_DISK_PROGRESS), PBM_GETPOS, 0, 0), 100);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_CHECK_DISK_START)));
    HoldForScreenshot(dialog, "tarnwell-check-disk");
    Press(dialog, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(ToolWindowTest, TheBenchmarkChartsTheRunAndShowsItsResults) {
    bench.Show(*benchLogic);
    HWND dialog = bench.hwnd();
    EXPECT_EQ(WindowText(dialog), "Drive Benchmark");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_BENCH_SIZE)), "64 MB");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_BENCH_COPY)));
    Press(dialog, IDC_BENCH_START);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_BENCH_START)));
    ASSERT_TRUE(PumpUntil([&] { return benchLogic->LastResult().has_value(); }));
    Pump(50);
    const std::vector<std::string> log = Lines(GetDlgItem(dialog, IDC_BENCH_LOG));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[log.size() - 4], "Sequential write: 245.3 MB/s");
    EXPECT_FALSE(BenchFileLeft());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_BENCH_COPY)));
    EXPECT_TRUE(dialogs.boxes.empty());
    HoldForScreenshot(dialog, "tarnwell-bench-mark");
}

TEST_F(ToolWindowTest, ClosingTheBenchmarkMidRunStopsItAndDeletesTheFile) {
    bench.Show(*benchLogic);
    HWND dialog = bench.hwnd();
    Press(dialog, IDC_BENCH_START);
    ASSERT_TRUE(PumpUntil([&] { return !benchLogic->Samples().empty(); }));
    Press(dialog, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_FALSE(benchLogic->WorkRunning());
    EXPECT_FALSE(BenchFileLeft());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_BENCH_START)));
}

class ThrowingWindow final : public tw::gui::Window {
public:
    static constexpr UINT kFail = WM_APP + 7;
    bool Make() {
        RegisterClassOnce("TwThrowingWindow", nullptr, nullptr);
        return Create("TwThrowingWindow", "", WS_OVERLAPPED, 0, nullptr, nullptr, 0, 0, 10, 10) != nullptr;
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFail) throw std::runtime_error("Drive Q: went away.");
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// The system's Save dialog as the program asks for it: a name typed without
// an extension comes back with the default one.
TEST(SaveDialogTest, TheSystemDialogGivesBackTheTypedNameWithTheDefaultExtension) {
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(sizeof folder, folder), 0u);
    const std::string typed = std::string(folder) + "tarnwell-save-test";
    char path[MAX_PATH] = "Drives.csv";
    tw::platform::OPENFILENAMEA ofn;
    ofn.lpstrFilter = "CSV (comma-separated values) (*.csv)\0*.csv\0JSON (*.json)\0*.json\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = "Save List As";
    ofn.Flags = tw::platform::OFN_EXPLORER | tw::platform::OFN_OVERWRITEPROMPT | tw::platform::OFN_HIDEREADONLY |
                tw::platform::OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = "csv";
    int tries = 0;
    std::function<void()> answer = [&] {
        HWND dialog = FindWindowA("#32770", "Save List As");
        if (!dialog && ++tries < 100) {
            Soon(answer);
            return;
        }
        if (!dialog) return;
        HoldForScreenshot(dialog, "tarnwell-save-dialog");
        constexpr int kFileNameCombo = 0x47C;  // cmb13
        constexpr int kFileNameEdit = 0x480;   // edt1
        if (!SetDlgItemTextA(dialog, kFileNameCombo, typed.c_str()))
            SetDlgItemTextA(dialog, kFileNameEdit, typed.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    Soon(answer);
    tw::platform::win32::Win32Desktop desktop;
    ASSERT_TRUE(desktop.GetSaveFileNameA(&ofn)) << "extended error " << desktop.CommDlgExtendedError();
    EXPECT_EQ(std::string(path), typed + ".csv");
    EXPECT_EQ(ofn.nFilterIndex, 1u);
}

TEST(WindowProcedureTest, AnErrorReachingAWindowIsShownByTheDefaultErrorDisplay) {
    std::vector<std::string> shown;
    tw::gui::Window::SetErrorDisplay([&](const std::string& text) { shown.push_back(text); });
    ThrowingWindow window;
    ASSERT_TRUE(window.Make());
    SendMessageA(window.hwnd(), ThrowingWindow::kFail, 0, 0);
    tw::gui::Window::SetErrorDisplay(nullptr);
    EXPECT_EQ(shown, std::vector<std::string>{"Drive Q: went away."});
}

TEST(MessageDialogsTest, BoxKindsShowTheirIconsAndButtons) {
    using tw::gui::MessageDialogs;
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Warning, tw::Buttons::OK), static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Information, tw::Buttons::OK),
              static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Confirmation, tw::Buttons::YesNo),
              static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Error, tw::Buttons::OKCancel),
              static_cast<UINT>(MB_ICONERROR | MB_OKCANCEL));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Plain, tw::Buttons::OK), static_cast<UINT>(MB_OK));
    EXPECT_EQ(MessageDialogs::Result(IDYES), tw::ModalResult::Yes);
    EXPECT_EQ(MessageDialogs::Result(IDNO), tw::ModalResult::No);
    EXPECT_EQ(MessageDialogs::Result(IDCANCEL), tw::ModalResult::Cancel);
    EXPECT_EQ(MessageDialogs::Result(IDOK), tw::ModalResult::OK);
}

// The report windows over the machine of two USB disks and a SATA disk: each
// lists what its logic found, in columns, with the count under the list;
// "Show all disks" adds the SATA disk.
TEST(ReportWindows, ListTheDisksAndVolumesOfTheMachine) {
    auto machine = tw::sim::Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/usb-disks.json");
    CountingDialogs dialogs;
    tw::TfrmUSBDrives usbLogic(*machine, dialogs);
    tw::TfrmVolumes volumesLogic(*machine, dialogs);
    tw::gui::UsbDrivesWindow usbWindow;
    tw::gui::VolumesWindow volumesWindow;
    const struct {
        tw::gui::ListReportWindow* window;
        tw::FormLogic* logic;
        const char* caption;
        int list, statusLine, showAll;
        int rows, rowsWithAll;
        const char* secondRowCell;  // the second column of the second row
        const char* status;
        const char* screenshot;
    } cases[] = {
        {&usbWindow, &usbLogic, "USB Drives", IDC_USB_DISKS, IDC_USB_STATUS, IDC_USB_SHOW_ALL, 2, 3,
         "WD Elements 25A2 USB Device", "2 USB disks", "tarnwell-usb-drives"},
        {&volumesWindow, &volumesLogic, "Volumes", IDC_VOLUMES_LIST, IDC_VOLUMES_STATUS, 0, 7, 7, "",
         "7 volumes, 2 without a drive letter.", "tarnwell-volumes"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.window->CreateHidden(nullptr));
        HWND dialog = c.window->hwnd();
        tw::gui::MessageDialogs shell(nullptr);
        shell.RegisterModeless(c.logic->Id(), dialog, [&c](tw::FormLogic& form) { c.window->Show(form); });
        shell.Show(*c.logic);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(WindowText(dialog), c.caption);
        ExpectTidyLayout(dialog);
        HWND list = GetDlgItem(dialog, c.list);
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 9);
        EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), c.rows);
        char cell[256] = {};
        LVITEMA item{};
        item.iSubItem = 1;
        item.pszText = cell;
        item.cchTextMax = sizeof cell;
        SendMessageA(list, LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(cell, c.secondRowCell);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, c.statusLine)), c.status);
        HoldForScreenshot(dialog, c.screenshot);
        if (c.showAll) {
            SendMessageA(GetDlgItem(dialog, c.showAll), BM_CLICK, 0, 0);
            EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), c.rowsWithAll);
            EXPECT_EQ(IsDlgButtonChecked(dialog, c.showAll), static_cast<UINT>(BST_CHECKED));
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_FALSE(IsWindowVisible(dialog));
    }
    EXPECT_TRUE(dialogs.errors.empty());
}

}  // namespace
