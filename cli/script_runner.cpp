#include "cli/script_runner.h"

#include <charconv>
#include <sstream>
#include <stdexcept>

#include "cli/cli.h"
#include "cli/list_printer.h"
#include "platform/printable.h"

namespace tw::cli {

namespace {

// A line the runner cannot carry out. Its text keeps every byte (a NUL of the
// line included), where std::exception::what() would end at the first NUL.
struct BadLine {
    explicit BadLine(std::string text) : what(std::move(text)) {}
    std::string what;
};

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

ModalResult ParseAnswer(const std::string& word) {
    if (word == "Yes") return ModalResult::Yes;
    if (word == "No") return ModalResult::No;
    if (word == "OK") return ModalResult::OK;
    if (word == "Cancel") return ModalResult::Cancel;
    throw BadLine("answer must be Yes, No, OK or Cancel, not \"" + word + "\"");
}

}  // namespace

ScriptRunner::ScriptRunner(platform::Platform& platform, std::vector<std::string> programArgs, std::ostream& out)
    : machinePlatform_(platform),
      out_(out),
      platform_(platform, out),
      view_(out),
      dialogs_(out),
      form_(platform_, view_, dialogs_, app_) {
    app_.args = std::move(programArgs);
    dialogs_.beforePrint = [this] { PrintSaveDialogs(); };
    form_.FormCreate();
}

void ScriptRunner::Execute(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::string rest;
    std::getline(words, rest);
    rest = Trim(rest);
    auto noArgument = [&] {
        if (!rest.empty()) throw BadLine("\"" + command + "\" takes no argument");
    };
    // "Form.Name" names a component of one window; a bare name is looked up in
    // the window a "set" last filled, then in the main window.
    // The name is looked up once; the window is then driven by the slot.
    auto component = [&](const std::string& text) -> std::pair<FormLogic*, ComponentSlot> {
        if (text.empty()) throw BadLine("\"" + command + "\" needs a component name");
        if (const size_t dot = text.find('.'); dot != std::string::npos) {
            FormLogic* form = FormNamed(text.substr(0, dot));
            const auto slot = form ? form->SlotNamed(text.substr(dot + 1)) : std::nullopt;
            if (!slot) throw BadLine("no component named \"" + text + "\"");
            return {form, *slot};
        }
        if (focus_) {
            if (auto slot = focus_->SlotNamed(text)) return {focus_, *slot};
        }
        if (auto slot = form_.SlotNamed(text)) return {&form_, *slot};
        throw BadLine("no component named \"" + text + "\"");
    };

    if (command == "activate") {
        noArgument();
        form_.ApplicationEvents1Activate();
    } else if (command == "tick") {
        if (rest == "device") {
            // The second after the last device notification has passed.
            if (view_.deviceTimerRunning) form_.DeviceChangeTimer();
            return;
        }
        noArgument();
        form_.Timer1Timer();
    } else if (command == "device") {
        if (rest != "arrival" && rest != "removal") throw std::invalid_argument("device needs arrival or removal");
        form_.DeviceChange(rest == "arrival" ? kDeviceArrival : kDeviceRemoveComplete, kDeviceTypeVolume);
    } else if (command == "clipboard") {
        noArgument();
        sim::Machine* machine = Machine();
        if (!machine) throw std::invalid_argument("clipboard needs a simulated machine (--machine)");
        const auto& text = machine->ClipboardText();
        out_ << "[clipboard]" << (text ? "\n" + *text : std::string(" empty\n"));
    } else if (command == "list") {
        noArgument();
        PrintList(form_.Rows(), out_);
    } else if (command == "select") {
        if (rest == "none") {
            form_.Select(-1);
            return;
        }
        if (rest == "all") {
            form_.Click(MainCommand::SelectAll);
            return;
        }
        int index = -1;
        auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), index);
        if (rest.empty() || ec != std::errc() || ptr != rest.data() + rest.size() || index < 0) {
            throw BadLine("select needs a row number from 0, or none");
        }
        const int count = static_cast<int>(form_.Rows().size());
        if (index >= count) {
            throw BadLine("row " + rest + " is out of range (the list has " + std::to_string(count) +
                          (count == 1 ? " row)" : " rows)"));
        }
        form_.Select(index);
    } else if (command == "doubleclick") {
        // A double click on the selected row of the list.
        noArgument();
        form_.Click(MainCommand::Explore);
    } else if (command == "click") {
        auto [form, slot] = component(rest);
        // A click in the main window may show a dialog that takes the values set.
        if (form == &form_) focus_ = nullptr;
        form->ClickAt(slot);
    } else if (command == "check") {
        const size_t space = rest.find(' ');
        auto [form, slot] = component(rest.substr(0, space));
        const std::string state = space == std::string::npos ? "" : Trim(rest.substr(space));
        if (state != "on" && state != "off") throw BadLine("check needs on or off");
        const Component& c = form->At(slot);
        if (c.kind != ComponentKind::CheckBox && c.kind != ComponentKind::MenuItem) {
            throw BadLine("\"" + c.name + "\" has no check mark");
        }
        form->SetCheckedAt(slot, state == "on");
    } else if (command == "choose") {
        const size_t space = rest.find(' ');
        auto [form, slot] = component(rest.substr(0, space));
        const std::string entry = space == std::string::npos ? "" : Trim(rest.substr(space));
        int index = -1;
        auto [ptr, ec] = std::from_chars(entry.data(), entry.data() + entry.size(), index);
        if (entry.empty() || ec != std::errc() || ptr != entry.data() + entry.size() || index < 0) {
            throw BadLine("choose needs an entry number from 0");
        }
        const Component& box = form->At(slot);
        if (box.kind != ComponentKind::ComboBox) throw BadLine("\"" + box.name + "\" is not a combo box");
        if (index >= static_cast<int>(box.items.size())) {
            throw BadLine("\"" + box.name + "\" has no entry " + entry);
        }
        focus_ = form;
        form->ChooseAt(slot, index);
    } else if (command == "window") {
        FormLogic* form = FormNamed(rest);
        if (!form) throw BadLine("no window named \"" + rest + "\"");
        PrintWindow(*form, out_);
    } else if (command == "answer") {
        if (rest.rfind("save", 0) == 0 && (rest.size() == 4 || rest[4] == ' ')) {
            // The Save dialog: a path, or cancel.
            const std::string path = Trim(rest.substr(4));
            sim::Machine* machine = Machine();
            if (!machine) throw std::invalid_argument("save answers need a simulated machine (--machine)");
            if (path.empty()) throw std::invalid_argument("answer save needs a path or cancel");
            machine->QueueSaveAnswer(path == "cancel" ? std::nullopt : std::optional<std::string>(path));
            return;
        }
        dialogs_.QueueAnswer(ParseAnswer(rest));
    } else if (command == "set") {
        const size_t space = rest.find(' ');
        const std::string name = rest.substr(0, space);
        const std::string text = space == std::string::npos ? "" : Trim(rest.substr(space));
        FormLogic* owner = nullptr;
        for (FormLogic* form : AllForms()) {
            const std::string bare = name.substr(name.find('.') == std::string::npos ? 0 : name.find('.') + 1);
            const bool named =
                name.find('.') == std::string::npos || name.substr(0, name.find('.')) == form->ClassName();
            const auto slot = named ? form->SlotNamed(bare) : std::nullopt;
            const Component* c = slot ? &form->At(*slot) : nullptr;
            if (c && ((c->kind == ComponentKind::Edit && !c->readOnly) || c->kind == ComponentKind::ComboBox)) {
                owner = form;
                owner->SetTextAt(*slot, text);
                break;
            }
        }
        if (!owner) throw BadLine("no edit field named \"" + name + "\"");
        focus_ = owner;
    } else {
        throw BadLine("unknown command \"" + command + "\"");
    }
}

void ScriptRunner::PrintSaveDialogs() {
    sim::Machine* machine = Machine();
    if (!machine) return;
    const auto& shown = machine->SaveDialogs();
    for (; saveDialogsShown_ < shown.size(); ++saveDialogsShown_) {
        const auto& call = shown[saveDialogsShown_];
        out_ << "[save] " << call.title << " (" << call.initialName << ") -> "
             << (call.answer ? *call.answer : std::string("Cancel")) << '\n';
    }
}

sim::Machine* ScriptRunner::Machine() { return dynamic_cast<sim::Machine*>(&machinePlatform_); }

std::vector<FormLogic*> ScriptRunner::AllForms() {
    std::vector<FormLogic*> forms{&form_};
    for (FormLogic* f : form_.SecondaryForms()) forms.push_back(f);
    return forms;
}

FormLogic* ScriptRunner::FormNamed(const std::string& className) {
    for (FormLogic* f : AllForms()) {
        if (f->ClassName() == className) return f;
    }
    return nullptr;
}

int ScriptRunner::Run(std::istream& script, const std::string& name, std::ostream& err) {
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        try {
            Execute(line);
            PrintSaveDialogs();
        } catch (const BadLine& e) {
            err << "tarnwell-cli: " << platform::Printable(name) << ':' << number << ": " << platform::Printable(e.what)
                << '\n';
            return kExitBadInput;
        } catch (const std::invalid_argument& e) {
            err << "tarnwell-cli: " << platform::Printable(name) << ':' << number << ": " << e.what() << '\n';
            return kExitBadInput;
        } catch (const UnansweredBox& e) {
            err << "tarnwell-cli: " << platform::Printable(name) << ':' << number << ": "
                << platform::Printable(e.what()) << '\n';
            return kExitBadInput;
        }
    }
    if (script.bad()) {
        err << "tarnwell-cli: " << name << ": cannot read the script\n";
        return kExitBadInput;
    }
    if (dialogs_.PendingAnswers() > 0) {
        err << "tarnwell-cli: " << name << ": " << dialogs_.PendingAnswers()
            << " answer(s) left over: no box asked for them\n";
        return kExitBadInput;
    }
    // As for a list: a run that showed error boxes did not go as asked.
    return dialogs_.ErrorsShown() == 0 ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
