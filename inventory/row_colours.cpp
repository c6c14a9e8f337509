#include "inventory/row_colours.h"

#include <charconv>
#include <string>

namespace tw::inventory {

namespace {

// The "% Free" text with its first "%" removed, read as a number. The list
// wrote it with the user's decimal separator, whatever that is: the run of
// characters between the whole and the fractional digits is read as a point.
bool ReadPercent(std::string text, double& value) {
    if (auto pct = text.find('%'); pct != std::string::npos) text.erase(pct, 1);
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    text = text.substr(first, last - first + 1);
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t whole = text[0] == '-' ? 1 : 0;
    while (whole < text.size() && isDigit(text[whole])) ++whole;
    size_t fraction = whole;
    while (fraction < text.size() && !isDigit(text[fraction])) ++fraction;
    if (whole > 0 && fraction > whole && fraction < text.size()) text.replace(whole, fraction - whole, ".");
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

Rgb SubItemTextColour(const DriveRow& row) {
    Rgb colour = kBlack;
    double percent = 0;
    if (ReadPercent(row.cells[kPercentFree], percent) && percent < kLowSpacePercent && row.cells[kFormat] != "CDFS") {
        colour = kMaroon;
    }
    if (row.cells[kVisibility] == "Hidden") colour = kBlue;
    if (row.cells[kLabel] == "Not mounted") colour = kGrey;
    if (row.cells[kAdditionalInfo] == "Disconnected") colour = kGrey;
    return colour;
}

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
