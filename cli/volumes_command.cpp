// tarnwell-cli volumes: what the "Volumes" window lists, as a table with a
// heading line; columns padded to their widest cell.
#include <algorithm>
#include <ostream>

#include "app/tfrm_volumes.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/headless.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "reports/json_report.h"

namespace tw::cli {

using namespace tw::reports;

namespace {

// The size columns line up on their right edge.
bool RightAligned(size_t column) { return column >= std::size(kVolumeColumns) - 2; }

void PrintTable(const std::vector<std::string>& heading, const std::vector<std::vector<std::string>>& rows,
                std::ostream& out) {
    std::vector<size_t> width(heading.size());
    for (size_t c = 0; c < heading.size(); ++c) width[c] = heading[c].size();
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size() && c < width.size(); ++c) width[c] = std::max(width[c], row[c].size());
    }
    auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (size_t c = 0; c < width.size(); ++c) {
            const std::string cell = c < cells.size() ? cells[c] : "";
            const std::string pad(width[c] - cell.size(), ' ');
            text += (c == 0 ? "" : "  ") + (RightAligned(c) ? pad + cell : cell + pad);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << '\n';
    };
    line(heading);
    for (const auto& row : rows) line(row);
}

// One object per volume keyed by the column names: letters and mount points
// as lists (null with "Paths Error" saying why when the system cannot tell),
// sizes as exact byte counts, null for what the volume did not say.
JsonReport VolumesReport(TfrmVolumes& form, platform::Kernel& kernel, platform::Locale& locale) {
    JsonReport volumes = JsonReport::array();
    for (const inventory::VolumeEntry& v : form.Listing().volumes) {
        const std::vector<std::string> cells = VolumeCells(v, kernel, locale);
        const auto volumeText = [&](size_t column) { return v.hasVolumeInfo ? JsonReport(cells[column]) : nullptr; };
        JsonReport letters = JsonReport::array();
        for (const std::string& root : v.driveRoots) letters.push_back(root.substr(0, 2));
        JsonReport volume = {{kVolumeColumns[0], v.name}};
        volume[kVolumeColumns[1]] = v.pathsError ? JsonReport(nullptr) : letters;
        volume[kVolumeColumns[2]] = v.pathsError ? JsonReport(nullptr) : JsonReport(v.mountPoints);
        // The table shows why in parentheses in place of the letters.
        volume["Paths Error"] = v.pathsError ? JsonReport(cells[1].substr(1, cells[1].size() - 2)) : nullptr;
        volume[kVolumeColumns[3]] = cells[3];
        volume[kVolumeColumns[4]] = volumeText(4);
        volume[kVolumeColumns[5]] = volumeText(5);
        volume[kVolumeColumns[6]] = volumeText(6);
        volume[kVolumeColumns[7]] = NumberOrNull(v.capacity);
        volume[kVolumeColumns[8]] = NumberOrNull(v.freeBytes);
        volumes.push_back(std::move(volume));
    }
    return {{"Volumes", std::move(volumes)}, {"Status", form.Get(VolumesControl::Status).text}};
}

}  // namespace

int VolumesCommand(const CommandCall& call) {
    if (!call.operands.empty() || call.programArgs) {
        call.err << CommandUsage(call.command);
        return kExitUsage;
    }
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    HeadlessDialogs dialogs(call.err);
    TfrmVolumes form(*platform, dialogs);
    form.Click(VolumesControl::Refresh);
    if (call.format == "json") {
        PrintJson(VolumesReport(form, platform->kernel(), platform->locale()), call.out);
    } else {
        const Component& list = form.Get(VolumesControl::Volumes);
        PrintTable(list.columns, list.rows, call.out);
        call.out << form.Get(VolumesControl::Status).text << '\n';
    }
    return form.Listing().error == 0 ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
