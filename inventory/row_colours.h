// How the drive list paints a row: striping of odd rows and the warning
// colours of the drive's facts.
#pragma once
#include <cstdint>

#include "inventory/drive_row.h"

namespace tw::inventory {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kMaroon{128, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kCaptionStripe{226, 235, 252};
inline constexpr Rgb kCellStripe{207, 222, 250};
inline constexpr double kLowSpacePercent = 5.0;

// The text colour of a row's sub-item cells: black, then each rule that holds
// overrides the one before (low space as the percentage is shown, hidden, not
// mounted, disconnected). A rule whose facts were never learnt (probing
// stopped before) does not hold.
Rgb SubItemTextColour(const DriveFacts& facts);
Rgb SubItemTextColour(const DriveRow& row);

struct CellPaint {
    bool useBackground = false;  // false: the list's own background
    Rgb background;
    Rgb text;
    bool highlighted = false;  // selected: the system highlight colours
};

// The paint of one cell of an unselected or selected row.
CellPaint PaintCaption(int rowIndex, bool selected);
CellPaint PaintSubItem(const DriveRow& row, int rowIndex, bool selected);

}  // namespace tw::inventory
