// How a drive is presented: its "Type"/"Additional Info" texts and image, the
// warning colours of a row, the striping of odd rows and the column layout.
#include <gtest/gtest.h>

#include "inventory/drive_facts.h"
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

DriveFacts Facts(long double percent, const char* fileSystem = "NTFS", bool hidden = false) {
    DriveFacts f;
    f.reached = ProbeStep::kDone;
    f.kind.driveType = DRIVE_FIXED;
    f.percentFree = percent;
    f.fileSystem = fileSystem;
    f.hidden = hidden;
    return f;
}

template <typename Change>
DriveFacts With(DriveFacts f, Change change) {
    change(f);
    return f;
}

}  // namespace

TEST(Presentation, TextColourRulesInOrder) {
    const struct {
        const char* name;
        DriveFacts facts;
        Rgb colour;
    } cases[] = {
        {"plenty free", Facts(39.6L), kBlack},
        {"low space", Facts(4.9L), kMaroon},
        {"nothing free", Facts(0), kMaroon},
        {"low space on a CD", Facts(4.9L, "CDFS"), kBlack},
        {"low space, other optical format", Facts(0, "UDF"), kMaroon},
        {"at the limit", Facts(5.0L), kBlack},
        // The rule reads the percentage as shown, to one decimal.
        {"shown as 5.0", Facts(4.96L), kBlack},
        {"shown as 4.9", Facts(4.94L), kMaroon},
        {"hidden", Facts(50, "NTFS", true), kBlue},
        {"hidden and low", Facts(3, "NTFS", true), kBlue},
        {"not mounted", With(Facts(0, "", true), [](DriveFacts& f) { f.notMounted = true; }), kGrey},
        {"disconnected",
         With(Facts(0, "", true),
              [](DriveFacts& f) {
                  f.kind.driveType = DRIVE_NO_ROOT_DIR;
                  f.kind.disconnected = true;
              }),
         kGrey},
        {"remote connection unavailable",
         With(Facts(50),
              [](DriveFacts& f) {
                  f.kind.driveType = DRIVE_REMOTE;
                  f.kind.connectionResult = ERROR_CONNECTION_UNAVAIL;
              }),
         kGrey},
        // Probing stopped before the percentage and visibility were learnt.
        {"stopped after the kind", With(Facts(0, "NTFS", true), [](DriveFacts& f) { f.reached = ProbeStep::kKind; }),
         kBlack},
        {"stopped after the space",
         With(Facts(0),
              [](DriveFacts& f) {
                  f.reached = ProbeStep::kSpace;
                  f.notMounted = true;
              }),
         kGrey},
    };
    for (const auto& c : cases) EXPECT_EQ(SubItemTextColour(c.facts), c.colour) << c.name;
}

TEST(Presentation, OddRowsAreStripedSelectedRowsHighlighted) {
    DriveRow low;
    low.facts = Facts(1.0L);
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
