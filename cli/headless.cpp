#include "cli/headless.h"

#include "app/form_logic.h"

namespace tw::cli {

std::string AnswerName(ModalResult answer) {
    switch (answer) {
        case ModalResult::OK: return "OK";
        case ModalResult::Cancel: return "Cancel";
        case ModalResult::Yes: return "Yes";
        case ModalResult::No: return "No";
        default: return "None";
    }
}

namespace {

const char* KindName(BoxKind kind) {
    switch (kind) {
        case BoxKind::Warning: return "warning";
        case BoxKind::Information: return "information";
        case BoxKind::Confirmation: return "confirmation";
        case BoxKind::Error: return "error";
        default: return "plain";
    }
}

// " [red]" after a coloured text.
std::string ToneMark(Tone tone) {
    switch (tone) {
        case Tone::Good: return " [green]";
        case Tone::Caution: return " [amber]";
        case Tone::Bad: return " [red]";
        case Tone::Unknown: return " [grey]";
        default: return "";
    }
}

// A list view: its headings, then a row a line with its colour, cells apart
// by tabs as the window's columns are.
void PrintTable(const std::string& name, const Component& c, std::ostream& out) {
    auto cells = [&out](const std::vector<std::string>& row) {
        for (size_t i = 0; i < row.size(); ++i) out << (i == 0 ? "" : "\t") << row[i];
    };
    out << "  " << name << " (" << c.caption << "): ";
    cells(c.columns);
    out << '\n';
    for (size_t i = 0; i < c.rows.size(); ++i) {
        out << "    ";
        cells(c.rows[i]);
        out << ToneMark(i < c.rowTones.size() ? c.rowTones[i] : Tone::Plain) << '\n';
    }
}

}  // namespace

ModalResult HeadlessDialogs::MessageBox(const std::string& text, BoxKind kind, Buttons buttons) {
    if (beforePrint) beforePrint();
    // A box with the error icon reports a failure as a raised error does.
    if (kind == BoxKind::Error) ++errors_;
    out_ << '[' << KindName(kind) << "] " << text;
    if (buttons == Buttons::OK) {
        out_ << '\n';
        return ModalResult::OK;
    }
    if (answers_.empty()) {
        out_ << '\n';
        throw UnansweredBox("a box asked \"" + text + "\" but no answer was given");
    }
    const ModalResult answer = answers_.front();
    answers_.pop_front();
    const bool fits = buttons == Buttons::YesNo ? (answer == ModalResult::Yes || answer == ModalResult::No)
                                                : (answer == ModalResult::OK || answer == ModalResult::Cancel);
    if (!fits) {
        out_ << '\n';
        throw UnansweredBox("the answer " + AnswerName(answer) + " is not a button of the box \"" + text + "\"");
    }
    out_ << " -> " << AnswerName(answer) << '\n';
    return answer;
}

ModalResult HeadlessDialogs::ShowModal(FormLogic& form) {
    if (beforePrint) beforePrint();
    out_ << "[dialog] " << form.Caption();
    if (answers_.empty() || (answers_.front() != ModalResult::OK && answers_.front() != ModalResult::Cancel)) {
        out_ << '\n';
        throw UnansweredBox("the window \"" + form.Caption() + "\" was shown but no answer OK or Cancel was given");
    }
    const ModalResult answer = answers_.front();
    answers_.pop_front();
    out_ << " -> " << AnswerName(answer) << '\n';
    return answer;
}

void HeadlessDialogs::Show(FormLogic& form) {
    if (beforePrint) beforePrint();
    out_ << "[window] " << form.ClassName() << '\n';
    form.FormShow();
}

void PrintWindow(const FormLogic& form, std::ostream& out) {
    out << "[window] " << form.ClassName() << " \"" << form.Caption() << "\"\n";
    for (ComponentSlot slot = 0; slot < form.ComponentCount(); ++slot) {
        const Component& c = form.At(slot);
        if (!c.visible) continue;  // as the window shows it
        const std::string& name = c.name;
        switch (c.kind) {
            case ComponentKind::Edit:
                out << "  " << name << " (" << c.caption << "): " << c.text << ToneMark(c.tone) << '\n';
                break;
            case ComponentKind::Label:
                // A label that reports something; plain captions say nothing.
                if (!c.text.empty())
                    out << "  " << name << " (" << c.caption << "): " << c.text << ToneMark(c.tone) << '\n';
                break;
            case ComponentKind::ListBox:
            case ComponentKind::ComboBox: {
                out << "  " << name << (c.caption.empty() ? "" : " (" + c.caption + ")") << ':';
                for (size_t i = 0; i < c.items.size(); ++i) {
                    const bool chosen = c.kind == ComponentKind::ComboBox && static_cast<int>(i) == c.itemIndex;
                    out << (i == 0 ? " " : " | ") << (chosen ? "*" : "") << c.items[i];
                }
                out << '\n';
                break;
            }
            case ComponentKind::ProgressBar: out << "  " << name << ": " << c.position << "%\n"; break;
            case ComponentKind::CheckBox:
                // The main window's option panel is not a window of its own.
                if (c.parent.empty())
                    out << "  " << name << " (" << c.caption << "): " << (c.checked ? "on" : "off") << '\n';
                break;
            case ComponentKind::ListView: PrintTable(name, c, out); break;
            default: break;
        }
    }
}

void HeadlessDialogs::ShowError(const std::string& text) {
    if (beforePrint) beforePrint();
    ++errors_;
    out_ << "[error] " << text << '\n';
}

}  // namespace tw::cli
