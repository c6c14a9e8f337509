// In-memory window and dialogs for running the main window's logic without a
// screen: message boxes are printed, questions take queued answers.
#pragma once
#include <deque>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "app/dialogs.h"
#include "app/main_view.h"

namespace tw::cli {

// A box asked a question the script did not answer. Not a std::exception, so
// the window's error display does not take it for an error of the program.
class UnansweredBox {
public:
    explicit UnansweredBox(std::string text) : text_(std::move(text)) {}
    const std::string& what() const { return text_; }

private:
    std::string text_;
};

class HeadlessDialogs final : public Dialogs {
public:
    explicit HeadlessDialogs(std::ostream& out) : out_(out) {}

    ModalResult MessageBox(const std::string& text, BoxKind kind, Buttons buttons) override;
    void ShowError(const std::string& text) override;
    // Prints "[dialog] CAPTION -> ANSWER" and closes it with the next answer.
    ModalResult ShowModal(FormLogic& form) override;
    // Prints "[window] CLASS" and runs the window's FormShow.
    void Show(FormLogic& form) override;
    std::uintptr_t OwnerWindow() override { return 0; }
    // Prints "[clipboard]" and the text's lines.

    void QueueAnswer(ModalResult answer) { answers_.push_back(answer); }
    // Runs before each box or window is printed, so that what the run
    // printed meanwhile comes first.
    std::function<void()> beforePrint;
    size_t PendingAnswers() const { return answers_.size(); }
    int ErrorsShown() const { return errors_; }

private:
    std::ostream& out_;
    std::deque<ModalResult> answers_;
    int errors_ = 0;
};

// Prints what the window does to itself ("[view] minimize") when given a
// stream; the list and the marks are read from the form.
class HeadlessView final : public MainView {
public:
    HeadlessView() = default;
    explicit HeadlessView(std::ostream& out) : out_(&out) {}

    int ScreenWidth() override { return screenWidth; }
    void SetToolBarWidth(int pixels) override { toolBarWidth = pixels; }
    void SetWindowWidth(int pixels) override { windowWidth = pixels; }
    void ShowBusyLabel(bool visible) override { busyLabelVisible = visible; }
    int GetHorzScrollPos() override { return scrollPos; }
    void ScrollHorz(int pixels) override { scrollPos = pixels; }
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void LockWindowUpdate(bool) override {}
    void RowsChanged() override {}
    void OptionsChanged() override {}
    void ProcessMessages() override {}
    void SetTimerEnabled(bool) override {}
    void SetDeviceChangeTimer(bool running) override { deviceTimerRunning = running; }
    void SetStayOnTop(bool onTop) override { Say(onTop ? "stay on top" : "normal z-order"); }
    void SetListBold(bool) override {}
    void Minimize() override { Say("minimize"); }
    void HideWindow() override { Say("hide"); }
    void RestoreWindow() override { Say("restore"); }
    void CloseWindow() override { Say("close"); }
    void PopupTrayMenu() override { Say("notification menu"); }

    int screenWidth = 1280;
    int toolBarWidth = 0;
    int windowWidth = 0;
    int scrollPos = 0;
    bool busyLabelVisible = false;
    bool deviceTimerRunning = false;

private:
    void Say(const char* what) {
        if (out_) *out_ << "[view] " << what << '\n';
    }
    std::ostream* out_ = nullptr;
};

std::string AnswerName(ModalResult answer);

// A window's fields as text, one per line: "Name: text" for edit fields,
// "Name: entry | entry" for combo and list boxes, the chosen entry marked,
// "Name: on|off" for check boxes; a list view's headings and then each row
// on a line of its own, cells separated by " | ".
void PrintWindow(const FormLogic& form, std::ostream& out);

}  // namespace tw::cli
