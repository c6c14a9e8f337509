// How a drive is presented: its "Type"/"Additional Info" texts and image, the
// warning colours of a row, the striping of odd rows and the column layout.
#include <gtest/gtest.h>

#include "inventory/kind_table.h"
#include "inventory/list_columns.h"
#include "inventory/row_colours.h"

using namespace tw::inventory;
using namespace tw::platform;

TEST(Presentation, KindTable) {
    const auto facts = [](UINT type) {
        KindFacts f;
        f.driveType = type;
        f.identityText = "VENDORXXPRODUCT";
        f.remoteName = "\\\\server\\share";
        f.opticalClass = "DVD-RW";
        return f;
    };
    const struct {
        const char* name;
        KindFacts facts;
        Kind kind;
    } cases[] = {
        {"unknown", facts(DRIVE_UNKNOWN), {"Unknown", "", kImageLocal}},
        {"no root dir", facts(DRIVE_NO_ROOT_DIR), {"No Root Dir", "", kImageLocal}},
        {"disconnected",
         [&] {
             auto f = facts(DRIVE_NO_ROOT_DIR);
             f.disconnected = true;
             return f;
         }(),
         {"Network", "Disconnected", kImageDisconnected}},
        {"removable", facts(DRIVE_REMOVABLE), {"Removable Disk", "VENDORXX", kImageRemovable}},
        {"removable short identity",
         [&] {
             auto f = facts(DRIVE_REMOVABLE);
             f.identityText = "USB";
             return f;
         }(),
         {"Removable Disk", "USB", kImageRemovable}},
        {"fixed", facts(DRIVE_FIXED), {"Local Disk", "", kImageLocal}},
        {"external",
         [&] {
             auto f = facts(DRIVE_FIXED);
             f.external = true;
             return f;
         }(),
         {"Local Disk", "External Drive", kImageLocal}},
        {"substitution",
         [&] {
             auto f = facts(DRIVE_FIXED);
             f.substitutedFolder = "C:\\work";
             f.external = true;
             return f;
         }(),
         {"Subst", "C:\\work", kImageLocal}},
        {"remote connected", facts(DRIVE_REMOTE), {"Network Disk", "\\\\server\\share", kImageNetwork}},
        {"remote unavailable",
         [&] {
             auto f = facts(DRIVE_REMOTE);
             f.connectionResult = ERROR_CONNECTION_UNAVAIL;
             return f;
         }(),
         {"Network Disk", "Disconnected", kImageNetwork}},
        {"remote other error",
         [&] {
             auto f = facts(DRIVE_REMOTE);
             f.connectionResult = ERROR_NO_NETWORK;
             return f;
         }(),
         {"Network Disk", "", kImageNetwork}},
        {"optical", facts(DRIVE_CDROM), {"CD / DVD Drive", "DVD-RW", kImageOptical}},
        {"ram disk", facts(DRIVE_RAMDISK), {"RAM Disk", "", kImageLocal}},
        {"code 7", facts(7), {"Error reading drive", "7", kImageLocal}},
        {"largest code", facts(0xFFFFFFFFu), {"Error reading drive", "4294967295", kImageLocal}},
    };
    for (const auto& c : cases) {
        const Kind kind = DescribeKind(c.facts);
        EXPECT_EQ(kind.typeText, c.kind.typeText) << c.name;
        EXPECT_EQ(kind.detail, c.kind.detail) << c.name;
        EXPECT_EQ(kind.image, c.kind.image) << c.name;
    }
}

namespace {

DriveRow Row(const char* percent, const char* format = "NTFS", const char* visibility = "Visible",
             const char* label = "Data", const char* detail = "") {
    DriveRow row;
    row.caption = "C: ";
    row.cells[kPercentFree] = percent;
    row.cells[kFormat] = format;
    row.cells[kVisibility] = visibility;
    row.cells[kLabel] = label;
    row.cells[kAdditionalInfo] = detail;
    return row;
}

}  // namespace

TEST(Presentation, TextColourRulesInOrder) {
    const struct {
        const char* name;
        DriveRow row;
        Rgb colour;
    } cases[] = {
        {"plenty free", Row("    39.6%"), kBlack},
        {"low space", Row("     4.9%"), kMaroon},
        {"nothing free", Row("     0.0%"), kMaroon},
        {"low space on a CD", Row("     4.9%", "CDFS"), kBlack},
        {"low space, other optical format", Row("     0.0%", "UDF"), kMaroon},
        {"at the limit", Row("     5.0%"), kBlack},
        {"decimal comma", Row("     4,9%"), kMaroon},
        {"other decimal separator",
         Row("     4\xC2\xB7"
             "9%"),
         kMaroon},
        {"other decimal separator, enough space",
         Row("    45\xC2\xB7"
             "9%"),
         kBlack},
        {"decimal comma at the limit", Row("     5,0%"), kBlack},
        {"unreadable percent", Row("n/a"), kBlack},
        {"empty percent", Row(""), kBlack},
        {"hidden", Row("    50.0%", "NTFS", "Hidden"), kBlue},
        {"hidden and low", Row("     3.0%", "NTFS", "Hidden"), kBlue},
        {"not mounted", Row("     0.0%", "", "Hidden", "Not mounted"), kGrey},
        {"disconnected", Row("     0.0%", "", "Hidden", "", "Disconnected"), kGrey},
    };
    for (const auto& c : cases) EXPECT_EQ(SubItemTextColour(c.row), c.colour) << c.name;
}

TEST(Presentation, OddRowsAreStripedSelectedRowsHighlighted) {
    const DriveRow low = Row("     1.0%");
    EXPECT_NE(kCaptionStripe, kCellStripe);
    for (int index = 0; index < 4; ++index) {
        const bool odd = index % 2 == 1;
        const CellPaint caption = PaintCaption(index, false);
        EXPECT_EQ(caption.useBackground, odd) << index;
        EXPECT_FALSE(caption.highlighted);
        EXPECT_EQ(caption.text, kBlack);
        if (odd) {
            EXPECT_EQ(caption.background, kCaptionStripe);
        }

        const CellPaint cell = PaintSubItem(low, index, false);
        EXPECT_EQ(cell.useBackground, odd) << index;
        EXPECT_FALSE(cell.highlighted);
        EXPECT_EQ(cell.text, kMaroon);  // the row's own colour, striped or not
        if (odd) {
            EXPECT_EQ(cell.background, kCellStripe);
        }

        EXPECT_TRUE(PaintCaption(index, true).highlighted) << index;
        EXPECT_FALSE(PaintCaption(index, true).useBackground) << index;
        EXPECT_TRUE(PaintSubItem(low, index, true).highlighted) << index;
        EXPECT_FALSE(PaintSubItem(low, index, true).useBackground) << index;
    }
}

TEST(Presentation, Columns) {
    const struct {
        const char* caption;
        int width;
        Align align;
    } expected[] = {
        {"Drive", 0, Align::Left},       {"Label", 110, Align::Left},
        {"Type", 105, Align::Left},      {"Additional Info", 110, Align::Left},
        {"Size", 75, Align::Right},      {"Used", 75, Align::Right},
        {"Available", 75, Align::Right}, {"Bytes Free", 110, Align::Right},
        {"Format", 55, Align::Left},     {"Volume Serial", 98, Align::Left},
        {"% Free", 65, Align::Right},    {"Visibility", 74, Align::Left},
        {"Vendor", 75, Align::Left},     {"Product Id", 140, Align::Left},
    };
    ASSERT_EQ(kColumns.size(), std::size(expected));
    for (size_t i = 0; i < kColumns.size(); ++i) {
        EXPECT_EQ(kColumns[i].caption, expected[i].caption) << i;
        EXPECT_EQ(kColumns[i].width, expected[i].width) << expected[i].caption;
        EXPECT_EQ(kColumns[i].align, expected[i].align) << expected[i].caption;
    }
    // Each cell of a row sits under the column after the caption's.
    EXPECT_EQ(kColumns[1 + kSize].caption, "Size");
    EXPECT_EQ(kColumns[1 + kPercentFree].caption, "% Free");
    EXPECT_EQ(kColumns[1 + kProductId].caption, "Product Id");
}
