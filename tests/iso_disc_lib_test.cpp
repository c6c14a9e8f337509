// TISODiscLib as its callers see it: what reaches the drive, in which order,
// what text comes back, who may open drives, and that every handle, token
// and SID it takes is given back. The drive and the token are small fakes
// that decode the bytes the library sends; the machine file answers the
// version and drive-type questions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "optical/iso_disc_lib.h"
#include "optical/mmc_commands.h"
#include "optical/scsi_pass_through.h"
#include "platform/device_records.h"
#include "platform/sim/machine.h"

namespace {

using namespace tw::platform;
using tw::optical::MessagePump;
using tw::optical::TISODiscLib;
using Bytes = std::vector<std::uint8_t>;

// A drive that answers pass-through requests from canned replies by opcode,
// writing them where the record's DataBuffer points, as a driver does.
struct FakeDrive : Device {
    struct Open {
        std::string path;
        DWORD access, share, disposition, flags;
    };

    HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void*, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE) override {
        opens.push_back({fileName, desiredAccess, shareMode, creationDisposition, flagsAndAttributes});
        if (openFails) return INVALID_HANDLE_VALUE;
        const HANDLE h = nextHandle++;
        openHandles.insert(h);
        return h;
    }
    BOOL DeviceIoControl(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                         DWORD* returned, void*) override {
        EXPECT_TRUE(openHandles.count(device)) << "request on a handle that is not open";
        EXPECT_EQ(code, IOCTL_SCSI_PASS_THROUGH_DIRECT);
        EXPECT_EQ(in, out) << "the record is both input and output";
        EXPECT_EQ(inSize, kPassThrough.recordSize);
        EXPECT_EQ(outSize, kPassThrough.recordSize);
        const auto* bytes = static_cast<const std::uint8_t*>(in);
        records.emplace_back(bytes, bytes + inSize);
        const auto request = DecodePassThrough(records.back());
        if (!request) return FALSE;
        requests.push_back(*request);
        const std::uint8_t op = request->cdb[0];
        events.push_back("scsi " + std::to_string(op));
        if (op == 0x00 && notReadyAttempts > 0) {
            --notReadyAttempts;
            return FALSE;
        }
        if (failing.count(op)) return FALSE;
        const auto reply = replies.find(op);
        if (reply != replies.end() && request->dataBuffer != 0) {
            const std::size_t n = std::min<std::size_t>(reply->second.size(), request->dataTransferLength);
            std::copy_n(reply->second.begin(), n, reinterpret_cast<std::uint8_t*>(request->dataBuffer));
        }
        if (returned) *returned = inSize;
        return TRUE;
    }
    BOOL CloseHandle(HANDLE object) override { return openHandles.erase(object) ? TRUE : FALSE; }
    void Sleep(DWORD milliseconds) override {
        sleeps.push_back(milliseconds);
        events.push_back("sleep");
    }
    DWORD GetLastError() override { return ERROR_SUCCESS; }
    void SetLastError(DWORD) override {}

    std::vector<std::uint8_t> Opcodes() const {
        std::vector<std::uint8_t> ops;
        for (const auto& r : requests) ops.push_back(r.cdb[0]);
        return ops;
    }

    bool openFails = false;
    int notReadyAttempts = 0;
    std::set<std::uint8_t> failing;
    std::map<std::uint8_t, Bytes> replies;
    HANDLE nextHandle = 0x100;
    std::set<HANDLE> openHandles;
    std::vector<Open> opens;
    std::vector<Bytes> records;
    std::vector<PassThroughRequest> requests;
    std::vector<DWORD> sleeps;
    std::vector<std::string> events;
};

Bytes Sid(std::initializer_list<DWORD> subAuthorities) {
    Bytes sid = {1, static_cast<std::uint8_t>(subAuthorities.size()), 0, 0, 0, 0, 0, 5};
    for (DWORD s : subAuthorities) {
        for (int i = 0; i < 4; ++i) sid.push_back(static_cast<std::uint8_t>(s >> (8 * i)));
    }
    return sid;
}
const Bytes kAdministrators = Sid({0x20, 0x220});
const Bytes kUsers = Sid({0x20, 0x221});

// A token service whose group list is laid out as Windows lays it out.
struct FakeToken : Security {
    HANDLE GetCurrentThread() override { return 0xFFFFFFFE; }
    HANDLE GetCurrentProcess() override { return 0xFFFFFFFF; }
    BOOL OpenThreadToken(HANDLE, DWORD access, BOOL openAsSelf, HANDLE* token) override {
        calls.push_back("OpenThreadToken");
        EXPECT_EQ(access, TOKEN_QUERY);
        EXPECT_EQ(openAsSelf, TRUE);
        if (threadTokenError != ERROR_SUCCESS) {
            lastError = threadTokenError;
            return FALSE;
        }
        return Issue(token);
    }
    BOOL OpenProcessToken(HANDLE, DWORD access, HANDLE* token) override {
        calls.push_back("OpenProcessToken");
        EXPECT_EQ(access, TOKEN_QUERY);
        if (!processToken) return FALSE;
        return Issue(token);
    }
    BOOL GetTokenInformation(HANDLE token, DWORD informationClass, void* information, DWORD length,
                             DWORD* returnLength) override {
        calls.push_back("GetTokenInformation");
        EXPECT_TRUE(openTokens.count(token));
        EXPECT_EQ(informationClass, TokenGroups);
        const std::size_t size = TokenGroupsSize(groups);
        *returnLength = static_cast<DWORD>(size);
        if (length < size) {
            lastError = ERROR_INSUFFICIENT_BUFFER;
            return FALSE;
        }
        EncodeTokenGroups(groups, std::span(static_cast<BYTE*>(information), length));
        return TRUE;
    }
    BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD s0, DWORD s1, DWORD s2,
                                  DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID* sid) override {
        const DWORD all[8] = {s0, s1, s2, s3, s4, s5, s6, s7};
        auto bytes = std::make_unique<Bytes>();
        bytes->push_back(1);
        bytes->push_back(count);
        for (BYTE b : authority->Value) bytes->push_back(b);
        for (BYTE i = 0; i < count; ++i) {
            for (int b = 0; b < 4; ++b) bytes->push_back(static_cast<std::uint8_t>(all[i] >> (8 * b)));
        }
        *sid = bytes->data();
        sids[*sid] = std::move(bytes);
        return TRUE;
    }
    BOOL EqualSid(PSID a, PSID b) override {
        const auto* x = static_cast<const BYTE*>(a);
        const auto* y = static_cast<const BYTE*>(b);
        return std::equal(x, x + SidLength(x[1]), y, y + SidLength(y[1])) ? TRUE : FALSE;
    }
    void* FreeSid(PSID sid) override {
        EXPECT_EQ(sids.erase(sid), 1u);
        return nullptr;
    }
    BOOL CloseHandle(HANDLE object) override { return openTokens.erase(object) ? TRUE : FALSE; }
    DWORD GetLastError() override { return lastError; }

    BOOL Issue(HANDLE* token) {
        *token = nextToken++;
        openTokens.insert(*token);
        return TRUE;
    }

    DWORD threadTokenError = ERROR_NO_TOKEN;
    bool processToken = true;
    std::vector<TokenGroup> groups = {{kUsers, 7}, {kAdministrators, 0x10}};
    DWORD lastError = ERROR_SUCCESS;
    HANDLE nextToken = 0x500;
    std::set<HANDLE> openTokens;
    std::map<PSID, std::unique_ptr<Bytes>> sids;
    std::vector<std::string> calls;
};

struct CountingPump : MessagePump {
    explicit CountingPump(std::vector<std::string>& events) : events(events) {}
    void ProcessMessages() override {
        ++passes;
        events.push_back("pump");
    }
    std::vector<std::string>& events;
    int passes = 0;
};

Bytes ProfileReply(std::uint16_t profile) {
    Bytes reply(8, 0);
    reply[6] = static_cast<std::uint8_t>(profile >> 8);
    reply[7] = static_cast<std::uint8_t>(profile);
    return reply;
}

Bytes PageReply(std::uint8_t readBits, std::uint8_t writeBits) {
    Bytes reply(28, 0);
    reply[10] = readBits;
    reply[11] = writeBits;
    reply[16] = 0x1B;  // 7056 kB/s
    reply[17] = 0x90;
    reply[20] = 0x08;  // 2048k
    reply[26] = 0x0B;  // 2822 kB/s
    reply[27] = 0x06;
    return reply;
}

struct DiscLibTest : testing::Test {
    std::unique_ptr<tw::sim::Machine> machine = tw::sim::Machine::FromJsonText(
        R"({"version": {"major": 5, "minor": 1, "build": 2600, "platform_id": 2},
            "drives": {"C": {"type": "DRIVE_FIXED"}, "E": {"type": "DRIVE_CDROM"}}})",
        "disc.json");
    FakeDrive drive;
    FakeToken token;
    CountingPump pump{drive.events};

    TISODiscLib Lib() { return TISODiscLib(machine->kernel(), drive, token, pump); }
    void TearDown() override {
        EXPECT_TRUE(drive.openHandles.empty()) << "a drive handle was left open";
        EXPECT_TRUE(token.openTokens.empty()) << "a token was left open";
        EXPECT_TRUE(token.sids.empty()) << "a SID was not freed";
    }

    // GetDriveCapabilities on a freshly opened CD drive, closed afterwards.
    std::string Capabilities(const std::string& before = "before") {
        TISODiscLib lib = Lib();
        const HANDLE h = lib.OpenCDDrive('E');
        std::string text = before;
        lib.GetDriveCapabilities(h, text);
        EXPECT_TRUE(lib.CloseDrive(h));
        return text;
    }
};

// --- The bytes that reach the drive ---------------------------------------

// The whole record with the data address cleared, as hex, for this build's
// pointer width: the fields up to TimeOutValue, the address, the sense
// offset, the CDB, and zeroes to the end.
std::string ExpectedRecord(const std::string& head20, const std::string& cdb16) {
    const std::string zeros4 = "00000000";
    std::string hex = head20;
    if (sizeof(void*) == 4) {
        hex += zeros4 + "30000000" + cdb16;  // DataBuffer, SenseInfoOffset 48, Cdb
        hex += std::string(2 * (4 + 32), '0');
    } else {
        hex += zeros4 + zeros4 + zeros4 + "3C000000" + cdb16;  // padding, DataBuffer, SenseInfoOffset 60, Cdb
        hex += std::string(2 * (4 + 4 + 32 + 4), '0');
    }
    return hex;
}

std::string HexWithoutAddress(Bytes record) {
    std::fill_n(record.begin() + static_cast<std::ptrdiff_t>(kPassThrough.dataBuffer), sizeof(void*), 0);
    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t b : record) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

TEST_F(DiscLibTest, EveryCommandGoesOutByteForByte) {
    drive.replies[0x46] = ProfileReply(0x0010);
    drive.replies[0x5A] = PageReply(0x3F, 0x37);
    EXPECT_NE(Capabilities(), "before");
    ASSERT_EQ(drive.records.size(), 4u);
    const std::string length = sizeof(void*) == 4 ? "2C00" : "3800";
    EXPECT_EQ(HexWithoutAddress(drive.records[0]),
              ExpectedRecord(length + "00000000" + "0620" + "01000000" + "00000000" + "78000000",
                             "00000000000000000000000000000000"));
    EXPECT_EQ(HexWithoutAddress(drive.records[1]),
              ExpectedRecord(length + "00000000" + "0A20" + "01000000" + "72000000" + "78000000",
                             "46020000000000007200000000000000"));
    EXPECT_EQ(HexWithoutAddress(drive.records[2]),
              ExpectedRecord(length + "00000000" + "0A20" + "01000000" + "15000000" + "78000000",
                             "AD000000000000000015000000000000"));
    EXPECT_EQ(HexWithoutAddress(drive.records[3]),
              ExpectedRecord(length + "00000000" + "0A0E" + "01000000" + "B8010000" + "78000000",
                             "5A00AA0000000001B800000000000000"));
    // No data moves for TEST UNIT READY, so its record carries no address.
    EXPECT_EQ(drive.requests[0].dataBuffer, 0u);
    EXPECT_NE(drive.requests[1].dataBuffer, 0u);
}

TEST_F(DiscLibTest, OpensTheVolumeDeviceForReadingAndWriting) {
    TISODiscLib lib = Lib();
    const HANDLE h = lib.OpenDrive('E');
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_EQ(drive.opens.size(), 1u);
    EXPECT_EQ(drive.opens[0].path, "\\\\.\\E:");
    EXPECT_EQ(drive.opens[0].access, GENERIC_READ | GENERIC_WRITE);
    EXPECT_EQ(drive.opens[0].share, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(drive.opens[0].disposition, OPEN_EXISTING);
    EXPECT_EQ(drive.opens[0].flags, FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(lib.CloseDrive(h));
    EXPECT_FALSE(lib.CloseDrive(h));
}

TEST_F(DiscLibTest, OpenCDDriveRefusesADriveThatIsNotACdRom) {
    TISODiscLib lib = Lib();
    EXPECT_EQ(lib.OpenCDDrive('C'), INVALID_HANDLE_VALUE);
    EXPECT_EQ(lib.OpenCDDrive('Q'), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(drive.opens.empty());
    EXPECT_EQ(machine->CallCount(tw::sim::SimCall::GetDriveTypeA, 'C'), 1);
}

// --- The capability query ---------------------------------------------------

TEST_F(DiscLibTest, ADvdProfileAsksForThePhysicalFormatBeforeThePage) {
    drive.replies[0x46] = ProfileReply(0x0010);
    drive.replies[0x5A] = PageReply(0x3F, 0x37);
    EXPECT_EQ(Capabilities(),
              "Read CD-R\r\nRead CD-RW\r\nRead Method 2\r\nRead DVD-ROM\r\nRead DVD-R / DVD-RW\r\nRead DVD-RAM\r\n"
              "Write CD-R\r\nWrite CD-RW\r\nWrite Test\r\nWrite DVD-R / DVD-RW\r\nWrite DVD-RAM\r\n"
              "Device Buffer: 2048k\r\nMax Read Speed: 40x\r\nMax Write Speed: 16x");
    EXPECT_EQ(drive.Opcodes(), (std::vector<std::uint8_t>{0x00, 0x46, 0xAD, 0x5A}));
}

TEST_F(DiscLibTest, EveryDvdProfileAndNoOtherAsksForThePhysicalFormat) {
    for (std::uint16_t profile :
         {0x0008, 0x0009, 0x000A, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x001A, 0x001B, 0x0020, 0x0000, 0xFFFF}) {
        SCOPED_TRACE(profile);
        drive.requests.clear();
        drive.replies[0x46] = ProfileReply(profile);
        Capabilities();
        const bool dvd = profile >= 0x0010 && profile <= 0x001B;
        EXPECT_EQ(drive.Opcodes(), dvd ? (std::vector<std::uint8_t>{0x00, 0x46, 0xAD, 0x5A})
                                       : (std::vector<std::uint8_t>{0x00, 0x46, 0x5A}));
    }
}

TEST_F(DiscLibTest, AProfileOutsideTheTableLeavesTheTextAsItWas) {
    drive.replies[0x46] = ProfileReply(0x0006);
    EXPECT_EQ(Capabilities(), "before");
    EXPECT_EQ(drive.Opcodes(), (std::vector<std::uint8_t>{0x00, 0x46}));
}

TEST_F(DiscLibTest, AFailedConfigurationQueryLeavesTheTextAsItWas) {
    drive.failing = {0x46};
    EXPECT_EQ(Capabilities(), "before");
}

TEST_F(DiscLibTest, AFailedPageStillGivesTheTextOfAZeroedPage) {
    drive.replies[0x46] = ProfileReply(0x0008);
    drive.replies[0x5A] = PageReply(0x3F, 0x37);
    drive.failing = {0x5A};
    EXPECT_EQ(Capabilities(), "\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x");
}

TEST_F(DiscLibTest, ADoneCommandIsReadWhateverTheDriveWrote) {
    // Status, sense and bytes returned are not consulted: a reply of only
    // the header reads its missing bytes as the zeroes they were set to.
    drive.replies[0x46] = ProfileReply(0x0008);
    drive.replies[0x5A] = Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02};
    EXPECT_EQ(Capabilities(), "\r\nRead CD-RW\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x");
}

TEST_F(DiscLibTest, TheWaitPausesPumpsAndAsksUpToTenTimes) {
    drive.notReadyAttempts = 9;
    drive.replies[0x46] = ProfileReply(0x0008);
    drive.replies[0x5A] = PageReply(0x01, 0x00);
    EXPECT_EQ(Capabilities(), "Read CD-R\r\nDevice Buffer: 2048k\r\nMax Read Speed: 40x\r\nMax Write Speed: 16x");
    EXPECT_EQ(pump.passes, 10);
    EXPECT_EQ(drive.sleeps, std::vector<DWORD>(10, 100));
    const std::vector<std::string> attempt = {"sleep", "pump", "scsi 0"};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(std::equal(attempt.begin(), attempt.end(), drive.events.begin() + 3 * i)) << i;
    }
    EXPECT_EQ(drive.events[30], "scsi 70");
}

TEST_F(DiscLibTest, ADriveThatIsNeverReadyIsGivenUpAfterTenAttempts) {
    drive.notReadyAttempts = 10;
    drive.replies[0x46] = ProfileReply(0x0008);
    EXPECT_EQ(Capabilities(), "before");
    EXPECT_EQ(pump.passes, 10);
    EXPECT_EQ(drive.Opcodes(), std::vector<std::uint8_t>(10, 0x00));
}

TEST_F(DiscLibTest, AnInvalidHandleAsksNothing) {
    TISODiscLib lib = Lib();
    std::string text = "before";
    lib.GetDriveCapabilities(INVALID_HANDLE_VALUE, text);
    EXPECT_EQ(text, "before");
    EXPECT_TRUE(drive.requests.empty());
    EXPECT_EQ(pump.passes, 0);
}

TEST_F(DiscLibTest, ABufferTooSmallForTheReplyIsNeverHandedToTheDrive) {
    drive.replies[0x12] = Bytes(100, 'x');
    TISODiscLib lib = Lib();
    const HANDLE h = lib.OpenDrive('E');
    Bytes small(99, 0);
    EXPECT_FALSE(tw::optical::SendScsiCommand(drive, h, tw::optical::InquiryCommand(), small));
    EXPECT_TRUE(drive.requests.empty());
    std::array<std::uint8_t, 100> reply{};
    EXPECT_TRUE(tw::optical::Inquiry(drive, h, reply));
    EXPECT_EQ(reply[99], 'x');
    EXPECT_TRUE(lib.CloseDrive(h));
}

// --- Who may send pass-through ---------------------------------------------

TEST_F(DiscLibTest, AnAdministratorOnNtMayOpenDrives) {
    TISODiscLib lib = Lib();
    EXPECT_TRUE(lib.PassThroughAllowed());
    EXPECT_EQ(lib.GetWindowsVersion(), 5);
}

TEST_F(DiscLibTest, WithoutPermissionNothingIsOpenedOrAsked) {
    struct Case {
        const char* version;
        bool administrator;
        bool tokenAsked;
    };
    const Case cases[] = {
        {R"({"major": 4, "minor": 10, "platform_id": 1})", true, false},  // Windows 98
        {R"({"major": 3, "minor": 51, "platform_id": 2})", true, false},  // NT 3.51
        {R"({"major": 5, "minor": 0, "platform_id": 2})", false, true},   // 2000, ordinary user
        {R"({"major": 6, "minor": 1, "platform_id": 2})", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        machine = tw::sim::Machine::FromJsonText(
            std::string(R"({"drives": {"E": {"type": "DRIVE_CDROM"}}, "version": )") + c.version + "}", "gate.json");
        token.calls.clear();
        token.groups = c.administrator ? std::vector<TokenGroup>{{kAdministrators, 0}} : std::vector<TokenGroup>{};
        drive.replies[0x46] = ProfileReply(0x0008);
        TISODiscLib lib = Lib();
        EXPECT_FALSE(lib.PassThroughAllowed());
        EXPECT_EQ(!token.calls.empty(), c.tokenAsked);
        EXPECT_EQ(lib.OpenDrive('E'), INVALID_HANDLE_VALUE);
        const HANDLE h = lib.OpenCDDrive('E');
        EXPECT_EQ(h, INVALID_HANDLE_VALUE);
        std::string text = "before";
        lib.GetDriveCapabilities(h, text);
        EXPECT_EQ(text, "before");
        EXPECT_TRUE(drive.opens.empty());
        EXPECT_EQ(machine->CallCount(tw::sim::SimCall::GetDriveTypeA, 'E'), 0);
    }
}

// --- The administrator test -------------------------------------------------

TEST_F(DiscLibTest, TheThreadTokenIsAskedFirst) {
    token.threadTokenError = ERROR_SUCCESS;
    token.processToken = false;
    EXPECT_TRUE(Lib().IsAdministrator());
    EXPECT_EQ(std::count(token.calls.begin(), token.calls.end(), "OpenProcessToken"), 0);
}

TEST_F(DiscLibTest, WithoutAThreadTokenTheProcessTokenDecides) {
    token.threadTokenError = ERROR_NO_TOKEN;
    EXPECT_TRUE(Lib().IsAdministrator());
    token.groups = {{kUsers, 7}};
    EXPECT_FALSE(Lib().IsAdministrator());
    token.processToken = false;
    EXPECT_FALSE(Lib().IsAdministrator());
}

TEST_F(DiscLibTest, AThreadTokenThatFailsOtherwiseMeansNoAdministrator) {
    token.threadTokenError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(Lib().IsAdministrator());
    EXPECT_EQ(std::count(token.calls.begin(), token.calls.end(), "OpenProcessToken"), 0);
}

TEST_F(DiscLibTest, AnyMembershipCountsEvenDenyOnly) {
    token.groups = {{kUsers, 7}, {kAdministrators, 0x10}};  // SE_GROUP_USE_FOR_DENY_ONLY
    EXPECT_TRUE(Lib().IsAdministrator());
    token.groups = {};
    EXPECT_FALSE(Lib().IsAdministrator());
}

// Domain tokens can carry hundreds of groups: an administrator whose list
// needs far more than 1024 bytes is still an administrator.
TEST_F(DiscLibTest, AGroupListOverOneKilobyteIsReadWhole) {
    token.groups.clear();
    for (DWORD rid = 0; rid < 150; ++rid) token.groups.push_back({Sid({21, 1000, 2000, 3000, 5000 + rid}), 7});
    token.groups.push_back({kAdministrators, 0x0F});
    ASSERT_GT(TokenGroupsSize(token.groups), 1024u);
    EXPECT_TRUE(Lib().IsAdministrator());
    EXPECT_TRUE(Lib().PassThroughAllowed());
}

}  // namespace

// --- Against the simulated machine ------------------------------------------

namespace {
namespace simulated {

std::unique_ptr<tw::sim::Machine> Example(const std::string& name) {
    return tw::sim::Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/" + name);
}

struct Pump : MessagePump {
    void ProcessMessages() override { ++passes; }
    int passes = 0;
};

std::vector<std::uint8_t> Opcodes(const tw::sim::Machine& m) {
    std::vector<std::uint8_t> ops;
    for (const auto& r : m.DeviceRequests()) ops.push_back(r.cdb.empty() ? 0xFF : r.cdb[0]);
    return ops;
}

// A drive still spinning up answers TEST UNIT READY with CHECK CONDITION in a
// request that is done, and that ends the wait.
TEST(DiscLibOnAMachine, ADvdWriterStillBecomingReadyIsAskedAfterOneWait) {
    auto m = Example("dvd-workstation.json");
    Pump pump;
    std::string text;
    {
        TISODiscLib lib(*m, pump);
        const HANDLE h = lib.OpenCDDrive('E');
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        lib.GetDriveCapabilities(h, text);
        EXPECT_TRUE(lib.CloseDrive(h));
    }
    EXPECT_EQ(text,
              "Read CD-R\r\nRead CD-RW\r\nRead Method 2\r\nRead DVD-ROM\r\nRead DVD-R / DVD-RW\r\nRead DVD-RAM\r\n"
              "Write CD-R\r\nWrite CD-RW\r\nWrite Test\r\nWrite DVD-R / DVD-RW\r\nWrite DVD-RAM\r\n"
              "Device Buffer: 2048k\r\nMax Read Speed: 40x\r\nMax Write Speed: 16x");
    EXPECT_EQ(Opcodes(*m), (std::vector<std::uint8_t>{0x00, 0x46, 0xAD, 0x5A}));
    EXPECT_EQ(pump.passes, 1);
    EXPECT_EQ(m->SleptMilliseconds(), 100u);
    // Every request is the whole record, sent on the drive's volume path.
    for (const auto& r : m->DeviceRequests()) {
        EXPECT_EQ(r.path, "\\\\.\\E:");
        EXPECT_EQ(r.code, IOCTL_SCSI_PASS_THROUGH_DIRECT);
        EXPECT_EQ(r.input.size(), kPassThrough.recordSize);
        EXPECT_EQ(r.outputSize, kPassThrough.recordSize);
    }
    ASSERT_EQ(m->DeviceRequests().size(), 4u);
    EXPECT_EQ(m->DeviceRequests()[1].cdb, (Bytes{0x46, 0x02, 0, 0, 0, 0, 0, 0x00, 0x72, 0}));
    EXPECT_EQ(m->DeviceRequests()[2].cdb, (Bytes{0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x15}));
    EXPECT_EQ(m->DeviceRequests()[3].cdb, (Bytes{0x5A, 0, 0xAA, 0, 0, 0, 0, 0x01, 0xB8, 0}));
    EXPECT_EQ(m->OpenHandleCount(), 0);
    EXPECT_EQ(m->OpenSidCount(), 0);
}

// Without a disc every command is still done: the drive has no current
// profile, so no DVD structure is asked, and its page is read as with one.
TEST(DiscLibOnAMachine, AnEmptyCdRomDriveShowsItsCapabilitiesAfterOneWait) {
    auto m = Example("empty-cdrom.json");
    Pump pump;
    std::string text = "before";
    {
        TISODiscLib lib(*m, pump);
        ASSERT_TRUE(lib.PassThroughAllowed());
        const HANDLE h = lib.OpenCDDrive('D');
        lib.GetDriveCapabilities(h, text);
        lib.CloseDrive(h);
    }
    EXPECT_EQ(text, "Read CD-R\r\nRead CD-RW\r\nDevice Buffer: 128k\r\nMax Read Speed: 48x\r\nMax Write Speed: 0x");
    EXPECT_EQ(Opcodes(*m), (std::vector<std::uint8_t>{0x00, 0x46, 0x5A}));
    EXPECT_EQ(pump.passes, 1);
    EXPECT_EQ(m->SleptMilliseconds(), 100u);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(DiscLibOnAMachine, TheTokenDecidesWhetherDrivesAreOpened) {
    using Admin = tw::sim::SimToken::Admin;
    struct Case {
        Admin administrator;
        int extraGroups;
        bool allowed;
    };
    // Two hundred domain groups take the list far past 1024 bytes.
    const Case cases[] = {
        {Admin::kYes, 0, true},        {Admin::kYes, 200, true}, {Admin::kDenyOnly, 0, true},
        {Admin::kDenyOnly, 200, true}, {Admin::kNo, 0, false},   {Admin::kNo, 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.administrator) << " " << c.extraGroups);
        auto m = Example("dvd-workstation.json");
        m->Token().administrator = c.administrator;
        m->Token().extraGroups = c.extraGroups;
        Pump pump;
        TISODiscLib lib(*m, pump);
        EXPECT_EQ(lib.PassThroughAllowed(), c.allowed);
        const HANDLE h = lib.OpenCDDrive('E');
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.allowed);
        if (h != INVALID_HANDLE_VALUE) lib.CloseDrive(h);
        EXPECT_EQ(m->DeviceOpens().size(), c.allowed ? 1u : 0u);
        EXPECT_EQ(m->OpenHandleCount(), 0);
        EXPECT_EQ(m->OpenSidCount(), 0);
    }
}

}  // namespace simulated
}  // namespace
