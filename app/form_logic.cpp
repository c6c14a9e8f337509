#include "app/form_logic.h"

#include <exception>

namespace tw {

FormLogic::FormLogic(std::string className, std::string caption, Dialogs& dialogs)
    : dialogs_(dialogs), className_(std::move(className)), caption_(std::move(caption)) {}

void FormLogic::Declare(Component c) {
    order_.push_back(c.name);
    components_[c.name] = std::move(c);
}

Component& FormLogic::Get(const std::string& name) {
    auto it = components_.find(name);
    if (it == components_.end()) throw UnknownComponent(name);
    return it->second;
}

const Component* FormLogic::Find(const std::string& name) const {
    auto it = components_.find(name);
    return it == components_.end() ? nullptr : &it->second;
}

bool FormLogic::Checked(const std::string& name) const {
    const Component* c = Find(name);
    return c && c->checked;
}

void FormLogic::Dispatch(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        dialogs_.ShowError(e.what());
    }
}

void FormLogic::ClickInner(const std::string& name) {
    Component& c = Get(name);
    if (!c.enabled) return;
    if (c.kind == ComponentKind::CheckBox) c.checked = !c.checked;
    if (c.onClick) c.onClick();
}

void FormLogic::Click(const std::string& name) {
    Get(name);  // an unknown name is the caller's mistake, not the user's
    Dispatch([&] { ClickInner(name); });
}

void FormLogic::SetChecked(const std::string& name, bool checked) {
    if (Get(name).checked != checked) Click(name);
}

void FormLogic::Choose(const std::string& name, int index) {
    Component& c = Get(name);
    if (c.kind != ComponentKind::ComboBox) throw UnknownComponent(name + " (not a combo box)");
    if (index < 0 || index >= static_cast<int>(c.items.size())) {
        throw std::out_of_range(name + " has no entry " + std::to_string(index));
    }
    c.itemIndex = index;
    c.text = c.items[static_cast<size_t>(index)];
    if (c.onChange) Dispatch(c.onChange);
}

void FormLogic::TypeText(const std::string& name, const std::string& text) {
    Component& c = Get(name);
    if (c.kind != ComponentKind::ComboBox) throw UnknownComponent(name + " (not a combo box)");
    SetText(name, text);
    if (c.onChange) Dispatch(c.onChange);
}

void Dialogs::Show(FormLogic& form) { form.FormShow(); }

std::unique_ptr<Worker> Dialogs::MakeWorker(FormLogic&) { return std::make_unique<InPlaceWorker>(); }

void FormLogic::SetText(const std::string& name, const std::string& text) {
    Component& c = Get(name);
    // A combo box's text can be typed too; it then names no entry.
    if (c.kind == ComponentKind::ComboBox) {
        c.text = text;
        c.itemIndex = -1;
        for (size_t i = 0; i < c.items.size(); ++i) {
            if (c.items[i] == text) c.itemIndex = static_cast<int>(i);
        }
        return;
    }
    if (c.kind != ComponentKind::Edit || c.readOnly) throw UnknownComponent(name + " (not an edit field)");
    std::string value = text;
    if (c.maxLength > 0 && value.size() > static_cast<size_t>(c.maxLength)) value.resize(c.maxLength);
    if (c.upperCase) {
        for (char& ch : value) {
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    c.text = value;
}

}  // namespace tw
