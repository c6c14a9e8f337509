// What every window's logic shares: its named components, clicks routed by
// name, and raised errors shown by the default error display.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/component.h"
#include "app/dialogs.h"

namespace tw {

class UnknownComponent : public std::runtime_error {
public:
    explicit UnknownComponent(const std::string& name) : std::runtime_error("no component named \"" + name + "\"") {}
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

    // Runs a component's click action; a raised error is shown by the default
    // error display. Throws UnknownComponent for a name the window lacks.
    void Click(const std::string& name);
    // The user sets a check box: a click when its state changes.
    void SetChecked(const std::string& name, bool checked);
    // The user types into an edit field; its case and length limits apply.
    void SetText(const std::string& name, const std::string& text);

    Component& Get(const std::string& name);
    const Component* Find(const std::string& name) const;
    // Every component in the order they were declared.
    const std::vector<std::string>& ComponentNames() const { return order_; }

protected:
    void Declare(Component c);
    void Dispatch(const std::function<void()>& action);
    // A click from inside the window: errors go on to the outer dispatcher.
    void ClickInner(const std::string& name);
    bool Checked(const std::string& name) const;

    Dialogs& dialogs_;

private:
    std::string className_;
    std::string caption_;
    std::map<std::string, Component> components_;
    std::vector<std::string> order_;
};

}  // namespace tw
