#include "app/tform1.h"

#include <algorithm>
#include <exception>

#include "app/main_components.h"
#include "inventory/drive_enumeration.h"
#include "optical/message_pump.h"

namespace tw {

using namespace tw::platform;

namespace {

constexpr unsigned CM_EXITMENULOOP = 0xAFFD;
constexpr unsigned CM_ENTERMENULOOP = 0xAFFE;
constexpr unsigned CM_MENUCLOSED = 0xAFFF;

// The wait for an optical drive during a refresh keeps the main window
// responsive through the window's own message pump.
class ViewPump final : public optical::MessagePump {
public:
    explicit ViewPump(MainView& view) : view_(view) {}
    void ProcessMessages() override { view_.ProcessMessages(); }

private:
    MainView& view_;
};

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto low = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return low(x) == low(y);
    });
}

}  // namespace

TForm1::TForm1(Platform& platform, MainView& view, Dialogs& dialogs, Application& app)
    : FormLogic(FormId::Main, dialogs),
      platform_(platform),
      view_(view),
      app_(app),
      aboutBox_(dialogs),
      substDialog_(platform, dialogs),
      opticalInfo_(platform, dialogs),
      smart_(platform, dialogs),
      diskInfo_(platform, dialogs),
      checkDisk_(platform, dialogs),
      benchMark_(platform, dialogs),
      usbDrives_(platform, dialogs),
      volumes_(platform, dialogs) {
    DeclareCommandSurface();
}

std::optional<char> TForm1::SelectedLetter() const {
    if (selected_ < 0) return std::nullopt;
    return rows_[static_cast<size_t>(selected_)].Letter();
}

void TForm1::Select(int index) {
    selected_ = (index >= 0 && index < static_cast<int>(rows_.size())) ? index : -1;
    marked_.clear();
    if (selected_ >= 0) marked_.push_back(selected_);
}

void TForm1::Mark(std::vector<int> rows) {
    std::erase_if(rows, [&](int i) { return i < 0 || i >= static_cast<int>(rows_.size()); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    marked_ = std::move(rows);
}

void TForm1::FormCreate() {
    view_.SetToolBarWidth(698);
    view_.SetWindowWidth(800);
    if (view_.ScreenWidth() > 1250) view_.SetWindowWidth(1250);
    skipAB_ = true;
    view_.SetTimerEnabled(timerEnabled_);
    view_.SetListBold(Checked(MainOption::Bold));
    view_.OptionsChanged();
}

void TForm1::ApplicationEvents1Activate() {
    if (EqualsIgnoreCase(app_.ParamStr1(), "/norefresh")) return;
    // Activated inside a running refresh, the flag stays that refresh's.
    const bool nested = app_.refreshBusy;
    Dispatch([&] { ClickInner(MainCommand::Refresh); });
    if (!nested) app_.refreshBusy = false;
}

void TForm1::Timer1Timer() {
    if (!timerEnabled_ || app_.refreshBusy) return;
    Dispatch([&] { ClickInner(MainCommand::Refresh); });
}

std::optional<std::intptr_t> TForm1::WndProc(unsigned message, std::uintptr_t, std::intptr_t lParam) {
    switch (message) {
        case CM_EXITMENULOOP:
        case CM_ENTERMENULOOP:
        case CM_MENUCLOSED: return 0;
        case kTrayCallbackMessage:
            if (lParam == kTrayRightButtonDown) view_.PopupTrayMenu();
            return std::nullopt;
        default: return std::nullopt;
    }
}

void TForm1::Refresh1Click() {
    // The waits of a refresh pump messages, so the user's F5, a filter box or
    // the window's activation can ask again while it runs. The request is
    // remembered and runs once, after the running refresh, which it would
    // otherwise interleave its rows with.
    if (app_.refreshBusy) {
        refreshRequested_ = true;
        return;
    }
    do {
        refreshRequested_ = false;
        RefreshOnce();  // a raised error ends the requests with it
    } while (refreshRequested_);
}

void TForm1::RefreshOnce() {
    view_.ShowBusyLabel(true);
    app_.refreshBusy = true;
    const int remembered = selected_ < 0 ? 0 : selected_;
    const int scroll = view_.GetHorzScrollPos();
    view_.BeginUpdate();
    view_.LockWindowUpdate(true);
    rows_.clear();
    selected_ = -1;
    marked_.clear();
    // Runs on every path, also when a probe raises.
    auto cleanup = [&] {
        app_.refreshBusy = false;
        platform_.kernel().SetErrorMode(0);
        view_.LockWindowUpdate(false);
        view_.ShowBusyLabel(false);
        view_.ProcessMessages();
    };
    try {
        inventory::EnumerationOptions options;
        options.skipAB = skipAB_;
        options.filters = {Checked(MainOption::ShowLocal),      Checked(MainOption::ShowOptical),
                           Checked(MainOption::ShowRemovable),  Checked(MainOption::ShowNetwork),
                           Checked(MainOption::ShowNotMounted), Checked(MainOption::ShowDisconnected)};
        ViewPump pump(view_);
        inventory::EnumerateDrives(platform_, options, pump, rows_);
        view_.EndUpdate();
        if (!rows_.empty()) {
            // The selection follows the position; past the end it takes the last row.
            selected_ = std::min(remembered, static_cast<int>(rows_.size()) - 1);
            marked_.push_back(selected_);
        }
        view_.RowsChanged();
        view_.ScrollHorz(scroll);
    } catch (...) {
        view_.EndUpdate();
        view_.RowsChanged();
        cleanup();
        throw;
    }
    cleanup();
}

void TForm1::AutoRefresh1Click() {
    Component& mark = Get(MainOption::AutoRefresh);
    mark.checked = !mark.checked;
    timerEnabled_ = mark.checked;
    view_.SetTimerEnabled(timerEnabled_);
    Get(MainOption::AutoRefreshBox).checked = mark.checked;
    view_.OptionsChanged();
}

void TForm1::CheckBox6Click() {
    // The check box is a second face of the menu toggle: the timer follows it too.
    Get(MainOption::AutoRefresh).checked = Get(MainOption::AutoRefreshBox).checked;
    timerEnabled_ = Get(MainOption::AutoRefreshBox).checked;
    view_.SetTimerEnabled(timerEnabled_);
    view_.OptionsChanged();
}

void TForm1::Stayontop2Click() {
    Component& mark = Get(MainOption::StayOnTop);
    mark.checked = !mark.checked;
    Get(MainOption::StayOnTopBox).checked = mark.checked;
    view_.SetStayOnTop(mark.checked);
    view_.OptionsChanged();
}

void TForm1::CheckBox7Click() {
    Get(MainOption::StayOnTop).checked = Get(MainOption::StayOnTopBox).checked;
    view_.SetStayOnTop(Get(MainOption::StayOnTopBox).checked);
    view_.OptionsChanged();
}

void TForm1::Bold1Click() {
    Component& mark = Get(MainOption::Bold);
    mark.checked = !mark.checked;
    view_.SetListBold(mark.checked);
    view_.OptionsChanged();
}

void TForm1::SkipAandBdrives1Click() {
    Component& mark = Get(MainOption::SkipAandB);
    mark.checked = !mark.checked;
    skipAB_ = mark.checked;
    view_.OptionsChanged();
}

}  // namespace tw
