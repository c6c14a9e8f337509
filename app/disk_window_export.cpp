// Copying and saving what a disk window reports.

#include "actions/system_message.h"
#include "actions/text_output.h"
#include "app/disk_window.h"
#include "app/save_file_dialog.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

namespace {

constexpr const char* kReportLineEnd = "\r\n";
// Zero-separated pairs of description and pattern, ended by an empty text;
// the JSON type is the second.
constexpr char kReportFilter[] =
    "Text (*.txt)\0*.txt\0"
    "JSON (*.json)\0*.json\0";
constexpr platform::DWORD kReportJsonFilter = 2;

// The name's extension decides; a name without a known one takes the
// chosen type.
bool SavesJson(const std::string& file, platform::DWORD filterIndex) {
    const std::size_t dot = file.find_last_of('.');
    const std::size_t slash = file.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string ext = file.substr(dot + 1);
        for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (ext == "json") return true;
        if (ext == "txt") return false;
    }
    return filterIndex == kReportJsonFilter;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string TabbedLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
    return line + kReportLineEnd;
}

}  // namespace

std::string FixedDriveForm::ReportText() const {
    std::string text = Caption() + kReportLineEnd;
    for (ComponentSlot slot = 0; slot < ComponentCount(); ++slot) {
        const Component& c = At(slot);
        if (!c.visible) continue;  // a line the window does not show now
        switch (c.kind) {
            case ComponentKind::ComboBox: text += "Drive: " + c.text + kReportLineEnd; break;
            case ComponentKind::Edit: text += c.caption + ": " + c.text + kReportLineEnd; break;
            // A label that reports something; plain captions say nothing.
            case ComponentKind::Label:
                if (!c.text.empty()) text += c.caption + ": " + c.text + kReportLineEnd;
                break;
            case ComponentKind::ListView:
                text += c.caption + kReportLineEnd + TabbedLine(c.columns);
                for (const auto& row : c.rows) text += TabbedLine(row);
                break;
            default: break;
        }
    }
    return text;
}

void FixedDriveForm::Copy1Click() {
    const std::string text = ReportText();
    if (const platform::DWORD error = actions::CopyTextToClipboard(platform_.desktop(), dialogs_.OwnerWindow(), text)) {
        throw AppError("Cannot copy to the clipboard: " + actions::SystemMessage(platform_.kernel(), error));
    }
}

void FixedDriveForm::SaveAs1Click() {
    const std::optional<ChosenFile> chosen = AskSaveFile(
        platform_.desktop(), {dialogs_.OwnerWindow(), Caption() + ".txt", kReportFilter, "Save Report As", "txt"});
    if (!chosen) return;  // cancelled
    const std::string& file = chosen->path;
    std::string text;
    if (SavesJson(file, chosen->filterIndex)) {
        const std::optional<std::string> json = ReportJson();
        if (!json) throw AppError("No disk was read, so there is no report to save as JSON.");
        text = WithCrLf(*json);
    } else {
        text = ReportText();
    }
    if (const platform::DWORD error = actions::WriteTextFile(platform_.kernel(), file, text)) {
        throw AppError("Cannot save the report to " + file + ": " + actions::SystemMessage(platform_.kernel(), error));
    }
}

}  // namespace tw
