// S.M.A.R.T. reads through the simulated disk driver: the requests and
// records sent, every error text, the 9x device, odd replies, and the
// device closed on every path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/smart_api.h"
#include "diagnostics/smart_requests.h"
#include "platform/sim/machine.h"
#include "platform/smart_records.h"

namespace {

using namespace tw::diagnostics;
using namespace tw::platform;
using tw::sim::Machine;

// One machine: `disks` is the physical_disks object, `extra` more top-level fields.
std::unique_ptr<Machine> DiskMachine(const std::string& disks, const std::string& extra = "") {
    return Machine::FromJsonText("{" + extra + (extra.empty() ? "" : ",") + "\"physical_disks\": " + disks + "}",
                                 "test.json");
}

const std::string kDevice =
    R"("identify": {"model": "Brightmoor BM500A2-7K", "serial": "BM5A0F3C9017", "firmware": "AB12",
                    "sectors": 976773168, "lba48": true},
       "attributes": [{"id": 5, "flags": 51, "current": 100, "worst": 100, "raw": 3, "threshold": 36},
                      {"id": 194, "flags": 34, "current": 40, "worst": 45, "raw": 40, "threshold": 0}])";

std::string OneDevice(const std::string& extra = "") {
    return R"({"0": {"devices": {"0": {)" + kDevice + extra + "}}}}";
}

struct Read {
    bool ok;
    TSmartResult result;
    std::string error;
};

Read ReadDrive(Machine& m, int disk = 0) {
    Read r{};
    r.result.DriveNum = 99;  // every field is reset by the read
    r.error = "stale";
    r.ok = SmartReadDrive(m, disk, r.result, r.error);
    EXPECT_EQ(m.OpenHandleCount(), 0);
    return r;
}

std::vector<BYTE> Sent(const SmartCommand& c) {
    const auto record = Encode(c);
    return {record.begin(), record.begin() + smart_command::kSentSize};
}

TEST(SmartRead, SendsVersionEnableIdentifyAttributesThresholdsOnTheOpenedDisk) {
    auto m = DiskMachine(R"({"2": {"devices": {"1": {)" + kDevice + "}}}}");
    const Read r = ReadDrive(*m, 2);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(m->DeviceOpens().size(), 1u);
    const auto& open = m->DeviceOpens()[0];
    EXPECT_EQ(open.path, "\\\\.\\PhysicalDrive2");
    EXPECT_EQ(open.access, GENERIC_READ | GENERIC_WRITE);
    EXPECT_EQ(open.share, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(open.disposition, OPEN_EXISTING);

    struct Expected {
        DWORD code;
        std::vector<BYTE> input;
        DWORD outputSize;
    } expected[] = {
        {SMART_GET_VERSION, {}, 24},
        {SMART_SEND_DRIVE_COMMAND, Sent({0, 0xD8, 1, 1, 0x4F, 0xC2, 0xB0, 0xB0, 1}), 528},
        {SMART_RCV_DRIVE_DATA, Sent({512, 0, 1, 1, 0, 0, 0xB0, 0xEC, 1}), 529},
        {SMART_RCV_DRIVE_DATA, Sent({512, 0xD0, 1, 1, 0x4F, 0xC2, 0xB0, 0xB0, 1}), 528},
        {SMART_RCV_DRIVE_DATA, Sent({512, 0xD1, 1, 1, 0x4F, 0xC2, 0xB0, 0xB0, 1}), 528},
    };
    const auto& log = m->DeviceRequests();
    ASSERT_EQ(log.size(), std::size(expected));
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].code, expected[i].code) << i;
        EXPECT_EQ(log[i].input, expected[i].input) << i;
        EXPECT_EQ(log[i].outputSize, expected[i].outputSize) << i;
    }
    EXPECT_EQ(r.result.DriveNum, 1);
    EXPECT_EQ(r.result.ModelNumber, "Brightmoor BM500A2-7K");
    EXPECT_EQ(r.result.SizeBytes, 500107862016);
    EXPECT_EQ(r.result.AttrCount, 2);
    EXPECT_EQ(r.result.ReallocatedSectors, 3);
    EXPECT_EQ(r.result.Temperature, 40);
    EXPECT_EQ(r.error, "");
}

TEST(SmartRead, AnAtapiDeviceIsNotEnabledAndIdentifiesWithThePacketCommand) {
    auto m = DiskMachine(R"({"0": {"devices": {"0": {"atapi": true}}}})");
    ReadDrive(*m);
    const auto& log = m->DeviceRequests();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1].code, SMART_RCV_DRIVE_DATA);
    EXPECT_EQ(log[1].input, Sent({512, 0, 1, 1, 0, 0, 0xA0, 0xA1, 0}));
}

TEST(SmartRead, The9xFamilyOpensTheSmartDriverWhateverTheDiskNumber) {
    auto m =
        Machine::FromJsonText(R"({"version": {"platform_id": 1}, "smartvsd": )" + OneDevice().substr(6), "test.json");
    const Read r = ReadDrive(*m, 3);
    EXPECT_TRUE(r.ok) << r.error;
    ASSERT_EQ(m->DeviceOpens().size(), 1u);
    const auto& open = m->DeviceOpens()[0];
    EXPECT_EQ(open.path, "\\\\.\\SMARTVSD");
    EXPECT_EQ(open.access, 0u);
    EXPECT_EQ(open.share, 0u);
    EXPECT_EQ(open.disposition, CREATE_NEW);
    EXPECT_EQ(r.result.ModelNumber, "Brightmoor BM500A2-7K");
    EXPECT_EQ(SmartReadSerial(*m, 7), "BM5A0F3C9017        ");
    EXPECT_EQ(m->DeviceOpens().back().path, "\\\\.\\SMARTVSD");
}

TEST(SmartRead, AnUnknownPlatformFamilyOpensNothing) {
    auto m =
        Machine::FromJsonText(R"({"version": {"platform_id": 0}, "physical_disks": )" + OneDevice() + "}", "test.json");
    const Read r = ReadDrive(*m);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "");
    EXPECT_TRUE(m->DeviceOpens().empty());
}

struct ErrorCase {
    const char* what;
    std::string disks;
    std::string extra;  // top-level fields
    bool ok;
    std::string error;
};

TEST(SmartRead, EveryErrorTextAndTheResultRule) {
    const std::string io = "The request could not be performed because of an I/O device error";
    const ErrorCase cases[] = {
        {"no disk", "{}", "", false, "Unable to open physical drive: The system cannot find the file specified"},
        {"9x without the driver", "{}", R"("version": {"platform_id": 1})", false,
         "Unable to open SMARTVSD: The system cannot find the file specified"},
        {"open refused", R"({"0": {"open_error": "ERROR_ACCESS_DENIED"}})", "", false,
         "Unable to open physical drive: Access is denied"},
        {"version refused", R"({"0": {"version_error": "ERROR_INVALID_FUNCTION"}})", "", false,
         "DFP_GET_VERSION failed: Incorrect function"},
        {"no device", R"({"0": {}})", "", true, ""},
        {"enable fails, the rest reads", OneDevice(R"(, "fail": {"enable": {}})"), "", true,
         "SMART Enable Command Failed, Drive: 0 : " + io},
        {"identify fails", OneDevice(R"(, "fail": {"identify": {"driver_error": 7, "ide_error": 81}})"), "", false,
         "Identify Command Failed on Drive: Could not lock user's buffer bIDEStatus=0051 : " + io},
        {"attributes fail",
         OneDevice(R"(, "fail": {"attributes": {"driver_error": 11, "error": "ERROR_GEN_FAILURE"}})"), "", false,
         "SMART Read Attr Command Failed, Drive: 0 : A device attached to the system is not functioning; "
         "DriverStatus: Unknown driver error 11; bIDEStatus=0004"},
        {"thresholds fail", OneDevice(R"(, "fail": {"thresholds": {"driver_error": 0, "ide_error": 0}})"), "", false,
         "SMART Read Threshold Command Failed, Drive: 0 : " + io + "; DriverStatus: No error; bIDEStatus=0000"},
        {"the driver raises", OneDevice(R"(, "fail": {"attributes": {"raises": "  bus reset \n"}})"), "", false,
         "SMART Failed - bus reset"},
        {"SMART off: enabling turns it on", OneDevice(R"(, "smart": "disabled")"), "", true, ""},
        {"no SMART at all", OneDevice(R"(, "smart": "unsupported")"), "", false,
         "SMART Read Attr Command Failed, Drive: 0 : " + io +
             "; DriverStatus: Error from IDE controller; bIDEStatus=0004"},
        {"a CD drive has no SMART", R"({"0": {"devices": {"0": {"atapi": true}}}})", "", false,
         "SMART Read Attr Command Failed, Drive: 0 : " + io +
             "; DriverStatus: Error from IDE controller; bIDEStatus=0004"},
        {"the first device fails, the second reads",
         R"({"0": {"devices": {"0": {"fail": {"identify": {}}}, "1": {}}}})", "", true,
         "Identify Command Failed on Drive: Error from IDE controller bIDEStatus=0004 : " + io},
        {"two devices: the first that reads", R"({"0": {"devices": {"0": {}, "1": {}}}})", "", true, ""},
    };
    for (const ErrorCase& c : cases) {
        auto m = DiskMachine(c.disks, c.extra);
        const Read r = ReadDrive(*m);
        EXPECT_EQ(r.ok, c.ok) << c.what;
        EXPECT_EQ(r.error, c.error) << c.what;
    }
}

TEST(SmartRead, NoDeviceInTheMapIsASuccessWithNothingRead) {
    auto m = DiskMachine(R"({"0": {}})");
    const Read r = ReadDrive(*m);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.result.DriveNum, -1);
    EXPECT_EQ(r.result.AttrCount, 0);
    EXPECT_EQ(r.result.ModelNumber, "");
}

TEST(SmartRead, RepliesAllZerosAllOnesOrShort) {
    const std::string zeros(1024, '0'), ones(1024, 'f');
    struct Case {
        const char* what;
        std::string device;
        std::int64_t size;
        int attrCount;
        std::string model;
    } cases[] = {
        {"all zeros",
         "\"identify\": \"" + zeros + "\", \"attributes\": \"" + zeros + "\", \"thresholds\": \"" + zeros + "\"", 0, 0,
         ""},
        {"all ones",
         "\"identify\": \"" + ones + "\", \"attributes\": \"" + ones + "\", \"thresholds\": \"" + ones + "\"",
         0xFFFFFFFFll * 512, 30, std::string(40, '\xFF')},
        // One attribute entry and a few identify words: the rest of the buffer stays zero.
        {"short", R"("identify": "4000", "attributes": "1000 05 3300 64 64 0300000000 00", "thresholds": "1000 05 24")",
         0, 1, ""},
    };
    for (const Case& c : cases) {
        auto m = DiskMachine(R"({"0": {"devices": {"0": {)" + c.device + "}}}}");
        const Read r = ReadDrive(*m);
        EXPECT_TRUE(r.ok) << c.what << ": " << r.error;
        EXPECT_EQ(r.result.SizeBytes, c.size) << c.what;
        EXPECT_EQ(r.result.AttrCount, c.attrCount) << c.what;
        EXPECT_EQ(r.result.ModelNumber, c.model) << c.what;
    }
}

TEST(SmartRead, AllOnesAttributesRateAgainstTheirOwnThresholds) {
    const std::string ones(1024, 'f');
    auto m =
        DiskMachine(R"({"0": {"devices": {"0": {"attributes": ")" + ones + R"(", "thresholds": ")" + ones + R"("}}}})");
    const Read r = ReadDrive(*m);
    EXPECT_EQ(r.result.Attr[29].AttrName, "Unknown");
    EXPECT_EQ(r.result.Attr[29].AttrRaw, 0xFFFFFFFFFFFFll);
    EXPECT_EQ(r.result.Attr[29].AttrState, "OK");
    EXPECT_EQ(r.result.FailingCount + r.result.WarningCount, 0);
}

TEST(SmartIdentify, ModelSizeAndSerialOfTheFirstDeviceThatIdentifies) {
    auto m = DiskMachine(R"({"0": {"devices": {"0": {"fail": {"identify": {}}}, "1": {)" + kDevice + "}}}}");
    std::string error = "stale", model, serial;
    std::int64_t size = 0;
    EXPECT_TRUE(SmartIdentifyDrive(*m, 0, error, model, size, serial));
    EXPECT_EQ(model, "Brightmoor BM500A2-7K");
    EXPECT_EQ(serial, "BM5A0F3C9017");
    EXPECT_EQ(size, 500107862016);
    EXPECT_NE(error.find("Identify Command Failed"), std::string::npos);
    // Identify only: no attribute or threshold request.
    EXPECT_EQ(m->DeviceRequests().back().input, Sent({512, 0, 1, 1, 0, 0, 0xB0, 0xEC, 1}));
    EXPECT_EQ(m->OpenHandleCount(), 0);

    auto none = DiskMachine("{}");
    EXPECT_FALSE(SmartIdentifyDrive(*none, 4, error, model, size, serial));
    EXPECT_EQ(error, "Unable to open physical drive: The system cannot find the file specified");
}

TEST(SmartSerial, OneIdentifyOfTheMasterDeviceUntrimmed) {
    auto m = DiskMachine(OneDevice());
    EXPECT_EQ(SmartReadSerial(*m, 0), "BM5A0F3C9017        ");
    ASSERT_EQ(m->DeviceRequests().size(), 1u);
    EXPECT_EQ(m->DeviceRequests()[0].code, SMART_RCV_DRIVE_DATA);
    EXPECT_EQ(m->DeviceRequests()[0].input, Sent({512, 0, 1, 1, 0, 0, 0xA0, 0xEC, 0}));
    EXPECT_EQ(m->DeviceRequests()[0].outputSize, 528u);
    EXPECT_EQ(SmartReadSerial(*m, 1), "");
    auto failing = DiskMachine(OneDevice(R"(, "fail": {"identify": {}})"));
    EXPECT_EQ(SmartReadSerial(*failing, 0), "");
    EXPECT_EQ(failing->OpenHandleCount(), 0);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

// The simulated driver answers only what a driver would: a request with the
// wrong registers fails with the driver's status.
TEST(SmartDriver, RefusesRequestsARealDriverRefuses) {
    struct Case {
        const char* what;
        DWORD code;
        SmartCommand command;
        BYTE driverError;
        BYTE ideError;
        DWORD error;
    } cases[] = {
        {"drive number 4", SMART_RCV_DRIVE_DATA, {512, 0, 1, 1, 0, 0, 0xA0, 0xEC, 4}, 5, 0, ERROR_INVALID_PARAMETER},
        {"absent device", SMART_RCV_DRIVE_DATA, {512, 0, 1, 1, 0, 0, 0xB0, 0xEC, 1}, 10, 0, ERROR_INVALID_PARAMETER},
        {"slave's drive/head for the master",
         SMART_RCV_DRIVE_DATA,
         {512, 0, 1, 1, 0, 0, 0xB0, 0xEC, 0},
         8,
         0,
         ERROR_INVALID_PARAMETER},
        {"unknown command", SMART_RCV_DRIVE_DATA, {512, 0, 1, 1, 0, 0, 0xA0, 0x20, 0}, 3, 0, ERROR_INVALID_PARAMETER},
        {"unknown subcommand",
         SMART_RCV_DRIVE_DATA,
         {512, 0xEE, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0},
         2,
         0,
         ERROR_INVALID_PARAMETER},
        {"enable through the receive request",
         SMART_RCV_DRIVE_DATA,
         {0, 0xD8, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0},
         6,
         0,
         ERROR_INVALID_PARAMETER},
        {"no room for the sector",
         SMART_RCV_DRIVE_DATA,
         {100, 0xD0, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0},
         4,
         0,
         ERROR_INVALID_PARAMETER},
        {"no cylinder signature", SMART_RCV_DRIVE_DATA, {512, 0xD0, 1, 1, 0, 0, 0xA0, 0xB0, 0}, 1, 4, ERROR_IO_DEVICE},
        {"packet identify to a disk", SMART_RCV_DRIVE_DATA, {512, 0, 1, 1, 0, 0, 0xA0, 0xA1, 0}, 1, 4, ERROR_IO_DEVICE},
    };
    for (const Case& c : cases) {
        auto m = DiskMachine(OneDevice());
        Device& device = m->device();
        const HANDLE h =
            device.CreateFileA("\\\\.\\PhysicalDrive0", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SmartReplyBuffer reply{};
        EXPECT_FALSE(SendSmartCommand(device, h, c.code, c.command, reply, 529)) << c.what;
        EXPECT_EQ(device.GetLastError(), c.error) << c.what;
        const auto head = DecodeSmartReplyHead(reply);
        EXPECT_EQ(head->driverError, c.driverError) << c.what;
        EXPECT_EQ(head->ideError, c.ideError) << c.what;
        device.CloseHandle(h);
    }
}

}  // namespace

namespace {

TEST(SmartMachineFile, MalformedDisksAreRefusedWithWhereAndWhat) {
    const std::string tooLong(1026, 'a');
    struct Case {
        std::string disks;
        const char* message;
    } cases[] = {
        {R"({"x": {}})", "physical_disks.x: a disk is named by its number"},
        {R"({"0": {"devices": {"4": {}}}})", "physical_disks.0.devices.4: a device is 0 to 3"},
        {R"({"0": {"devices": {"0": {"identify": ")" + tooLong + R"("}}}})",
         "physical_disks.0.devices.0.identify: a sector holds at most 512 bytes"},
        {R"({"0": {"devices": {"0": {"smart": "on"}}}})", "physical_disks.0.devices.0.smart: expected"},
        {R"({"0": {"devices": {"0": {"fail": {"spin": {}}}}}})",
         "physical_disks.0.devices.0.fail: unknown field \"spin\""},
    };
    for (const Case& c : cases) {
        try {
            DiskMachine(c.disks);
            ADD_FAILURE() << c.disks << " was accepted";
        } catch (const tw::sim::MachineFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
