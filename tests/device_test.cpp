// The simulated machine's devices, token and MCI device: they answer the way
// Windows does (opens, sharing, request checks, reply lengths, last errors),
// answer SCSI commands from the machine file, and record what was asked.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "test_support.h"

using namespace tw::platform;
using tw::sim::Machine;
using tw::sim::MachineFormatError;

namespace {

// E: a DVD writer, F: a USB disk, G: a drive refusing opens, H: a CD drive
// another program holds, I: a drive whose pass-through needs an administrator,
// C: a disk without a described device.
const char* const kMachine = R"({
  "drives": {
    "C": {},
    "E": {"type": "DRIVE_CDROM", "device": {
      "scsi": {
        "inquiry": {"vendor": "TARNWELL", "product": "DVD-RW TW-1000", "revision": "1.02", "vendor_specific": "09/14/24"},
        "configuration": {"current_profile": "0011", "profiles": ["0011", "0010", "0008"]},
        "capabilities": {"read": "3F", "write": "37", "buffer_kb": 2048, "max_read_speed": 7056, "max_write_speed": 2822},
        "not_ready": 3,
        "fail": {"READ_DVD_STRUCTURE": "ERROR_IO_DEVICE"}},
      "storage": {"bus_type": "BusTypeAtapi", "removable_media": true},
      "eject_error": "ERROR_NOT_READY"}},
    "F": {"device": {"storage": {"bus_type": "BusTypeUsb"}}},
    "G": {"type": "DRIVE_CDROM", "device": {"open_error": "ERROR_ACCESS_DENIED"}},
    "H": {"type": "DRIVE_CDROM", "device": {"in_use": true, "scsi": {"configuration": {"current_profile": 8}},
                                             "storage": {"error": "ERROR_NOT_READY"}, "lock_error": 1117}},
    "I": {"type": "DRIVE_CDROM", "device": {"scsi": {"admin_only": true}}}
  },
  "token": {"administrator": false}
})";

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE Open(Machine& m, const char* path, DWORD access = kReadWrite, DWORD share = kShareAll) {
    return m.device().CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
}

PassThroughRequest Command(std::initializer_list<BYTE> cdb, BYTE cdbLength, DWORD length, void* buffer) {
    PassThroughRequest r;
    r.cdbLength = cdbLength;
    r.senseInfoLength = 32;
    r.dataTransferLength = length;
    r.timeOutValue = 120;
    r.dataBuffer = reinterpret_cast<std::uintptr_t>(buffer);
    std::copy(cdb.begin(), cdb.end(), r.cdb.begin());
    return r;
}

struct Sent {
    BOOL ok = FALSE;
    DWORD error = 0;
    DWORD returned = 0;
    PassThroughRecord record{};
};

// Sends the record as input and output, as the program does.
Sent Send(Machine& m, HANDLE h, const PassThroughRecord& record, DWORD inSize = kPassThrough.recordSize,
          DWORD outSize = kPassThrough.recordSize) {
    Sent s;
    s.record = record;
    m.device().SetLastError(0xdeadbeef);
    s.returned = 0xdeadbeef;
    s.ok = m.device().DeviceIoControl(h, IOCTL_SCSI_PASS_THROUGH_DIRECT, s.record.data(), inSize, s.record.data(),
                                      outSize, &s.returned, nullptr);
    s.error = m.device().GetLastError();
    return s;
}

Sent Send(Machine& m, HANDLE h, const PassThroughRequest& request) { return Send(m, h, Encode(request)); }

std::string Text(const std::vector<BYTE>& bytes, std::size_t from, std::size_t count) {
    return std::string(bytes.begin() + from, bytes.begin() + from + count);
}

unsigned Big16(const std::vector<BYTE>& bytes, std::size_t at) { return bytes[at] << 8 | bytes[at + 1]; }

// What a done request says of the drive: its SCSI status, then the sense key,
// code and qualifier of the fixed-format sense data (zero without any).
std::array<int, 4> DriveAnswer(const Sent& s) {
    const auto back = DecodePassThrough(s.record);
    const BYTE* sense = s.record.data() + kPassThrough.sense;
    if (back->senseInfoLength == 0) return {back->scsiStatus, 0, 0, 0};
    return {back->scsiStatus, sense[2], sense[12], sense[13]};
}
constexpr std::array<int, 4> kGood{0, 0, 0, 0};
constexpr std::array<int, 4> kBecomingReady{2, 0x02, 0x04, 0x01};
constexpr std::array<int, 4> kNoDisc{2, 0x02, 0x3A, 0x00};

}  // namespace

TEST(SimDevice, VolumePathsOpenLikeWindows) {
    auto m = twtest::MachineFromText(kMachine);
    const struct {
        const char* path;
        DWORD error;
    } cases[] = {
        {"\\\\.\\E:", ERROR_SUCCESS},
        {"\\\\.\\e:", ERROR_SUCCESS},
        {"\\\\.\\C:", ERROR_FILE_NOT_FOUND},    // a drive without a described device
        {"\\\\.\\Q:", ERROR_FILE_NOT_FOUND},    // no drive
        {"\\\\.\\E:\\", ERROR_FILE_NOT_FOUND},  // not a volume path
        {"\\\\.\\PhysicalDrive0", ERROR_FILE_NOT_FOUND},
        {"\\\\.\\G:", ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        m->device().SetLastError(0xdeadbeef);
        const HANDLE h = Open(*m, c.path);
        EXPECT_EQ(h == INVALID_HANDLE_VALUE, c.error != ERROR_SUCCESS) << c.path;
        EXPECT_EQ(m->device().GetLastError(), c.error) << c.path;
        if (h != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(m->device().CloseHandle(h));
        }
    }
    // Every open is recorded as asked, failed ones too.
    ASSERT_EQ(m->DeviceOpens().size(), std::size(cases));
    EXPECT_EQ(m->DeviceOpens()[1].path, "\\\\.\\e:");
    EXPECT_EQ(m->DeviceOpens()[1].access, kReadWrite);
    EXPECT_EQ(m->DeviceOpens()[1].share, kShareAll);
    EXPECT_EQ(m->DeviceOpens()[1].disposition, OPEN_EXISTING);
    EXPECT_EQ(m->DeviceOpens()[1].flags, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(m->DeviceOpens()[6].error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(SimDevice, ExclusiveOpensAndSharedOpensExcludeEachOther) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE shared = Open(*m, "\\\\.\\E:", GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);
    m->device().SetLastError(0);
    EXPECT_EQ(Open(*m, "\\\\.\\E:", GENERIC_READ, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m->device().GetLastError(), ERROR_SHARING_VIOLATION);
    // Another drive is not affected; a query-only open conflicts with nothing.
    const HANDLE other = Open(*m, "\\\\.\\F:", GENERIC_READ, 0);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    const HANDLE query = Open(*m, "\\\\.\\E:", 0, 0);
    EXPECT_NE(query, INVALID_HANDLE_VALUE);
    EXPECT_EQ(m->OpenHandleCount(), 3);

    EXPECT_TRUE(m->kernel().CloseHandle(shared));  // one handle space
    const HANDLE exclusive = Open(*m, "\\\\.\\E:", GENERIC_READ, 0);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    m->device().SetLastError(0);
    EXPECT_EQ(Open(*m, "\\\\.\\E:", kReadWrite, kShareAll), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m->device().GetLastError(), ERROR_SHARING_VIOLATION);

    for (HANDLE h : {exclusive, other, query}) EXPECT_TRUE(m->device().CloseHandle(h));
    EXPECT_EQ(m->OpenHandleCount(), 0);
    EXPECT_FALSE(m->device().CloseHandle(exclusive));
    EXPECT_EQ(m->device().GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SimDevice, ADeviceAnotherProgramHoldsRefusesOnlyExclusiveOpens) {
    auto m = twtest::MachineFromText(kMachine);
    m->device().SetLastError(0);
    EXPECT_EQ(Open(*m, "\\\\.\\H:", GENERIC_READ, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m->device().GetLastError(), ERROR_SHARING_VIOLATION);
    const HANDLE h = Open(*m, "\\\\.\\H:");
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    m->device().CloseHandle(h);
}

TEST(SimScsi, InquiryAnswersFromTheFieldsWithinTheTransferLength) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE h = Open(*m, "\\\\.\\E:");
    for (DWORD length : {100u, 20u}) {
        std::vector<BYTE> reply(128, 0xCC);
        const Sent s = Send(*m, h, Command({0x12, 0, 0, 0, 100}, 6, length, reply.data()));
        ASSERT_TRUE(s.ok) << s.error;
        EXPECT_EQ(s.returned, kPassThrough.directSize);
        const auto back = DecodePassThrough(s.record);
        EXPECT_EQ(back->scsiStatus, 0);
        EXPECT_EQ(back->dataTransferLength, std::min<DWORD>(length, 96));
        // Nothing past the transfer length is written.
        for (std::size_t i = std::min<DWORD>(length, 96); i < reply.size(); ++i) ASSERT_EQ(reply[i], 0xCC) << i;
        if (length == 100) {
            EXPECT_EQ(reply[0], 0x05);
            EXPECT_EQ(Text(reply, 8, 28), "TARNWELLDVD-RW TW-1000  1.02");
            EXPECT_EQ(Text(reply, 36, 20), "09/14/24            ");
            EXPECT_EQ(reply[56], 0);
        }
    }
    m->device().CloseHandle(h);
}

TEST(SimScsi, ConfigurationCapabilitiesAndDvdStructureReplies) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE h = Open(*m, "\\\\.\\E:");
    std::vector<BYTE> config(114, 0);
    ASSERT_TRUE(Send(*m, h, Command({0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72}, 10, 114, config.data())).ok);
    EXPECT_EQ(Big16(config, 6), 0x0011u);
    EXPECT_EQ(config[11], 12);  // three profiles
    EXPECT_EQ(Big16(config, 12), 0x0011u);
    EXPECT_EQ(config[14], 1);  // current

    std::vector<BYTE> page(440, 0);
    ASSERT_TRUE(Send(*m, h, Command({0x5A, 0, 0xAA, 0, 0, 0, 0, 0x01, 0xB8}, 10, 440, page.data())).ok);
    EXPECT_EQ(page[8], 0x2A);
    EXPECT_EQ(page[10], 0x3F);
    EXPECT_EQ(page[11], 0x37);
    EXPECT_EQ(Big16(page, 16), 7056u);
    EXPECT_EQ(Big16(page, 20), 2048u);
    EXPECT_EQ(Big16(page, 26), 2822u);

    // The file fails READ DVD STRUCTURE on this drive.
    std::vector<BYTE> dvd(21, 0);
    const Sent failed = Send(*m, h, Command({0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 0x15}, 10, 21, dvd.data()));
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, ERROR_IO_DEVICE);
    m->device().CloseHandle(h);
}

TEST(SimScsi, ACommandWithoutAReplyEndsInCheckCondition) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE h = Open(*m, "\\\\.\\H:");  // a CD in the drive: no DVD structure
    std::vector<BYTE> dvd(21, 0xCC);
    const Sent s = Send(*m, h, Command({0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 0x15}, 10, 21, dvd.data()));
    ASSERT_TRUE(s.ok);  // the request is done; the drive reports the error
    const auto back = DecodePassThrough(s.record);
    EXPECT_EQ(back->scsiStatus, 2);
    EXPECT_EQ(back->dataTransferLength, 0u);
    EXPECT_EQ(back->senseInfoLength, 18);
    EXPECT_EQ(s.record[kPassThrough.sense + 2], 0x05);   // ILLEGAL REQUEST
    EXPECT_EQ(s.record[kPassThrough.sense + 12], 0x30);  // incompatible medium
    EXPECT_EQ(s.returned, kPassThrough.sense + 18);
    EXPECT_EQ(dvd, std::vector<BYTE>(21, 0xCC));
    m->device().CloseHandle(h);
}

TEST(SimScsi, TestUnitReadyIsDoneSayingBecomingReadyForTheNotReadyAttemptsThenGood) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE h = Open(*m, "\\\\.\\E:");
    for (int attempt = 1; attempt <= 4; ++attempt) {
        const Sent s = Send(*m, h, Command({0x00}, 6, 0, nullptr));
        ASSERT_TRUE(s.ok) << "attempt " << attempt;
        EXPECT_EQ(DriveAnswer(s), attempt == 4 ? kGood : kBecomingReady) << "attempt " << attempt;
    }
    m->device().CloseHandle(h);
}

TEST(SimScsi, MalformedRecordsAreRefusedLikeThePortDriver) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE h = Open(*m, "\\\\.\\E:");
    std::vector<BYTE> reply(100);
    const PassThroughRequest good = Command({0x12, 0, 0, 0, 100}, 6, 100, reply.data());
    auto with = [&](auto change) {
        PassThroughRequest r = good;
        change(r);
        return Encode(r);
    };
    const DWORD direct = static_cast<DWORD>(kPassThrough.directSize);
    const struct {
        const char* what;
        PassThroughRecord record;
        DWORD inSize, outSize;
    } cases[] = {
        {"wrong Length", with([](auto& r) { r.length = 44 + 12 * (sizeof(void*) == 4); }), 80, 80},
        {"short input", Encode(good), direct - 1, kPassThrough.recordSize},
        {"short output", Encode(good), kPassThrough.recordSize, direct - 1},
        {"no CDB", with([](auto& r) { r.cdbLength = 0; }), kPassThrough.recordSize, kPassThrough.recordSize},
        {"CDB too long", with([](auto& r) { r.cdbLength = 17; }), kPassThrough.recordSize, kPassThrough.recordSize},
        {"no data buffer", with([](auto& r) { r.dataBuffer = 0; }), kPassThrough.recordSize, kPassThrough.recordSize},
        {"sense beyond the output", Encode(good), kPassThrough.recordSize, DWORD(kPassThrough.sense + 31)},
    };
    for (const auto& c : cases) {
        const Sent s = Send(*m, h, c.record, c.inSize, c.outSize);
        EXPECT_FALSE(s.ok) << c.what;
        EXPECT_EQ(s.error, ERROR_INVALID_PARAMETER) << c.what;
    }
    // The same request whole is answered.
    EXPECT_TRUE(Send(*m, h, good).ok);
    m->device().CloseHandle(h);
}

TEST(SimScsi, PassThroughNeedsReadAndWriteAccessAndMayNeedAnAdministrator) {
    auto m = twtest::MachineFromText(kMachine);
    std::vector<BYTE> reply(100);
    const PassThroughRequest inquiry = Command({0x12, 0, 0, 0, 100}, 6, 100, reply.data());
    const HANDLE readOnly = Open(*m, "\\\\.\\E:", GENERIC_READ);
    EXPECT_EQ(Send(*m, readOnly, inquiry).error, ERROR_ACCESS_DENIED);
    const HANDLE gated = Open(*m, "\\\\.\\I:");
    EXPECT_EQ(Send(*m, gated, inquiry).error, ERROR_ACCESS_DENIED);
    m->Token().administrator = tw::sim::SimToken::Admin::kYes;
    EXPECT_TRUE(Send(*m, gated, inquiry).ok);
    m->device().CloseHandle(readOnly);
    m->device().CloseHandle(gated);
}

TEST(SimDevice, RequestsAreRecordedInOrderWithTheirBytes) {
    auto m = twtest::MachineFromText(kMachine);
    const HANDLE h = Open(*m, "\\\\.\\e:");
    std::vector<BYTE> reply(114);
    const PassThroughRecord record = Encode(Command({0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72}, 10, 114, reply.data()));
    Send(*m, h, record);
    const auto query = Encode(StoragePropertyQuery{});
    auto descriptor = NewDeviceDescriptorBuffer();
    DWORD returned = 0;
    m->device().DeviceIoControl(h, IOCTL_STORAGE_QUERY_PROPERTY, query.data(), 12, descriptor.data(), 548, &returned,
                                nullptr);
    const auto lock = EncodePreventMediaRemoval(true);
    m->device().DeviceIoControl(h, IOCTL_STORAGE_MEDIA_REMOVAL, lock.data(), 1, nullptr, 0, &returned, nullptr);
    m->device().DeviceIoControl(h, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &returned, nullptr);
    m->device().CloseHandle(h);

    const auto& log = m->DeviceRequests();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].path, "\\\\.\\e:");
    EXPECT_EQ(log[0].code, IOCTL_SCSI_PASS_THROUGH_DIRECT);
    EXPECT_EQ(log[0].input, std::vector<BYTE>(record.begin(), record.end()));
    EXPECT_EQ(log[0].outputSize, kPassThrough.recordSize);
    EXPECT_EQ(log[0].cdb, (std::vector<BYTE>{0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72, 0}));
    EXPECT_EQ(log[1].code, IOCTL_STORAGE_QUERY_PROPERTY);
    EXPECT_EQ(log[1].input, std::vector<BYTE>(12, 0));
    EXPECT_TRUE(log[1].cdb.empty());
    EXPECT_EQ(log[2].code, IOCTL_STORAGE_MEDIA_REMOVAL);
    EXPECT_EQ(log[2].input, std::vector<BYTE>{1});
    EXPECT_EQ(log[3].code, IOCTL_STORAGE_EJECT_MEDIA);
    EXPECT_TRUE(log[3].input.empty());
}

TEST(SimDevice, StoragePropertyQueryAnswersBusTypeAndRemovableMedia) {
    auto m = twtest::MachineFromText(kMachine);
    const auto query = Encode(StoragePropertyQuery{});
    const struct {
        const char* path;
        DWORD error;
        DWORD busType;
        bool removable;
    } cases[] = {
        {"\\\\.\\E:", ERROR_SUCCESS, BusTypeAtapi, true},
        {"\\\\.\\F:", ERROR_SUCCESS, BusTypeUsb, false},
        {"\\\\.\\H:", ERROR_NOT_READY, 0, false},
        {"\\\\.\\I:", ERROR_INVALID_FUNCTION, 0, false},  // no storage answer described
    };
    for (const auto& c : cases) {
        const HANDLE h = Open(*m, c.path, 0);  // the query needs no data access
        auto buffer = NewDeviceDescriptorBuffer();
        std::fill(buffer.begin() + 8, buffer.end(), BYTE{0xCC});
        DWORD returned = 0xdeadbeef;
        m->device().SetLastError(0xdeadbeef);
        const BOOL ok = m->device().DeviceIoControl(h, IOCTL_STORAGE_QUERY_PROPERTY, query.data(), 12, buffer.data(),
                                                    548, &returned, nullptr);
        EXPECT_EQ(m->device().GetLastError(), c.error) << c.path;
        if (c.error == ERROR_SUCCESS) {
            ASSERT_TRUE(ok);
            const auto d = DecodeDeviceDescriptor(buffer);
            EXPECT_EQ(d->busType, c.busType) << c.path;
            EXPECT_EQ(d->removableMedia, c.removable) << c.path;
            EXPECT_EQ(returned, 40u);
            EXPECT_EQ(buffer[40], 0xCC);  // the reply's end
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(returned, 0u);
        }
        m->device().CloseHandle(h);
    }
}

TEST(SimDevice, EjectLoadAndLockOutcomes) {
    auto m = twtest::MachineFromText(kMachine);
    DWORD returned = 0;
    auto request = [&](HANDLE h, DWORD code, std::optional<bool> lock = std::nullopt) {
        const auto byte = EncodePreventMediaRemoval(lock.value_or(false));
        m->device().SetLastError(0xdeadbeef);
        const BOOL ok = m->device().DeviceIoControl(h, code, lock ? byte.data() : nullptr, lock ? 1 : 0, nullptr, 0,
                                                    &returned, nullptr);
        return ok ? ERROR_SUCCESS : m->device().GetLastError();
    };
    const HANDLE e = Open(*m, "\\\\.\\E:", GENERIC_READ, 0);
    EXPECT_EQ(request(e, IOCTL_STORAGE_EJECT_MEDIA), ERROR_NOT_READY);
    EXPECT_EQ(request(e, IOCTL_STORAGE_LOAD_MEDIA), ERROR_SUCCESS);
    EXPECT_EQ(request(e, IOCTL_STORAGE_MEDIA_REMOVAL), ERROR_INVALID_PARAMETER);  // no byte
    EXPECT_EQ(request(e, IOCTL_STORAGE_MEDIA_REMOVAL, true), ERROR_SUCCESS);
    EXPECT_TRUE(m->MediaLocked('E'));
    EXPECT_EQ(request(e, IOCTL_STORAGE_MEDIA_REMOVAL, false), ERROR_SUCCESS);
    EXPECT_FALSE(m->MediaLocked('E'));
    // Media-removal locks are the device's: counted, kept when the handle
    // closes, and released by any handle; an unlock at zero is ignored.
    EXPECT_EQ(request(e, IOCTL_STORAGE_MEDIA_REMOVAL, true), ERROR_SUCCESS);
    EXPECT_EQ(request(e, IOCTL_STORAGE_MEDIA_REMOVAL, true), ERROR_SUCCESS);
    m->device().CloseHandle(e);
    EXPECT_TRUE(m->MediaLocked('E'));
    const HANDLE other = Open(*m, "\\\\.\\E:", GENERIC_READ, 0);
    EXPECT_EQ(request(other, IOCTL_STORAGE_MEDIA_REMOVAL, false), ERROR_SUCCESS);
    EXPECT_TRUE(m->MediaLocked('E'));
    EXPECT_EQ(request(other, IOCTL_STORAGE_MEDIA_REMOVAL, false), ERROR_SUCCESS);
    EXPECT_FALSE(m->MediaLocked('E'));
    EXPECT_EQ(request(other, IOCTL_STORAGE_MEDIA_REMOVAL, false), ERROR_SUCCESS);
    // Ejection-control locks are the handle's: another handle cannot release
    // them, and they go when their handle closes.
    EXPECT_EQ(request(other, IOCTL_STORAGE_EJECTION_CONTROL, true), ERROR_SUCCESS);
    const HANDLE third = Open(*m, "\\\\.\\E:", 0, FILE_SHARE_READ);
    EXPECT_EQ(request(third, IOCTL_STORAGE_EJECTION_CONTROL, false), ERROR_SUCCESS);
    EXPECT_TRUE(m->MediaLocked('E'));
    m->device().CloseHandle(other);
    EXPECT_FALSE(m->MediaLocked('E'));
    m->device().CloseHandle(third);

    const HANDLE h = Open(*m, "\\\\.\\H:");
    EXPECT_EQ(request(h, IOCTL_STORAGE_MEDIA_REMOVAL, true), ERROR_IO_DEVICE);
    EXPECT_FALSE(m->MediaLocked('H'));
    EXPECT_EQ(request(h, 0x00070000), ERROR_INVALID_FUNCTION);  // a request the drive does not know
    m->device().CloseHandle(h);
    // Storage requests need read access to the handle.
    const HANDLE query = Open(*m, "\\\\.\\E:", 0);
    EXPECT_EQ(request(query, IOCTL_STORAGE_LOAD_MEDIA), ERROR_ACCESS_DENIED);
    m->device().CloseHandle(query);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(SimToken, TheProcessTokenAnswersTheGroupListLikeWindows) {
    for (int extra : {0, 30}) {
        for (auto admin :
             {tw::sim::SimToken::Admin::kYes, tw::sim::SimToken::Admin::kNo, tw::sim::SimToken::Admin::kDenyOnly}) {
            auto m = twtest::MachineFromText("{}");
            m->Token().extraGroups = extra;
            m->Token().administrator = admin;
            Security& s = m->security();
            HANDLE token = 0;
            EXPECT_FALSE(s.OpenThreadToken(s.GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
            EXPECT_EQ(s.GetLastError(), ERROR_NO_TOKEN);
            ASSERT_TRUE(s.OpenProcessToken(s.GetCurrentProcess(), TOKEN_QUERY, &token));
            EXPECT_EQ(m->OpenHandleCount(), 1);

            DWORD needed = 0;
            EXPECT_FALSE(s.GetTokenInformation(token, TokenGroups, nullptr, 0, &needed));
            EXPECT_EQ(s.GetLastError(), ERROR_INSUFFICIENT_BUFFER);
            EXPECT_EQ(needed > 1024, extra == 30) << needed;
            std::vector<BYTE> buffer(needed + 16, 0xCC);
            DWORD got = 0;
            EXPECT_FALSE(s.GetTokenInformation(token, TokenGroups, buffer.data(), needed - 1, &got));
            EXPECT_EQ(got, needed);
            EXPECT_EQ(buffer[0], 0xCC);  // nothing written to a buffer too small
            ASSERT_TRUE(s.GetTokenInformation(token, TokenGroups, buffer.data(), needed, &got));
            EXPECT_EQ(buffer[needed], 0xCC);
            EXPECT_TRUE(s.CloseHandle(token));

            PSID admins = nullptr;
            ASSERT_TRUE(s.AllocateAndInitializeSid(&SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                                   DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins));
            const auto groups = DecodeTokenGroups(std::span(buffer).first(needed));
            ASSERT_TRUE(groups.has_value());
            EXPECT_EQ(groups->size(), 6u + extra + (admin != tw::sim::SimToken::Admin::kNo));
            std::optional<DWORD> adminAttributes;
            for (const auto& g : *groups) {
                if (s.EqualSid(reinterpret_cast<PSID>(g.sid), admins)) adminAttributes = g.attributes;
            }
            EXPECT_EQ(adminAttributes.has_value(), admin != tw::sim::SimToken::Admin::kNo);
            if (admin == tw::sim::SimToken::Admin::kDenyOnly) {
                EXPECT_EQ(adminAttributes, 0x10u);
            }
            EXPECT_EQ(m->OpenSidCount(), 1);
            EXPECT_EQ(s.FreeSid(admins), nullptr);
            EXPECT_EQ(m->OpenSidCount(), 0);
            EXPECT_EQ(m->OpenHandleCount(), 0);
        }
    }
}

TEST(SimToken, AnImpersonatingThreadHasItsOwnToken) {
    auto m = twtest::MachineFromText(R"({"token": {"thread_token": true}})");
    HANDLE token = 0;
    ASSERT_TRUE(m->security().OpenThreadToken(m->security().GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    EXPECT_EQ(m->OpenHandleCount(), 1);
    EXPECT_TRUE(m->kernel().CloseHandle(token));
    auto refused = twtest::MachineFromText(R"({"token": {"open_error": "ERROR_ACCESS_DENIED"}})");
    EXPECT_FALSE(refused->security().OpenProcessToken(refused->security().GetCurrentProcess(), TOKEN_QUERY, &token));
    EXPECT_EQ(refused->security().GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(SimMci, CallsAreRecordedAndTheDoorSequenceAnswers) {
    auto m = twtest::MachineFromText(kMachine);
    Multimedia& mci = m->multimedia();
    EXPECT_EQ(mci.mciSendStringA("Set cdaudio door open wait", nullptr, 0, 0x1234), 0u);

    MCI_OPEN_PARMSA parms;
    parms.lpstrDeviceType = "CDAudio";
    parms.lpstrElementName = "E:";
    ASSERT_EQ(mci.mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &parms), 0u);
    EXPECT_NE(parms.wDeviceID, 0u);
    EXPECT_EQ(m->OpenMciDeviceCount(), 1);
    EXPECT_EQ(mci.mciSendCommandA(parms.wDeviceID, MCI_SET, MCI_SET_DOOR_OPEN, nullptr), 0u);
    EXPECT_EQ(mci.mciSendCommandA(parms.wDeviceID, MCI_CLOSE, 0x2200, &parms), 0u);
    EXPECT_EQ(m->OpenMciDeviceCount(), 0);
    EXPECT_EQ(mci.mciSendCommandA(parms.wDeviceID, MCI_SET, MCI_SET_DOOR_OPEN, nullptr), MCIERR_INVALID_DEVICE_ID);

    MCI_OPEN_PARMSA disk;
    disk.lpstrDeviceType = "CDAudio";
    disk.lpstrElementName = "F:";  // not a CD drive
    EXPECT_EQ(mci.mciSendCommandA(0, MCI_OPEN, 0x2200, &disk), MCIERR_INVALID_DEVICE_NAME);

    const auto& calls = m->MciCalls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].command, "Set cdaudio door open wait");
    EXPECT_EQ(calls[1].message, MCI_OPEN);
    EXPECT_EQ(calls[1].flags, 0x2200u);
    EXPECT_EQ(calls[1].deviceType, "CDAudio");
    EXPECT_EQ(calls[1].element, "E:");
    EXPECT_EQ(calls[2].message, MCI_SET);
    EXPECT_EQ(calls[2].device, parms.wDeviceID);
    EXPECT_EQ(calls[2].flags, MCI_SET_DOOR_OPEN);
    EXPECT_EQ(calls[5].result, MCIERR_INVALID_DEVICE_NAME);
}

TEST(SimMci, OutcomesComeFromTheMachineFile) {
    auto m = twtest::MachineFromText(R"({"mci": {"string_error": 276, "open_error": 263}})");
    EXPECT_EQ(m->multimedia().mciSendStringA("Set cdaudio door closed wait", nullptr, 0, 0), 276u);
    MCI_OPEN_PARMSA parms;
    EXPECT_EQ(m->multimedia().mciSendCommandA(0, MCI_OPEN, 0x2200, &parms), 263u);
}

TEST(MachineLoader, DeviceDescriptionsAreChecked) {
    const struct {
        const char* json;
        const char* message;
    } cases[] = {
        {R"({"drives": {"E": {"device": {"scsci": {}}}}})", "drives.E.device: unknown field \"scsci\""},
        {R"({"drives": {"E": {"device": {"scsi": {"fail": {"READ_TOC": 21}}}}}})",
         "drives.E.device.scsi.fail: unknown field \"READ_TOC\""},
        {R"({"drives": {"E": {"device": {"scsi": {"inquiry": {"vendor": "TOO LONG A"}}}}}})",
         "drives.E.device.scsi.inquiry: vendor, product, revision and vendor_specific hold at most"},
        {R"({"drives": {"E": {"device": {"scsi": {"inquiry": "12 3"}}}}})",
         "drives.E.device.scsi.inquiry: odd number of hexadecimal digits"},
        {R"({"drives": {"E": {"device": {"storage": {"bus_type": "BusTypeFloppy"}}}}})",
         "drives.E.device.storage.bus_type: unknown name \"BusTypeFloppy\""},
        {R"({"token": {"administrator": "yes"}})", "token.administrator: expected true, false or \"deny_only\""},
        {R"({"mci": {"door": 1}})", "mci: unknown field \"door\""},
    };
    for (const auto& c : cases) {
        try {
            twtest::MachineFromText(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const MachineFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("test.json: ") + c.message), std::string::npos)
                << e.what();
        }
    }
}

TEST(SimScsi, RawRepliesAreSentAsGiven) {
    auto m = twtest::MachineFromText(
        R"({"drives": {"E": {"type": "DRIVE_CDROM", "device": {"scsi": {"inquiry": "05 80 00 32 1F 00 00 00 41 42 00 43"}}}}})");
    const HANDLE h = Open(*m, "\\\\.\\E:");
    std::vector<BYTE> reply(100, 0xCC);
    const Sent s = Send(*m, h, Command({0x12, 0, 0, 0, 100}, 6, 100, reply.data()));
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(DecodePassThrough(s.record)->dataTransferLength, 12u);
    EXPECT_EQ(std::vector<BYTE>(reply.begin(), reply.begin() + 13),
              (std::vector<BYTE>{5, 0x80, 0, 0x32, 0x1F, 0, 0, 0, 'A', 'B', 0, 'C', 0xCC}));
    m->device().CloseHandle(h);
}

TEST(ExampleMachines, DvdWorkstationAnswersItsDrives) {
    auto m = twtest::ExampleMachine("dvd-workstation.json");
    const HANDLE e = Open(*m, "\\\\.\\E:");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        const Sent s = Send(*m, e, Command({0x00}, 6, 0, nullptr));
        ASSERT_TRUE(s.ok) << attempt;
        EXPECT_EQ(DriveAnswer(s), attempt == 3 ? kGood : kBecomingReady) << attempt;
    }
    std::vector<BYTE> config(114, 0);
    ASSERT_TRUE(Send(*m, e, Command({0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72}, 10, 114, config.data())).ok);
    EXPECT_EQ(Big16(config, 6), 0x0011u);
    std::vector<BYTE> dvd(21, 0);
    const Sent structure = Send(*m, e, Command({0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 0x15}, 10, 21, dvd.data()));
    ASSERT_TRUE(structure.ok);
    EXPECT_EQ(DecodePassThrough(structure.record)->scsiStatus, 0);
    EXPECT_EQ(DecodePassThrough(structure.record)->dataTransferLength, 21u);
    m->device().CloseHandle(e);

    const auto query = Encode(StoragePropertyQuery{});
    auto descriptor = NewDeviceDescriptorBuffer();
    DWORD returned = 0;
    const HANDLE f = Open(*m, "\\\\.\\F:", 0);
    ASSERT_TRUE(m->device().DeviceIoControl(f, IOCTL_STORAGE_QUERY_PROPERTY, query.data(), 12, descriptor.data(), 548,
                                            &returned, nullptr));
    EXPECT_EQ(DecodeDeviceDescriptor(descriptor)->busType, BusTypeUsb);
    m->device().CloseHandle(f);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(ExampleMachines, EmptyCdRomDoesEveryRequestAndSaysItHasNoDisc) {
    auto m = twtest::ExampleMachine("empty-cdrom.json");
    const HANDLE d = Open(*m, "\\\\.\\D:");
    for (int attempt = 1; attempt <= 20; ++attempt) {
        const Sent s = Send(*m, d, Command({0x00}, 6, 0, nullptr));
        ASSERT_TRUE(s.ok) << attempt;
        ASSERT_EQ(DriveAnswer(s), kNoDisc) << attempt;
    }
    std::vector<BYTE> config(114, 0xCC);
    const Sent configured = Send(*m, d, Command({0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72}, 10, 114, config.data()));
    ASSERT_TRUE(configured.ok);
    EXPECT_EQ(DriveAnswer(configured), kGood);
    EXPECT_EQ(Big16(config, 6), 0u);  // no current profile
    std::vector<BYTE> page(440, 0);
    const Sent sensed = Send(*m, d, Command({0x5A, 0, 0xAA, 0, 0, 0, 0, 0x01, 0xB8}, 10, 440, page.data()));
    ASSERT_TRUE(sensed.ok);
    EXPECT_EQ(page[8], 0x2A);
    EXPECT_EQ(page[10], 0x03);  // reads CD-R and CD-RW, disc or not
    std::vector<BYTE> dvd(21, 0xCC);
    const Sent structure = Send(*m, d, Command({0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 0x15}, 10, 21, dvd.data()));
    ASSERT_TRUE(structure.ok);
    EXPECT_EQ(DriveAnswer(structure), kNoDisc);
    EXPECT_EQ(dvd, std::vector<BYTE>(21, 0xCC));
    std::vector<BYTE> inquiry(100, 0);
    ASSERT_TRUE(Send(*m, d, Command({0x12, 0, 0, 0, 100}, 6, 100, inquiry.data())).ok);
    EXPECT_EQ(Text(inquiry, 8, 28), "OLDDRIVECD-ROM CR-48X   2.10");
    EXPECT_EQ(inquiry[36], 0);  // no vendor-specific text
    m->device().CloseHandle(d);
}

TEST(SimDevice, AHandleToAnUnpluggedDriveFailsEveryRequestWithTheSystemsError) {
    auto m = twtest::ExampleMachine("dvd-workstation.json");
    const HANDLE e = Open(*m, "\\\\.\\E:");
    tw::sim::FaultRule unplug;
    unplug.call = tw::sim::SimCall::DeviceIoControl;
    unplug.letter = 'E';
    unplug.removeDrive = true;
    m->AddFault(unplug);
    std::vector<BYTE> inquiry(100, 0);
    const Sent asked = Send(*m, e, Command({0x12, 0, 0, 0, 100}, 6, 100, inquiry.data()));
    EXPECT_FALSE(asked.ok);
    EXPECT_EQ(asked.error, ERROR_DEV_NOT_EXIST);
    // The letter names nothing any more, and the path no longer opens.
    EXPECT_EQ(m->kernel().GetDriveTypeA("E:\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(Open(*m, "\\\\.\\E:"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m->device().GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(m->device().CloseHandle(e));
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(SimScsi, ADiscTakenOutLeavesTheDriveWithoutACurrentProfile) {
    auto m = twtest::ExampleMachine("dvd-workstation.json");
    const HANDLE e = Open(*m, "\\\\.\\E:");
    tw::sim::FaultRule removal;
    removal.letter = 'E';
    removal.removeMedium = true;
    m->AddFault(removal);
    EXPECT_EQ(DriveAnswer(Send(*m, e, Command({0x00}, 6, 0, nullptr))), kNoDisc);
    std::vector<BYTE> config(114, 0);
    ASSERT_TRUE(Send(*m, e, Command({0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72}, 10, 114, config.data())).ok);
    EXPECT_EQ(Big16(config, 6), 0u);
    EXPECT_EQ(Big16(config, 12), 0x0014u);  // the profiles stay listed, none flagged current
    for (std::size_t at = 14; at < 12u + config[11]; at += 4) EXPECT_EQ(config[at] & 1, 0) << at;
    m->device().CloseHandle(e);
}
