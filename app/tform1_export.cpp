// Saving and copying the list as it is shown, and the refresh that follows
// devices as they come and go.
#include <array>

#include "actions/system_message.h"
#include "actions/text_output.h"
#include "app/main_components.h"
#include "app/save_file_dialog.h"
#include "app/tform1.h"
#include "inventory/list_export.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

using inventory::ListFormat;

namespace {

// The Save dialog's file types, in the order of its filter list (1-based).
struct SaveType {
    ListFormat format;
    const char* extension;
};
constexpr std::array<SaveType, 4> kSaveTypes{{
    {ListFormat::Csv, "csv"},
    {ListFormat::Tsv, "txt"},
    {ListFormat::Html, "html"},
    {ListFormat::Json, "json"},
}};
// Zero-separated pairs of description and pattern, ended by an empty text.
constexpr char kSaveFilter[] =
    "CSV (comma-separated values) (*.csv)\0*.csv\0"
    "Text (tab-separated) (*.txt;*.tsv)\0*.txt;*.tsv\0"
    "Web page (*.html;*.htm)\0*.html;*.htm\0"
    "JSON (*.json)\0*.json\0";

// Windows wants CR LF in files and on the clipboard.
constexpr const char* kLineEnd = "\r\n";

}  // namespace

void TForm1::SaveListAs1Click() {
    const std::optional<ChosenFile> chosen =
        AskSaveFile(platform_.desktop(), {dialogs_.OwnerWindow(), "Drives.csv", kSaveFilter, "Save List As", "csv"});
    if (!chosen) return;  // cancelled
    const std::string& file = chosen->path;
    // The name's extension decides; a name without a known one takes the chosen type.
    ListFormat format = ListFormat::Csv;
    if (auto named = inventory::ListFormatOfFile(file)) {
        format = *named;
    } else if (chosen->filterIndex >= 1 && chosen->filterIndex <= kSaveTypes.size()) {
        format = kSaveTypes[chosen->filterIndex - 1].format;
    }
    const std::string text = inventory::FormatList(rows_, format, kLineEnd);
    if (const platform::DWORD error = actions::WriteTextFile(platform_.kernel(), file, text)) {
        throw AppError("Cannot save the list to " + file + ": " + actions::SystemMessage(platform_.kernel(), error));
    }
}

void TForm1::Copy1Click() {
    std::vector<inventory::DriveRow> chosen;
    for (int i : marked_) chosen.push_back(rows_[static_cast<size_t>(i)]);
    if (chosen.empty() && selected_ >= 0) chosen.push_back(rows_[static_cast<size_t>(selected_)]);
    if (chosen.empty()) return;  // nothing selected: the clipboard keeps what it has
    const std::string text = inventory::FormatList(chosen, ListFormat::Tsv, kLineEnd);
    if (const platform::DWORD error = actions::CopyTextToClipboard(platform_.desktop(), dialogs_.OwnerWindow(), text)) {
        throw AppError("Cannot copy to the clipboard: " + actions::SystemMessage(platform_.kernel(), error));
    }
}

void TForm1::SelectAll1Click() {
    std::vector<int> all(rows_.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    marked_ = std::move(all);
    view_.RowsChanged();
}

void TForm1::DeviceChange(unsigned event, unsigned deviceType) {
    if (event != kDeviceArrival && event != kDeviceRemoveComplete) return;
    if (deviceType != kDeviceTypeVolume) return;
    // Each notification starts the wait anew: a burst gives one refresh.
    deviceChangeWaiting_ = true;
    view_.SetDeviceChangeTimer(true);
}

void TForm1::DeviceChangeTimer() {
    view_.SetDeviceChangeTimer(false);
    if (!deviceChangeWaiting_) return;
    if (app_.refreshBusy) {
        // A refresh is running: wait for it to end, then a second more.
        view_.SetDeviceChangeTimer(true);
        return;
    }
    deviceChangeWaiting_ = false;
    // Auto Refresh off: the list changes only when the user asks.
    if (!timerEnabled_) return;
    Dispatch([&] { ClickInner(MainCommand::Refresh); });
}

}  // namespace tw
