// What every window's logic shares: its components reached by typed key,
// clicks dispatched with raised errors shown by the default error display.
// Names are looked up only at the seam where scripts and tests drive a window.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/component.h"
#include "app/component_table.h"
#include "app/dialogs.h"
#include "app/form_id.h"

namespace tw {

class UnknownComponent : public std::runtime_error {
public:
    explicit UnknownComponent(const std::string& name) : std::runtime_error("no component named \"" + name + "\"") {}
};

// A component's place in its window: the order it was declared in.
using ComponentSlot = std::size_t;

class FormLogic {
public:
    FormLogic(FormId id, Dialogs& dialogs);
    virtual ~FormLogic() = default;
    FormLogic(const FormLogic&) = delete;
    FormLogic& operator=(const FormLogic&) = delete;

    FormId Id() const { return id_; }
    std::string ClassName() const { return std::string(FormClassName(id_)); }
    std::string Caption() const { return std::string(FormCaption(id_)); }

    // The window is being shown.
    virtual void FormShow() {}

    // Every component in the order it was declared.
    std::size_t ComponentCount() const { return components_.size(); }
    Component& At(ComponentSlot slot) { return components_.at(slot); }
    const Component& At(ComponentSlot slot) const { return components_.at(slot); }
    std::optional<ComponentSlot> SlotOf(ComponentKey key) const;
    // The slot of a declared key; an undeclared one is the program's mistake.
    ComponentSlot SlotFor(ComponentKey key) const;
    Component& Get(ComponentKey key) { return At(SlotFor(key)); }
    const Component& Get(ComponentKey key) const { return At(SlotFor(key)); }
    // Whether a menu entry shows a check mark: its own, or its toggle's.
    bool ShowsMark(const Component& c) const { return c.showsMarkOf.empty() ? c.checked : Get(c.showsMarkOf).checked; }

    // The user's events, by slot. A click runs the component's action; the
    // user chooses entry `index` of a combo box and its change handler runs;
    // the user types into an edit field (its case and length limits apply)
    // or into a combo box's text, keystroke by keystroke for TypeTextAt.
    // Raised errors are shown by the default error display.
    void ClickAt(ComponentSlot slot);
    void SetCheckedAt(ComponentSlot slot, bool checked);
    void ChooseAt(ComponentSlot slot, int index);
    void SetTextAt(ComponentSlot slot, const std::string& text);
    void TypeTextAt(ComponentSlot slot, const std::string& text);

    // The same by typed identifier, as the code names components.
    template <ComponentId Id>
    Component& Get(Id id) {
        return At(SlotFor(KeyOf(id)));
    }
    template <ComponentId Id>
    const Component& Get(Id id) const {
        return At(SlotFor(KeyOf(id)));
    }
    template <ComponentId Id>
    void Click(Id id) {
        ClickAt(SlotFor(KeyOf(id)));
    }
    template <ComponentId Id>
    void SetChecked(Id id, bool checked) {
        SetCheckedAt(SlotFor(KeyOf(id)), checked);
    }
    template <ComponentId Id>
    void Choose(Id id, int index) {
        ChooseAt(SlotFor(KeyOf(id)), index);
    }
    template <ComponentId Id>
    void SetText(Id id, const std::string& text) {
        SetTextAt(SlotFor(KeyOf(id)), text);
    }
    template <ComponentId Id>
    void TypeText(Id id, const std::string& text) {
        TypeTextAt(SlotFor(KeyOf(id)), text);
    }

    // The seam for scripts and tests: a component by its name, looked up
    // once. Throws UnknownComponent for a name the window lacks.
    std::optional<ComponentSlot> SlotNamed(std::string_view name) const;
    ComponentSlot SlotNamedOrThrow(std::string_view name) const;
    const Component* Find(std::string_view name) const;
    Component& Get(std::string_view name) { return At(SlotNamedOrThrow(name)); }
    void Click(std::string_view name) { ClickAt(SlotNamedOrThrow(name)); }
    void SetChecked(std::string_view name, bool checked) { SetCheckedAt(SlotNamedOrThrow(name), checked); }
    void Choose(std::string_view name, int index) { ChooseAt(SlotNamedOrThrow(name), index); }
    void SetText(std::string_view name, const std::string& text) { SetTextAt(SlotNamedOrThrow(name), text); }
    void TypeText(std::string_view name, const std::string& text) { TypeTextAt(SlotNamedOrThrow(name), text); }

    // The window showing this form while it is shown (0 otherwise); the
    // system dialogs the form opens are owned by it.
    void SetWindow(std::uintptr_t window) { window_ = window; }
    std::uintptr_t Window() const { return window_; }

protected:
    void Dispatch(const std::function<void()>& action);
    // A click from inside the window: errors go on to the outer dispatcher.
    void ClickInnerAt(ComponentSlot slot);
    template <ComponentId Id>
    void ClickInner(Id id) {
        ClickInnerAt(SlotFor(KeyOf(id)));
    }
    template <ComponentId Id>
    bool Checked(Id id) const {
        return Get(id).checked;
    }
    // A component declared under its typed identifier.
    template <ComponentId Id>
    Component& Declare(Id id, Component c) {
        c.name = std::string(ComponentName(id));
        return DeclareAt(KeyOf(id), std::move(c));
    }
    // A component of `kind` with its caption; the declared component, for
    // the settings that follow.
    template <ComponentId Id>
    Component& Declare(Id id, ComponentKind kind, std::string caption) {
        Component c;
        c.kind = kind;
        c.caption = std::move(caption);
        return Declare(id, std::move(c));
    }

    Dialogs& dialogs_;

private:
    Component& DeclareAt(ComponentKey key, Component c);

    // The slots of one identifier type, by the identifier's value.
    struct Family {
        const void* tag;
        std::vector<std::optional<ComponentSlot>> slots;
    };

    FormId id_;
    std::vector<Component> components_;
    std::vector<Family> families_;
    std::uintptr_t window_ = 0;
};

}  // namespace tw
