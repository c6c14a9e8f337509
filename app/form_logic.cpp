#include "app/form_logic.h"

#include <exception>
#include <stdexcept>

namespace tw {

FormLogic::FormLogic(FormId id, Dialogs& dialogs) : dialogs_(dialogs), id_(id) {}

Component& FormLogic::DeclareAt(ComponentKey key, Component c) {
    if (key.empty() || key.value < 0) throw std::logic_error("component " + c.name + " has no key");
    Family* family = nullptr;
    for (Family& f : families_) {
        if (f.tag == key.family) family = &f;
    }
    if (!family) family = &families_.emplace_back(Family{key.family, {}});
    const auto value = static_cast<std::size_t>(key.value);
    if (family->slots.size() <= value) family->slots.resize(value + 1);
    if (family->slots[value]) throw std::logic_error("component " + c.name + " declared twice");
    family->slots[value] = components_.size();
    components_.push_back(std::move(c));
    return components_.back();
}

std::optional<ComponentSlot> FormLogic::SlotOf(ComponentKey key) const {
    if (key.empty() || key.value < 0) return std::nullopt;
    for (const Family& f : families_) {
        if (f.tag != key.family) continue;
        const auto value = static_cast<std::size_t>(key.value);
        return value < f.slots.size() ? f.slots[value] : std::nullopt;
    }
    return std::nullopt;
}

ComponentSlot FormLogic::SlotFor(ComponentKey key) const {
    if (auto slot = SlotOf(key)) return *slot;
    throw std::logic_error(ClassName() + " declares no component " + std::to_string(key.value) + " of that kind");
}

std::optional<ComponentSlot> FormLogic::SlotNamed(std::string_view name) const {
    for (ComponentSlot i = 0; i < components_.size(); ++i) {
        if (components_[i].name == name) return i;
    }
    return std::nullopt;
}

ComponentSlot FormLogic::SlotNamedOrThrow(std::string_view name) const {
    if (auto slot = SlotNamed(name)) return *slot;
    throw UnknownComponent(std::string(name));
}

const Component* FormLogic::Find(std::string_view name) const {
    auto slot = SlotNamed(name);
    return slot ? &components_[*slot] : nullptr;
}

void FormLogic::Dispatch(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        dialogs_.ShowError(e.what());
    }
}

void FormLogic::ClickInnerAt(ComponentSlot slot) {
    Component& c = At(slot);
    if (!c.enabled) return;
    if (c.kind == ComponentKind::CheckBox) c.checked = !c.checked;
    if (c.onClick) c.onClick();
}

void FormLogic::ClickAt(ComponentSlot slot) {
    At(slot);  // a slot the window lacks is the caller's mistake, not the user's
    Dispatch([&] { ClickInnerAt(slot); });
}

void FormLogic::SetCheckedAt(ComponentSlot slot, bool checked) {
    if (At(slot).checked != checked) ClickAt(slot);
}

void FormLogic::ChooseAt(ComponentSlot slot, int index) {
    Component& c = At(slot);
    if (c.kind != ComponentKind::ComboBox) throw UnknownComponent(c.name + " (not a combo box)");
    if (index < 0 || index >= static_cast<int>(c.items.size())) {
        throw std::out_of_range(c.name + " has no entry " + std::to_string(index));
    }
    c.itemIndex = index;
    c.text = c.items[static_cast<size_t>(index)];
    if (c.onChange) Dispatch(c.onChange);
}

void FormLogic::TypeTextAt(ComponentSlot slot, const std::string& text) {
    Component& c = At(slot);
    if (c.kind != ComponentKind::ComboBox) throw UnknownComponent(c.name + " (not a combo box)");
    SetTextAt(slot, text);
    if (c.onChange) Dispatch(c.onChange);
}

void FormLogic::SetTextAt(ComponentSlot slot, const std::string& text) {
    Component& c = At(slot);
    // A combo box's text can be typed too; it then names no entry.
    if (c.kind == ComponentKind::ComboBox) {
        c.text = text;
        c.itemIndex = -1;
        for (size_t i = 0; i < c.items.size(); ++i) {
            if (c.items[i] == text) c.itemIndex = static_cast<int>(i);
        }
        return;
    }
    if (c.kind != ComponentKind::Edit || c.readOnly) throw UnknownComponent(c.name + " (not an edit field)");
    std::string value = text;
    if (c.maxLength > 0 && value.size() > static_cast<size_t>(c.maxLength)) value.resize(c.maxLength);
    if (c.upperCase) {
        for (char& ch : value) {
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    c.text = value;
}

void Dialogs::Show(FormLogic& form) { form.FormShow(); }

std::unique_ptr<Worker> Dialogs::MakeWorker(FormLogic&) { return std::make_unique<InPlaceWorker>(); }

}  // namespace tw
