// The command table: each command's usage line, its help, the formats and
// options it takes and its handler. The usage, --help, COMMAND --help, the
// bad-usage errors and the dispatch all come from here.
#include "cli/command_table.h"

#include "cli/arguments.h"
#include "cli/commands.h"

namespace tw::cli {

namespace {

constexpr const char* kListFormats[] = {"tsv", "csv", "json", "html"};
constexpr const char* kReportFormats[] = {"text", "json"};

constexpr CommandOption kCheckDiskOptions[] = {{"--fix"}};
constexpr CommandOption kBenchOptions[] = {
    {"--size", [](const std::string& value) { return BenchSizeArgument(value).has_value(); },
     "a test size (64M, 256M, 1G)"}};

constexpr Command kCommands[] = {
    {"list",
     "list [--format tsv|csv|json|html]",
     "print the drive list as the main window shows it",
     "  Refreshes the list once, as the window does at start, and prints it.\n"
     "  --format tsv   (default) a header line of the column captions, then one\n"
     "                 tab-separated line per drive: its cells, the row's image\n"
     "                 index and the text colour of its cells (#RRGGBB)\n"
     "  --format csv   the header and the rows' cells as comma-separated values,\n"
     "                 quoted where needed, lines ended by CR LF\n"
     "  --format html  a web page with the list as a table in the rows' colours\n"
     "  --format json  a list of objects, one per row, keyed by the column\n"
     "                 captions; Size, Used, Available and Bytes Free as exact\n"
     "                 byte counts, % Free as a number, null where the cell is empty\n"
     "                 (docs/schemas/list.schema.json)\n"
     "  Exit code 1 when the refresh showed an error.\n",
     kListFormats,
     {},
     ListCommand},
    {"script",
     "[--args \"...\"] script FILE|-",
     "drive the main window's logic from a script",
     "  Runs the commands of FILE (or standard input with -) one a line and\n"
     "  prints every box, window and dialog they show:\n"
     "    activate | tick | tick device | select N|none|all | click NAME\n"
     "    check NAME on|off | choose NAME N | set NAME TEXT | window CLASS\n"
     "    answer Yes|No|OK|Cancel | answer save PATH|cancel\n"
     "    device arrival|removal | clipboard | list | # comment\n"
     "  --args gives the program's command line as the window would see it.\n"
     "  Exit code 1 when an error box was shown, 3 when a line is wrong or a box\n"
     "  is left unanswered.\n",
     {},
     {},
     ScriptCommand},
    {"optical",
     "optical LETTER [--format text|json]",
     "what the Optical Information window shows of a drive",
     "  Vendor:, Product ID:, Revision:, Vendor Spec: and Profile: lines, then the\n"
     "  drive's capabilities one a line. LETTER is E, e, E: or E:\\.\n"
     "  --format json  one object with those names and \"Capabilities\" as a list\n"
     "                 (docs/schemas/optical.schema.json)\n",
     kReportFormats,
     {},
     OnDrive<OpticalCommand>},
    {"media",
     "media LETTER [--format text|json]",
     "the kind of disc in a CD or DVD drive",
     "  Prints \"E: Contains disk type: DVD-ROM\". A drive that is not a CD or DVD\n"
     "  drive, or that cannot be opened or asked, is an error with the system's\n"
     "  reason (exit code 1).\n"
     "  --format json  {\"Drive\": \"E:\", \"Disk type\": \"DVD-ROM\"}\n"
     "                 (docs/schemas/media.schema.json)\n",
     kReportFormats,
     {},
     OnDrive<MediaCommand>},
    {"smart",
     "smart DISK [--format text|json]",
     "the S.M.A.R.T. data of a physical disk",
     "  DISK is 0 to 255. Prints the result record field by field, one\n"
     "  tab-separated line per attribute, then Result: and Error:.\n"
     "  Exit code 1 when the read failed.\n"
     "  --format json  one object with the same names, the attributes as a list\n"
     "                 of objects (docs/schemas/smart.schema.json)\n",
     kReportFormats,
     {},
     SmartCommand},
    {"health",
     "health DISK [--format text|json]",
     "a physical disk's health, by whichever route the disk answers",
     "  DISK is 0 to 255. Finds the disk's bus and reads its health by the first\n"
     "  route that answers: the driver's S.M.A.R.T. requests, ATA pass-through,\n"
     "  the 16- or 12-byte ATA wrapper of a USB bridge, or the NVMe health log.\n"
     "  Prints the bus, the route and every route tried, the identity, then the\n"
     "  disk's own verdict and the attribute lines (as smart prints them) or the\n"
     "  NVMe log's values, counters exact (data units as bytes too).\n"
     "  Exit code 1 when no route answered.\n"
     "  --format json  one object with the same values, counters as exact integers\n"
     "                 (docs/schemas/health.schema.json)\n",
     kReportFormats,
     {},
     HealthCommand},
    {"diskinfo",
     "diskinfo LETTER [--format text|json]",
     "what the Disk Information window shows of a fixed drive",
     "  Name: value lines: the model, serial number, firmware and size of the disk\n"
     "  behind LETTER (E, e, E: or E:\\), its physical disk, partition and bus\n"
     "  type, then the volume's file system, label, serial and cluster size.\n"
     "  Exit code 1, with a Status: line saying why, when the disk did not identify.\n"
     "  --format json  one object with those names; Size and Cluster Size as exact\n"
     "                 byte counts, Partition as a number, null where a field is\n"
     "                 empty (docs/schemas/diskinfo.schema.json)\n",
     kReportFormats,
     {},
     OnDrive<DiskInfoCommand>},
    {"chkdsk",
     "chkdsk LETTER [--fix]",
     "check a drive's file system, as the Check Disk window does",
     "  Runs the system's file-system check on LETTER and prints its log.\n"
     "  --fix  repair what the check finds (the volume must not be in use)\n"
     "  Exit code 1 when the check found problems or could not run.\n",
     {},
     kCheckDiskOptions,
     OnDrive<CheckDiskCommand>},
    {"bench", "bench LETTER|FOLDER [--size 64M|256M|1G] [--format text|json]",
     "time sequential and random reads and writes on a drive",
     "  Writes and reads a temporary file in FOLDER (the root of LETTER), then\n"
     "  prints MB/s and IOPS as the Drive Benchmark window shows them. The file\n"
     "  is always deleted.\n"
     "  --size         the test file's size (default 64M)\n"
     "  --format json  one object: the folder, the file's size in bytes, the log\n"
     "                 lines, MB/s of the sequential stages and IOPS and MB/s of\n"
     "                 the random ones (docs/schemas/bench.schema.json)\n"
     "  Exit code 1 when the drive is refused or the test failed.\n",
     kReportFormats, kBenchOptions, BenchCommand},
    // usb reads --all among its words, so that its refusal names the word beside it.
    {"usb",
     "usb [--all] [--format text|json]",
     "the disks on USB, as the USB Drives window lists them",
     "  One block per disk: model, serial number, size, media type, interface,\n"
     "  partitions, drive letters and PNP device id.\n"
     "  --all          every disk, not only those on USB\n"
     "  --format json  {\"Disks\": [...], \"Status\": \"...\"}, a disk as an object with\n"
     "                 those names, Size as an exact byte count, the drive letters\n"
     "                 as a list (docs/schemas/usb.schema.json)\n"
     "  Exit code 1 when the management query failed.\n",
     kReportFormats,
     {},
     UsbCommand},
    {"volumes",
     "volumes [--format text|json]",
     "every volume of the system, as the Volumes window lists them",
     "  One line per volume: its name, drive letters, mount-point folders, drive\n"
     "  type, file system, label, serial, capacity and free space.\n"
     "  Exit code 1 when the search for volumes stopped early.\n"
     "  --format json  {\"Volumes\": [...], \"Status\": \"...\"}, a volume as an object\n"
     "                 keyed by the column names, letters and mount points as\n"
     "                 lists, Capacity and Free as exact byte counts\n"
     "                 (docs/schemas/volumes.schema.json)\n",
     kReportFormats,
     {},
     VolumesCommand},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(const std::string& name) {
    for (const Command& c : kCommands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

}  // namespace tw::cli
