#include "inventory/row_colours.h"

#include <array>
#include <charconv>
#include <limits>

namespace tw::inventory {

namespace {

constexpr long long kNeverLow = std::numeric_limits<long long>::max();

// The percentage as the "% Free" cell shows it, to one decimal: a drive shown
// with 5.0 % free is not warned about, whatever the digits behind. Read back
// as tenths, an integer, so that no floating-point parser is linked in.
long long ShownTenths(long double percent) {
    // Not a number, or too far out to be printed as tenths, is never low
    // unless it is below zero.
    if (!(percent > -1e15L)) return percent < 0 ? std::numeric_limits<long long>::min() : kNeverLow;
    if (percent >= 1e15L) return kNeverLow;
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), percent, std::chars_format::fixed, 1);
    std::array<char, 64> digits{};
    char* end = digits.data();
    for (const char* c = text.data(); c != written.ptr; ++c) {
        if (*c != '.') *end++ = *c;
    }
    long long tenths = 0;
    std::from_chars(digits.data(), end, tenths);
    return tenths;
}

}  // namespace

Rgb SubItemTextColour(const DriveFacts& f) {
    Rgb colour = kBlack;
    if (f.Reached(ProbeStep::kSerial) && ShownTenths(f.percentFree) < static_cast<long long>(kLowSpacePercent * 10) &&
        f.fileSystem != "CDFS") {
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
