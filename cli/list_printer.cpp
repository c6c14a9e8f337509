#include "cli/list_printer.h"

#include "inventory/list_columns.h"
#include "inventory/row_colours.h"

namespace tw::cli {

namespace {

std::string Hex(const inventory::Rgb& c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s = "#";
    for (unsigned v : {unsigned{c.r}, unsigned{c.g}, unsigned{c.b}}) {
        s += kDigits[v >> 4];
        s += kDigits[v & 0xF];
    }
    return s;
}

}  // namespace

void PrintList(const std::vector<inventory::DriveRow>& rows, std::ostream& out) {
    for (size_t i = 0; i < inventory::kColumns.size(); ++i) {
        out << (i ? "\t" : "") << inventory::kColumns[i].caption;
    }
    out << '\n';
    for (const auto& row : rows) {
        out << row.caption;
        for (const auto& cell : row.cells) out << '\t' << cell;
        out << '\t' << row.image << '\t' << Hex(inventory::SubItemTextColour(row)) << '\n';
    }
}

}  // namespace tw::cli
