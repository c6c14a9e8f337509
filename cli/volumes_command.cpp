// tarnwell-cli volumes: what the "Volumes" window lists, as a table with a
// heading line; columns padded to their widest cell.
#include <algorithm>
#include <ostream>

#include "app/tfrm_volumes.h"
#include "cli/cli.h"
#include "cli/headless.h"

namespace tw::cli {

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

}  // namespace

int VolumesCommand(const std::vector<std::string>& args, const CommandContext& context) {
    if (!args.empty() || context.programArgs) {
        context.err << "usage: tarnwell-cli [--machine FILE] volumes\n";
        return kExitUsage;
    }
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(context.machineFile, context.err);
    if (!platform) return kExitBadInput;
    HeadlessDialogs dialogs(context.err);
    TfrmVolumes form(*platform, dialogs);
    form.Click(VolumesControl::Refresh);
    const Component& list = form.Get(VolumesControl::Volumes);
    PrintTable(list.columns, list.rows, context.out);
    context.out << form.Get(VolumesControl::Status).text << '\n';
    return form.Listing().error == 0 ? kExitSuccess : kExitFailed;
}

}  // namespace tw::cli
