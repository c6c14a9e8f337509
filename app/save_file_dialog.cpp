#include "app/save_file_dialog.h"

#include <algorithm>
#include <array>

#include "platform/app_error.h"
#include "platform/drive_names.h"

namespace tw {

namespace {

constexpr platform::DWORD kMaxPath = 260;

}  // namespace

std::optional<ChosenFile> AskSaveFile(platform::Desktop& desktop, const SaveRequest& request) {
    std::array<char, kMaxPath> path{};
    std::copy_n(request.initialName.begin(), std::min<std::size_t>(request.initialName.size(), kMaxPath - 1),
                path.begin());
    platform::OPENFILENAMEA ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = kMaxPath;
    ofn.lpstrTitle = request.title;
    ofn.Flags = platform::OFN_EXPLORER | platform::OFN_OVERWRITEPROMPT | platform::OFN_PATHMUSTEXIST |
                platform::OFN_HIDEREADONLY | platform::OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = request.defaultExtension;
    if (!desktop.GetSaveFileNameA(&ofn)) {
        const platform::DWORD error = desktop.CommDlgExtendedError();
        if (error == platform::FNERR_BUFFERTOOSMALL) throw AppError("The file name is too long.");
        if (error != 0) throw AppError("The Save dialog could not be shown (error " + platform::Decimal(error) + ").");
        return std::nullopt;  // cancelled
    }
    return ChosenFile{std::string(path.data()), ofn.nFilterIndex};
}

}  // namespace tw
