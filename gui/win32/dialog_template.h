// A DIALOGEX template read apart: its header alone (the dialog with no
// controls, which the system can create at once) and its controls, which
// the dialog creates itself when it is first shown. Layout of the bytes:
// DLGTEMPLATEEX and DLGITEMTEMPLATEEX, each item DWORD-aligned.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tw::gui {

// A class name or a title: a string, or an ordinal (0xFFFF then the number).
struct TemplateName {
    std::vector<wchar_t> text;  // null-terminated; empty when an ordinal
    std::uint16_t ordinal = 0;
    bool IsOrdinal() const { return text.empty(); }
};

struct TemplateItem {
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::uint32_t id = 0;
    TemplateName className;
    TemplateName title;
    std::vector<std::uint8_t> creationData;  // with its leading size word
};

struct DialogTemplate {
    std::vector<std::uint8_t> header;  // the template with its item count set to 0
    std::vector<TemplateItem> items;

    // The dialog's style, as the header holds it.
    std::uint32_t Style() const;
    void SetStyle(std::uint32_t style);
};

// None when the bytes are not a whole DIALOGEX template.
std::optional<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> bytes);

}  // namespace tw::gui
