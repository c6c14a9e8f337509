// The main window's state and event handlers, free of any toolkit. The real
// window and the script runner drive it through the same entry points.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/component.h"
#include "app/dialogs.h"
#include "app/main_view.h"
#include "inventory/drive_row.h"
#include "platform/platform.h"

namespace tw {

class UnknownComponent : public std::runtime_error {
public:
    explicit UnknownComponent(const std::string& name) : std::runtime_error("no component named \"" + name + "\"") {}
};

inline constexpr int kTimerInterval = 20000;      // ms
inline constexpr unsigned kTrayCallbackMessage = 1025;  // WM_USER + 1
inline constexpr std::intptr_t kTrayRightButtonDown = 516;  // WM_RBUTTONDOWN

class TForm1 {
public:
    TForm1(platform::Platform& platform, MainView& view, Dialogs& dialogs, Application& app);

    // Window events.
    void FormCreate();
    void ApplicationEvents1Activate();
    void Timer1Timer();
    // Runs a component's click action; a raised error is shown by the default
    // error display. Throws UnknownComponent for a name the window lacks.
    void Click(const std::string& name);
    // The user sets a check box: a click when its state changes.
    void SetChecked(const std::string& name, bool checked);
    // Window messages the main window handles itself; the answer for the
    // private menu-loop messages, nothing for those that go on to the default.
    std::optional<std::intptr_t> WndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // The list as the window shows it.
    const std::vector<inventory::DriveRow>& Rows() const { return rows_; }
    int Selected() const { return selected_; }  // -1: none
    void Select(int index);
    bool SkipAB() const { return skipAB_; }
    bool TimerEnabled() const { return timerEnabled_; }

    Component& Get(const std::string& name);
    const Component* Find(const std::string& name) const;
    // Every component in the order they were declared.
    const std::vector<std::string>& ComponentNames() const { return order_; }

    // Handlers.
    void Refresh1Click();
    void AutoRefresh1Click();
    void CheckBox6Click();
    void Stayontop2Click();
    void CheckBox7Click();
    void Bold1Click();
    void SkipAandBdrives1Click();
    void HideDrive1Click();
    void UnhideDrive1Click();

private:
    void Declare(Component c);
    void DeclareCommandSurface();
    void Dispatch(const std::function<void()>& action);
    void ClickInner(const std::string& name);
    bool Checked(const std::string& name) const;
    // The letter of the selected row: the first character of its caption.
    std::optional<char> SelectedLetter() const;

    platform::Platform& platform_;
    MainView& view_;
    Dialogs& dialogs_;
    Application& app_;

    std::vector<inventory::DriveRow> rows_;
    int selected_ = -1;
    bool skipAB_ = false;
    bool timerEnabled_ = true;
    std::map<std::string, Component> components_;
    std::vector<std::string> order_;
};

}  // namespace tw
