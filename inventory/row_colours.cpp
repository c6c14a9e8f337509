#include "inventory/row_colours.h"

#include <array>
#include <charconv>

namespace tw::inventory {

namespace {

// The percentage as the "% Free" cell shows it, to one decimal: a drive shown
// with 5.0 % free is not warned about, whatever the digits behind.
double ShownPercent(long double percent) {
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), percent, std::chars_format::fixed, 1);
    double shown = 0;
    std::from_chars(text.data(), written.ptr, shown);
    return shown;
}

}  // namespace

Rgb SubItemTextColour(const DriveFacts& f) {
    Rgb colour = kBlack;
    if (f.Reached(ProbeStep::kSerial) && ShownPercent(f.percentFree) < kLowSpacePercent && f.fileSystem != "CDFS") {
        colour = kMaroon;
    }
    if (f.Reached(ProbeStep::kVisibility) && f.hidden) colour = kBlue;
    if (f.Reached(ProbeStep::kSpace) && f.notMounted) colour = kGrey;
    if (f.Reached(ProbeStep::kKind) && ShowsDisconnected(f.kind)) colour = kGrey;
    return colour;
}

Rgb SubItemTextColour(const DriveRow& row) { return SubItemTextColour(row.facts); }

CellPaint PaintCaption(int rowIndex, bool selected) {
    CellPaint p;
    if (selected) {
        p.highlighted = true;
        return p;
    }
    p.useBackground = rowIndex % 2 == 1;
    p.background = kCaptionStripe;
    p.text = kBlack;
    return p;
}

CellPaint PaintSubItem(const DriveRow& row, int rowIndex, bool selected) {
    CellPaint p;
    if (selected) {
        p.highlighted = true;
        return p;
    }
    p.useBackground = rowIndex % 2 == 1;
    p.background = kCellStripe;
    p.text = SubItemTextColour(row);
    return p;
}

}  // namespace tw::inventory
