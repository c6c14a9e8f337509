// What every window's logic shares: its named components, clicks routed by
// name, and raised errors shown by the default error display.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/component.h"
#include "app/dialogs.h"

namespace tw {

class UnknownComponent : public std::runtime_error {
public:
    explicit UnknownComponent(const std::string& name) : std::runtime_error("no component named \"" + name + "\"") {}
};

// A window's typed identifier: an enum whose ComponentName() gives the name.
template <typename Id>
concept ComponentId = std::is_enum_v<Id> && requires(Id id) {
    { ComponentName(id) } -> std::convertible_to<std::string_view>;
};

class FormLogic {
public:
    FormLogic(std::string className, std::string caption, Dialogs& dialogs);
    virtual ~FormLogic() = default;
    FormLogic(const FormLogic&) = delete;
    FormLogic& operator=(const FormLogic&) = delete;

    const std::string& ClassName() const { return className_; }
    const std::string& Caption() const { return caption_; }

    // The window is being shown.
    virtual void FormShow() {}
    // The user chooses entry `index` of a combo box: its change handler runs,
    // errors shown by the default error display.
    void Choose(const std::string& name, int index);
    // The user types into a combo box's text field, keystroke by keystroke as
    // a real window reports it: the text is set as SetText sets it and the
    // change handler runs.
    void TypeText(const std::string& name, const std::string& text);

    // Runs a component's click action; a raised error is shown by the default
    // error display. Throws UnknownComponent for a name the window lacks.
    void Click(const std::string& name);
    // The user sets a check box: a click when its state changes.
    void SetChecked(const std::string& name, bool checked);
    // The user types into an edit field (its case and length limits apply) or
    // into a combo box's text.
    void SetText(const std::string& name, const std::string& text);

    Component& Get(const std::string& name);
    const Component* Find(const std::string& name) const;

    // The same by typed identifier, as the code names components.
    template <ComponentId Id>
    void Click(Id id) {
        Click(NameOf(id));
    }
    template <ComponentId Id>
    void Choose(Id id, int index) {
        Choose(NameOf(id), index);
    }
    template <ComponentId Id>
    void TypeText(Id id, const std::string& text) {
        TypeText(NameOf(id), text);
    }
    template <ComponentId Id>
    void SetChecked(Id id, bool checked) {
        SetChecked(NameOf(id), checked);
    }
    template <ComponentId Id>
    void SetText(Id id, const std::string& text) {
        SetText(NameOf(id), text);
    }
    template <ComponentId Id>
    Component& Get(Id id) {
        return Get(NameOf(id));
    }
    template <ComponentId Id>
    const Component& Get(Id id) const {
        const Component* c = Find(NameOf(id));
        if (!c) throw UnknownComponent(NameOf(id));
        return *c;
    }

    // Every component in the order they were declared.
    const std::vector<std::string>& ComponentNames() const { return order_; }

    // The window showing this form while it is shown (0 otherwise); the
    // system dialogs the form opens are owned by it.
    void SetWindow(std::uintptr_t window) { window_ = window; }
    std::uintptr_t Window() const { return window_; }

protected:
    void Declare(Component c);
    void Dispatch(const std::function<void()>& action);
    // A click from inside the window: errors go on to the outer dispatcher.
    void ClickInner(const std::string& name);
    bool Checked(const std::string& name) const;
    template <ComponentId Id>
    void ClickInner(Id id) {
        ClickInner(NameOf(id));
    }
    template <ComponentId Id>
    bool Checked(Id id) const {
        return Checked(NameOf(id));
    }
    // A component declared under its typed identifier.
    template <ComponentId Id>
    void Declare(Id id, Component c) {
        c.name = NameOf(id);
        Declare(std::move(c));
    }
    // A component of `kind` with its caption; the declared component, for
    // the settings that follow.
    template <ComponentId Id>
    Component& Declare(Id id, ComponentKind kind, std::string caption) {
        Component c;
        c.kind = kind;
        c.caption = std::move(caption);
        Declare(id, std::move(c));
        return Get(id);
    }
    template <ComponentId Id>
    static std::string NameOf(Id id) {
        return std::string(ComponentName(id));
    }

    Dialogs& dialogs_;

private:
    std::string className_;
    std::string caption_;
    std::map<std::string, Component> components_;
    std::vector<std::string> order_;
    std::uintptr_t window_ = 0;
};

}  // namespace tw
