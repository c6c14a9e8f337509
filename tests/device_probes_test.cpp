// What the list learns from the devices behind the letters: "External Drive"
// from the storage bus, vendor and product from INQUIRY, the class of an
// optical drive; each device opened as its question needs and closed again.
#include <gtest/gtest.h>

#include <stdexcept>

#include "inventory/device_probes.h"
#include "inventory/drive_enumeration.h"
#include "platform/device_records.h"
#include "test_support.h"

namespace inv = tw::inventory;
namespace tp = tw::platform;

namespace {

struct CountingPump : tw::optical::MessagePump {
    void ProcessMessages() override { ++passes; }
    int passes = 0;
};

std::vector<inv::DriveRow> List(tw::sim::Machine& m, CountingPump& pump) {
    std::vector<inv::DriveRow> rows;
    inv::EnumerateDrives(m, {}, pump, rows);
    return rows;
}

const inv::DriveRow& RowOf(const std::vector<inv::DriveRow>& rows, char letter) {
    for (const auto& r : rows) {
        if (r.Letter() == letter) return r;
    }
    throw std::runtime_error(std::string("no row for ") + letter);
}

// A fixed drive F: with the given "device" member (empty: none) and "extra"
// drive members.
std::unique_ptr<tw::sim::Machine> FixedDrive(const std::string& device, const std::string& extra = "") {
    return twtest::MachineFromText(
        R"({"drives": {"F": {"type": "DRIVE_FIXED", "volume": {"label": "Data"}, "space": {"total": 100, "free": 50})" +
        (device.empty() ? "" : ", \"device\": " + device) + extra + "}}}");
}

}  // namespace

TEST(DeviceProbes, FixedDrivesOnAnExternalBusOrWithRemovableMedia) {
    const struct {
        const char* name;
        const char* device;
        const char* detail;
    } cases[] = {
        {"USB", R"({"storage": {"bus_type": "BusTypeUsb"}})", "External Drive"},
        {"IEEE 1394", R"({"storage": {"bus_type": "BusType1394"}})", "External Drive"},
        {"removable media on ATA", R"({"storage": {"bus_type": "BusTypeAta", "removable_media": true}})",
         "External Drive"},
        {"ATA", R"({"storage": {"bus_type": "BusTypeAta", "removable_media": false}})", ""},
        {"SCSI", R"({"storage": {"bus_type": "BusTypeScsi"}})", ""},
        {"query refused", R"({"storage": {"error": "ERROR_INVALID_FUNCTION"}})", ""},
        {"device won't open", R"({"open_error": "ERROR_ACCESS_DENIED", "storage": {"bus_type": "BusTypeUsb"}})", ""},
        {"no device", "", ""},
        // The query needs no data access, so an exclusive holder doesn't stop it.
        {"held by another program", R"({"in_use": true, "storage": {"bus_type": "BusTypeUsb"}})", "External Drive"},
    };
    for (const auto& c : cases) {
        auto m = FixedDrive(c.device);
        CountingPump pump;
        const auto rows = List(*m, pump);
        EXPECT_EQ(RowOf(rows, 'F').cells[inv::kType], "Local Disk") << c.name;
        EXPECT_EQ(RowOf(rows, 'F').cells[inv::kAdditionalInfo], c.detail) << c.name;
        EXPECT_EQ(m->OpenHandleCount(), 0) << c.name;
    }
}

TEST(DeviceProbes, TheBusQueryOpensWithoutDataAccessAndSendsTheStandardQuery) {
    auto m = FixedDrive(R"({"storage": {"bus_type": "BusTypeUsb"}})");
    EXPECT_TRUE(inv::IsExternal(m->device(), 'F'));
    ASSERT_EQ(m->DeviceOpens().size(), 1u);
    const auto& open = m->DeviceOpens()[0];
    EXPECT_EQ(open.path, "\\\\.\\F:");
    EXPECT_EQ(open.access, 0u);
    EXPECT_EQ(open.share, tp::FILE_SHARE_READ | tp::FILE_SHARE_WRITE);
    EXPECT_EQ(open.disposition, tp::OPEN_EXISTING);
    ASSERT_EQ(m->DeviceRequests().size(), 1u);
    const auto& request = m->DeviceRequests()[0];
    EXPECT_EQ(request.code, tp::IOCTL_STORAGE_QUERY_PROPERTY);
    EXPECT_EQ(request.input, std::vector<tp::BYTE>(12, 0));
    EXPECT_EQ(request.outputSize, 548u);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(DeviceProbes, ASubstitutionIsNeverAskedForItsBus) {
    auto m = FixedDrive(R"({"storage": {"bus_type": "BusTypeUsb"}})", R"(, "dos_device": "\\??\\C:\\work")");
    CountingPump pump;
    const auto rows = List(*m, pump);
    EXPECT_EQ(RowOf(rows, 'F').cells[inv::kType], "Subst");
    EXPECT_EQ(RowOf(rows, 'F').cells[inv::kAdditionalInfo], "C:\\work");
    for (const auto& r : m->DeviceRequests()) EXPECT_NE(r.code, tp::IOCTL_STORAGE_QUERY_PROPERTY);
}

TEST(DeviceProbes, VendorAndProductFromInquiry) {
    const std::string writer =
        R"({"inquiry": {"vendor": "TARNWELL", "product": "DVD-RW TW-1000", "revision": "1.02"}})";
    const struct {
        const char* name;
        std::string drive;  // members of drive E:
        std::string token;
        const char* vendor;
        const char* product;
        std::size_t identityLength;
    } cases[] = {
        {"answers", R"("device": {"scsi": )" + writer + "}", "true", "TARNWELL", "DVD-RW TW-1000  ", 28},
        {"no pass-through rights", R"("device": {"scsi": {"admin_only": true, "inquiry": {"vendor": "TARNWELL"}}})",
         "false", "", "", 0},
        {"not mounted", R"("device": {"scsi": )" + writer + R"(}, "space": {"error": "ERROR_NOT_READY"})", "true",
         "        ", "", 8},
        {"no device", "", "true", "", "", 0},
        {"open refused", R"("device": {"open_error": "ERROR_ACCESS_DENIED", "scsi": )" + writer + "}", "true", "", "",
         0},
        {"INQUIRY fails", R"("device": {"scsi": {"fail": {"INQUIRY": "ERROR_IO_DEVICE"}}})", "true", "", "", 0},
        {"stops at the first zero byte", R"("device": {"scsi": {"inquiry": "05800502 5B000000 41424300 44454647"}})",
         "true", "ABC", "", 3},
        {"never past the 100-byte reply", R"("device": {"scsi": {"inquiry": ")" + std::string(240, '4') + R"("}})",
         "true", "DDDDDDDD", "DDDDDDDDDDDDDDDD", 92},
    };
    for (const auto& c : cases) {
        auto m = twtest::MachineFromText(
            R"({"drives": {"E": {"type": "DRIVE_REMOVABLE", "volume": {"label": "Stick"}, "space": {"total": 100, "free": 50})" +
            (c.drive.empty() ? "" : ", " + c.drive) + R"(}}, "token": {"administrator": )" + c.token + "}}");
        CountingPump pump;
        const auto rows = List(*m, pump);
        const auto& e = RowOf(rows, 'E');
        EXPECT_EQ(e.cells[inv::kVendor], c.vendor) << c.name;
        EXPECT_EQ(e.cells[inv::kProductId], c.product) << c.name;
        EXPECT_EQ(e.facts.identityText.size(), c.identityLength) << c.name;
        EXPECT_EQ(m->OpenHandleCount(), 0) << c.name;
    }
}

TEST(DeviceProbes, InquiryIsTheShortPassThroughOnAReadWriteOpenSharingRead) {
    auto m = twtest::ExampleMachine("dvd-workstation.json");
    EXPECT_EQ(inv::IdentityText(m->device(), 'E').substr(0, 24), "TARNWELLDVD-RW TW-1000  ");
    ASSERT_EQ(m->DeviceOpens().size(), 1u);
    const auto& open = m->DeviceOpens()[0];
    EXPECT_EQ(open.path, "\\\\.\\E:");
    EXPECT_EQ(open.access, tp::GENERIC_READ | tp::GENERIC_WRITE);
    EXPECT_EQ(open.share, tp::FILE_SHARE_READ);
    EXPECT_EQ(open.disposition, tp::OPEN_EXISTING);
    EXPECT_EQ(open.flags, 0u);
    ASSERT_EQ(m->DeviceRequests().size(), 1u);
    const auto& request = m->DeviceRequests()[0];
    EXPECT_EQ(request.code, tp::IOCTL_SCSI_PASS_THROUGH_DIRECT);
    EXPECT_EQ(request.cdb, (std::vector<tp::BYTE>{0x12, 0, 0, 0, 100, 0}));
    EXPECT_EQ(request.input.size(), tp::kPassThrough.recordSize);
    EXPECT_EQ(request.outputSize, tp::kPassThrough.recordSize);
    const auto sent = tp::DecodePassThrough(request.input);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->senseInfoLength, 24);
    EXPECT_EQ(sent->dataTransferLength, 100u);
    EXPECT_EQ(sent->timeOutValue, 2u);
    EXPECT_EQ(sent->dataIn, tp::SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

namespace {

// The machine's device, except that every request raises.
struct RaisingDevice : tp::Device {
    explicit RaisingDevice(tp::Device& inner) : inner(inner) {}
    tp::HANDLE CreateFileA(const char* name, tp::DWORD access, tp::DWORD share, void* security, tp::DWORD disposition,
                           tp::DWORD flags, tp::HANDLE templateFile) override {
        return inner.CreateFileA(name, access, share, security, disposition, flags, templateFile);
    }
    tp::BOOL DeviceIoControl(tp::HANDLE, tp::DWORD, const void*, tp::DWORD, void*, tp::DWORD, tp::DWORD*,
                             void*) override {
        throw std::runtime_error("Access violation");
    }
    tp::BOOL CloseHandle(tp::HANDLE handle) override { return inner.CloseHandle(handle); }
    void Sleep(tp::DWORD ms) override { inner.Sleep(ms); }
    tp::DWORD GetLastError() override { return inner.GetLastError(); }
    void SetLastError(tp::DWORD code) override { inner.SetLastError(code); }
    tp::Device& inner;
};

}  // namespace

TEST(DeviceProbes, ARequestThatRaisesGivesTheEmptyAnswerAndClosesTheDevice) {
    auto m = twtest::ExampleMachine("dvd-workstation.json");
    RaisingDevice device(m->device());
    EXPECT_EQ(inv::IdentityText(device, 'E'), "");
    EXPECT_FALSE(inv::IsExternal(device, 'F'));
    EXPECT_EQ(m->DeviceOpens().size(), 2u);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(DeviceProbes, OpticalClassIsWhatTheDriveWritesElseWhatItReads) {
    const struct {
        const char* text;
        const char* optical;
    } cases[] = {
        {"Read CD-R\r\nWrite DVD-R / DVD-RW", "DVD-RW"},
        {"Read CD-R\r\nRead DVD-R / DVD-RW\r\nWrite CD-RW", "CD-RW"},
        {"Read CD-R\r\nWrite DVD-RAM", "DVD-R"},  // "DVD-RAM" holds "DVD-R"
        {"Read DVD-ROM\r\nRead DVD-R / DVD-RW\r\nRead DVD-RAM", "DVD-ROM"},
        {"\r\nRead CD-RW\r\nWrite Test", "CD-ROM"},
        {"Read CD-R", "CD-ROM"},
        {"\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(inv::OpticalClassOf(c.text), c.optical) << c.text;
}

TEST(DeviceProbes, OpticalDrivesAreClassedWaitingThroughTheCallersPump) {
    const struct {
        const char* machine;
        char letter;
        const char* optical;
        int pumps;  // one per attempt of the wait
    } cases[] = {
        {"dvd-workstation.json", 'E', "DVD-RW", 1},  // still spinning up: the request is done
        {"empty-cdrom.json", 'D', "CD-ROM", 1},      // no disc: the request is done too
    };
    for (const auto& c : cases) {
        auto m = twtest::ExampleMachine(c.machine);
        CountingPump pump;
        const auto rows = List(*m, pump);
        EXPECT_EQ(RowOf(rows, c.letter).cells[inv::kAdditionalInfo], c.optical) << c.machine;
        EXPECT_EQ(pump.passes, c.pumps) << c.machine;
        EXPECT_EQ(m->OpenHandleCount(), 0) << c.machine;
    }
}

namespace {

// A CD or DVD drive E: whose capabilities page reads and writes what is given.
std::unique_ptr<tw::sim::Machine> OpticalDrive(const std::string& read, const std::string& write) {
    return twtest::MachineFromText(R"({"drives": {"E": {"type": "DRIVE_CDROM", "device": {"scsi": {"capabilities": )"
                                   R"({"read": ")" +
                                   read + R"(", "write": ")" + write + R"("}}}}}, "token": {"administrator": true}})");
}

}  // namespace

TEST(DeviceProbes, TheListClassesReadersByWhatTheyReadAndWritersByWhatTheyWrite) {
    const struct {
        const char* read;
        const char* write;
        const char* optical;
    } cases[] = {
        {"3F", "00", "DVD-ROM"},  // reads every DVD it lists, writes nothing
        {"03", "00", "CD-ROM"},
        {"3F", "37", "DVD-RW"},
        {"3F", "03", "CD-RW"},  // a DVD reader that writes CDs
    };
    for (const auto& c : cases) {
        auto m = OpticalDrive(c.read, c.write);
        CountingPump pump;
        EXPECT_EQ(RowOf(List(*m, pump), 'E').cells[inv::kAdditionalInfo], c.optical)
            << "read " << c.read << ", write " << c.write;
    }
}

TEST(DeviceProbes, ADriveUnpluggedWhileItIsAskedKeepsItsRowWithoutAClass) {
    auto m = twtest::ExampleMachine("dvd-workstation.json");
    tw::sim::FaultRule unplug;
    unplug.call = tw::sim::SimCall::DeviceIoControl;
    unplug.letter = 'E';
    unplug.removeDrive = true;  // at the first TEST UNIT READY of the class probe
    m->AddFault(unplug);
    CountingPump pump;
    const auto rows = List(*m, pump);
    EXPECT_EQ(RowOf(rows, 'E').cells[inv::kType], "CD / DVD Drive");
    EXPECT_EQ(RowOf(rows, 'E').cells[inv::kAdditionalInfo], "");
    EXPECT_EQ(pump.passes, 10);  // every request on the open handle fails
    EXPECT_EQ(m->OpenHandleCount(), 0);
}
