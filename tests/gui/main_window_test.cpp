// The real main window, in this process, over the bundled workstation
// machine: what the user sees in the list, the option boxes, the menus and
// the toolbar, and what their clicks and keys do.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/tform1.h"
#include "cli/cli.h"
#include "gui/win32/command_menus.h"
#include "gui/win32/dpi.h"
#include "gui/win32/main_window.h"
#include "gui/win32/message_dialogs.h"
#include "gui/win32/win_headers.h"
#include "inventory/list_columns.h"
#include "platform/sim/machine.h"

namespace {

class CountingDialogs final : public tw::Dialogs {
public:
    tw::ModalResult MessageBox(const std::string&, tw::BoxKind, tw::Buttons) override {
        ++boxes;
        return tw::ModalResult::OK;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    tw::ModalResult ShowModal(tw::FormLogic&) override {
        ++modals;
        return tw::ModalResult::Cancel;
    }
    std::uintptr_t OwnerWindow() override { return 0; }

    int boxes = 0;
    int modals = 0;
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

    UINT Id(const char* name) const { return *commands->IdOf(name); }
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
    for (const char* caption : {"Local", "CD/DVD", "Removable", "Network", "Not mounted", "Disconnected", "Auto Refresh"}) {
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
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 1)),
              (std::vector<std::string>{"Refresh\tF5", "Minimize", "Stay on top", "Auto Refresh", "Bold",
                                        "Skip A and B drives"}));
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 5)), (std::vector<std::string>{"Tarnwell - Homepage", "Donate", "About"}));
}

TEST_F(MainWindowTest, TheListsPopUpMenuHoldsOnlyTheVisibleEntriesInOrder) {
    HMENU menu = tw::gui::BuildPopupMenu(*form, *commands, "PopupMenu1");
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
    EXPECT_EQ(texts, (std::vector<std::string>{"Refresh", "Explore", "Eject CD", "Hide", "Properties", "Subst", "Disk Info",
                                               "SMART", "Chk Disk", "CD/DVD", "Exit"}));
    EXPECT_EQ(withArrows, (std::vector<std::string>{"Eject CD", "Hide", "Subst", "Disk Info"}));
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

TEST(MessageDialogsTest, BoxKindsShowTheirIconsAndButtons) {
    using tw::gui::MessageDialogs;
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Warning, tw::Buttons::OK), static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Information, tw::Buttons::OK), static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Confirmation, tw::Buttons::YesNo), static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Error, tw::Buttons::OKCancel), static_cast<UINT>(MB_ICONERROR | MB_OKCANCEL));
    EXPECT_EQ(MessageDialogs::Style(tw::BoxKind::Plain, tw::Buttons::OK), static_cast<UINT>(MB_OK));
    EXPECT_EQ(MessageDialogs::Result(IDYES), tw::ModalResult::Yes);
    EXPECT_EQ(MessageDialogs::Result(IDNO), tw::ModalResult::No);
    EXPECT_EQ(MessageDialogs::Result(IDCANCEL), tw::ModalResult::Cancel);
    EXPECT_EQ(MessageDialogs::Result(IDOK), tw::ModalResult::OK);
}

}  // namespace
