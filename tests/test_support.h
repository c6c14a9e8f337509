// Shared helpers of the logic tests: an in-memory main window that records
// what the form asked of it, dialogs that record boxes, machines from text.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/form_logic.h"
#include "app/main_view.h"
#include "platform/sim/machine.h"

namespace twtest {

inline std::unique_ptr<tw::sim::Machine> MachineFromText(const std::string& json) {
    return tw::sim::Machine::FromJsonText(json, "test.json");
}

inline std::unique_ptr<tw::sim::Machine> ExampleMachine(const std::string& name) {
    return tw::sim::Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/" + name);
}

struct RecordingView : tw::MainView {
    int ScreenWidth() override { return screenWidth; }
    void SetToolBarWidth(int pixels) override { toolBarWidth = pixels; }
    void SetWindowWidth(int pixels) override { windowWidths.push_back(pixels); }
    void ShowBusyLabel(bool visible) override {
        busyLabel = visible;
        busyLabelShows += visible ? 1 : 0;
    }
    int GetHorzScrollPos() override { return scrollPos; }
    void ScrollHorz(int pixels) override { scrollPos = pixels; }
    void BeginUpdate() override { ++updateDepth; }
    void EndUpdate() override { --updateDepth; }
    void LockWindowUpdate(bool lock) override {
        locked = lock;
        if (lock && onLock) onLock();
    }
    // Runs at each pass of the message pump: an event the user sends while
    // the window waits.
    std::function<void()> onPump;
    void RowsChanged() override { ++rowsChanged; }
    void OptionsChanged() override {}
    void ProcessMessages() override {
        ++messagePumps;
        if (onPump) onPump();
    }
    void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    void SetDeviceChangeTimer(bool running) override { deviceTimer = running; }
    void SetStayOnTop(bool onTop) override { stayOnTop = onTop; }
    void SetListBold(bool bold) override { listBold = bold; }
    void Minimize() override { ++minimized; }
    void HideWindow() override { visible = false; }
    void RestoreWindow() override { visible = true; }
    void CloseWindow() override { ++closed; }
    void PopupTrayMenu() override { ++trayMenus; }

    int screenWidth = 1024;
    int toolBarWidth = 0;
    std::vector<int> windowWidths;
    bool busyLabel = false;
    int busyLabelShows = 0;
    int scrollPos = 0;
    int updateDepth = 0;
    bool locked = false;
    int rowsChanged = 0;
    int messagePumps = 0;
    bool timerEnabled = false;
    bool deviceTimer = false;
    bool stayOnTop = false;
    bool listBold = false;
    int minimized = 0;
    bool visible = true;
    int closed = 0;
    int trayMenus = 0;
    std::function<void()> onLock;  // runs while the list is locked mid-refresh
};

struct RecordingDialogs : tw::Dialogs {
    struct Box {
        std::string text;
        tw::BoxKind kind;
        tw::Buttons buttons;
    };

    tw::ModalResult MessageBox(const std::string& text, tw::BoxKind kind, tw::Buttons buttons) override {
        boxes.push_back({text, kind, buttons});
        if (answers.empty()) return buttons == tw::Buttons::YesNo ? tw::ModalResult::No : tw::ModalResult::OK;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    tw::ModalResult ShowModal(tw::FormLogic& form) override {
        shown.push_back(&form);
        if (modalAnswers.empty()) return tw::ModalResult::Cancel;
        auto answer = modalAnswers.front();
        modalAnswers.pop_front();
        return answer;
    }
    void Show(tw::FormLogic& form) override {
        windows.push_back(&form);
        form.FormShow();
    }
    void SetWaitCursor(bool wait) override { waitCursor.push_back(wait); }
    void ProcessMessages() override { ++pumps; }
    std::uintptr_t OwnerWindow() override { return 0; }

    std::vector<Box> boxes;
    std::vector<tw::FormLogic*> windows;  // shown beside the main window
    std::vector<bool> waitCursor;         // each change of the hourglass
    int pumps = 0;
    std::vector<std::string> errors;
    std::deque<tw::ModalResult> answers;
    std::deque<tw::ModalResult> modalAnswers;
    std::vector<tw::FormLogic*> shown;
};

// The names of a window's components in the order they were declared, as
// scripts know them.
inline std::vector<std::string> NamesOf(const tw::FormLogic& form) {
    std::vector<std::string> names;
    for (tw::ComponentSlot slot = 0; slot < form.ComponentCount(); ++slot) names.push_back(form.At(slot).name);
    return names;
}

}  // namespace twtest
