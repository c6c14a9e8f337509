// The drive list's columns: caption, width and alignment, in display order.
#pragma once
#include <array>
#include <string_view>

namespace tw::inventory {

enum class Align { Left, Right };

struct Column {
    std::string_view caption;
    int width;  // pixels at 96 dpi; 0 = the list's default width
    Align align;
};

inline constexpr std::array<Column, 14> kColumns{{
    {"Drive", 0, Align::Left},
    {"Label", 110, Align::Left},
    {"Type", 105, Align::Left},
    {"Additional Info", 110, Align::Left},
    {"Size", 75, Align::Right},
    {"Used", 75, Align::Right},
    {"Available", 75, Align::Right},
    {"Bytes Free", 110, Align::Right},
    {"Format", 55, Align::Left},
    {"Volume Serial", 98, Align::Left},
    {"% Free", 65, Align::Right},
    {"Visibility", 74, Align::Left},
    {"Vendor", 75, Align::Left},
    {"Product Id", 140, Align::Left},
}};

}  // namespace tw::inventory
