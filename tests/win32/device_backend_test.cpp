// The device and security calls of the real backend against the system (Wine
// on the development machines), and the byte records against the system's
// own structs: what Encode writes is what the struct holds, field by field.
//
// Our headers first: <windows.h> turns many of their names into macros.
#include "platform/device_records.h"
#include "platform/win32/win32_platform.h"

namespace tp = tw::platform;

namespace {
constexpr tp::DWORD kOurTokenQuery = tp::TOKEN_QUERY;
constexpr tp::DWORD kOurTokenGroups = tp::TokenGroups;
constexpr tp::DWORD kOurPassThrough = tp::IOCTL_SCSI_PASS_THROUGH_DIRECT;
constexpr tp::DWORD kOurQueryProperty = tp::IOCTL_STORAGE_QUERY_PROPERTY;
constexpr tp::HANDLE kOurInvalidHandle = tp::INVALID_HANDLE_VALUE;
constexpr const tp::SID_IDENTIFIER_AUTHORITY* kOurNtAuthority = &tp::SECURITY_NT_AUTHORITY;
}  // namespace

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <ntddscsi.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using tw::platform::win32::Win32Device;
using tw::platform::win32::Win32Security;

// The record as the system's structs hold it.
struct SystemRecord {
    SCSI_PASS_THROUGH_DIRECT direct;
    ULONG filler;
    UCHAR sense[32];
};

constexpr ::BYTE kMarker = 0xA5;

tp::PassThroughRequest Inquiry(void* buffer) {
    tp::PassThroughRequest r;
    r.cdbLength = 6;
    r.senseInfoLength = 24;
    r.dataTransferLength = 100;
    r.timeOutValue = 2;
    r.dataBuffer = reinterpret_cast<std::uintptr_t>(buffer);
    r.cdb[0] = 0x12;
    r.cdb[4] = 100;
    return r;
}

}  // namespace

TEST(DeviceRecordsOnWindows, PassThroughRecordIsTheSystemsStruct) {
    std::vector<::BYTE> reply(100);
    const tp::PassThroughRecord bytes = tp::Encode(Inquiry(reply.data()));
    ASSERT_EQ(bytes.size(), sizeof(SystemRecord));
    SystemRecord system;
    std::memcpy(&system, bytes.data(), sizeof system);
    EXPECT_EQ(system.direct.Length, sizeof(SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(system.direct.CdbLength, 6);
    EXPECT_EQ(system.direct.SenseInfoLength, 24);
    EXPECT_EQ(system.direct.DataIn, SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(system.direct.DataTransferLength, 100u);
    EXPECT_EQ(system.direct.TimeOutValue, 2u);
    EXPECT_EQ(system.direct.DataBuffer, reply.data());
    EXPECT_EQ(system.direct.SenseInfoOffset, offsetof(SystemRecord, sense));
    EXPECT_EQ(system.direct.Cdb[0], 0x12);
    EXPECT_EQ(system.direct.Cdb[4], 100);
    if (sizeof(void*) == 4) {
        // The record the program sends: 80 bytes, the sense area at 48.
        EXPECT_EQ(sizeof(SystemRecord), 80u);
        EXPECT_EQ(system.direct.Length, 44);
        EXPECT_EQ(system.direct.SenseInfoOffset, 48u);
    }

    // And back: a struct the system's way decodes to its values.
    SystemRecord filled{};
    filled.direct.Length = sizeof(SCSI_PASS_THROUGH_DIRECT);
    filled.direct.ScsiStatus = 2;
    filled.direct.CdbLength = 10;
    filled.direct.SenseInfoLength = 14;
    filled.direct.DataIn = SCSI_IOCTL_DATA_IN;
    filled.direct.DataTransferLength = 440;
    filled.direct.TimeOutValue = 120;
    filled.direct.DataBuffer = reply.data();
    filled.direct.SenseInfoOffset = offsetof(SystemRecord, sense);
    filled.direct.Cdb[0] = 0x5A;
    filled.direct.Cdb[2] = 0xAA;
    filled.direct.Cdb[7] = 0x01;
    filled.direct.Cdb[8] = 0xB8;
    std::vector<::BYTE> raw(sizeof filled);
    std::memcpy(raw.data(), &filled, sizeof filled);
    const auto decoded = tp::DecodePassThrough(raw);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->length, sizeof(SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(decoded->scsiStatus, 2);
    EXPECT_EQ(decoded->cdbLength, 10);
    EXPECT_EQ(decoded->senseInfoLength, 14);
    EXPECT_EQ(decoded->dataTransferLength, 440u);
    EXPECT_EQ(decoded->timeOutValue, 120u);
    EXPECT_EQ(decoded->dataBuffer, reinterpret_cast<std::uintptr_t>(reply.data()));
    EXPECT_EQ(decoded->senseInfoOffset, offsetof(SystemRecord, sense));
    EXPECT_EQ(decoded->cdb[0], 0x5A);
    EXPECT_EQ(decoded->cdb[2], 0xAA);
    EXPECT_EQ(decoded->cdb[8], 0xB8);
}

TEST(DeviceRecordsOnWindows, StorageRecordsAreTheSystemsStructs) {
    STORAGE_PROPERTY_QUERY query;
    std::memset(&query, kMarker, sizeof query);
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    query.AdditionalParameters[0] = 0;
    const auto ours = tp::Encode(tp::StoragePropertyQuery{});
    ASSERT_EQ(ours.size(), sizeof query);
    EXPECT_EQ(std::memcmp(ours.data(), &query, 9), 0);

    const auto buffer = tp::NewDeviceDescriptorBuffer();
    STORAGE_DEVICE_DESCRIPTOR head;
    std::memcpy(&head, buffer.data(), sizeof head);
    EXPECT_EQ(head.Size, 548u);
    EXPECT_EQ(head.BusType, BusTypeUnknown);

    STORAGE_DEVICE_DESCRIPTOR system{};
    system.Version = sizeof system;
    system.Size = 300;
    system.RemovableMedia = TRUE;
    system.BusType = BusTypeUsb;
    system.VendorIdOffset = 40;
    std::vector<::BYTE> raw(sizeof system);
    std::memcpy(raw.data(), &system, sizeof system);
    const auto decoded = tp::DecodeDeviceDescriptor(raw);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->size, 300u);
    EXPECT_TRUE(decoded->removableMedia);
    EXPECT_EQ(decoded->busType, static_cast<tp::DWORD>(BusTypeUsb));
    EXPECT_EQ(decoded->vendorIdOffset, 40u);

    PREVENT_MEDIA_REMOVAL lock{TRUE};
    EXPECT_EQ(std::memcmp(tp::EncodePreventMediaRemoval(true).data(), &lock, sizeof lock), 0);
}

// The token calls through the backend, checked against the system's own
// reading of the same list.
TEST(SecurityOnWindows, TokenGroupsAskedBySizeFirstAndWalkedWithTheSystemsSids) {
    Win32Security security;
    tp::HANDLE token = 0;
    ::SetLastError(0xdeadbeef);
    // The test's thread does not impersonate.
    EXPECT_FALSE(security.OpenThreadToken(security.GetCurrentThread(), kOurTokenQuery, TRUE, &token));
    EXPECT_EQ(security.GetLastError(), static_cast<tp::DWORD>(ERROR_NO_TOKEN));
    ASSERT_TRUE(security.OpenProcessToken(security.GetCurrentProcess(), kOurTokenQuery, &token));

    tp::DWORD needed = 0;
    ::SetLastError(0xdeadbeef);
    EXPECT_FALSE(security.GetTokenInformation(token, kOurTokenGroups, nullptr, 0, &needed));
    EXPECT_EQ(security.GetLastError(), static_cast<tp::DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_GE(needed, tp::kTokenGroups.groups);
    std::vector<::BYTE> buffer(needed + 16, kMarker);
    tp::DWORD got = 0;
    ASSERT_TRUE(security.GetTokenInformation(token, kOurTokenGroups, buffer.data(), needed, &got));
    EXPECT_EQ(got, needed);
    for (std::size_t i = needed; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kMarker) << i;
    EXPECT_TRUE(security.CloseHandle(token));

    const auto* system = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    const auto ours = tp::DecodeTokenGroups(std::span(buffer).first(needed));
    ASSERT_TRUE(ours.has_value());
    ASSERT_EQ(ours->size(), system->GroupCount);

    tp::PSID admins = nullptr;
    ASSERT_TRUE(security.AllocateAndInitializeSid(kOurNtAuthority, 2, 0x20, 0x220, 0, 0, 0, 0, 0, 0, &admins));
    ASSERT_NE(admins, nullptr);
    EXPECT_TRUE(::IsValidSid(admins));
    for (std::size_t i = 0; i < ours->size(); ++i) {
        EXPECT_EQ((*ours)[i].sid, reinterpret_cast<std::uintptr_t>(system->Groups[i].Sid)) << i;
        EXPECT_EQ((*ours)[i].attributes, system->Groups[i].Attributes) << i;
        const auto sid = reinterpret_cast<tp::PSID>((*ours)[i].sid);
        EXPECT_EQ(security.EqualSid(sid, admins) != FALSE, ::EqualSid(system->Groups[i].Sid, admins) != FALSE) << i;
    }
    EXPECT_TRUE(security.EqualSid(admins, admins));
    EXPECT_EQ(security.FreeSid(admins), nullptr);
}

TEST(DeviceOnWindows, StoragePropertyQueryOnTheSystemVolume) {
    Win32Device device;
    const tp::HANDLE h =
        device.CreateFileA("\\\\.\\C:", 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
    if (h == kOurInvalidHandle) GTEST_SKIP() << "\\\\.\\C: does not open here: " << device.GetLastError();
    const auto query = tp::Encode(tp::StoragePropertyQuery{});
    std::vector<::BYTE> buffer(tp::kDeviceDescriptorBufferSize + 16, kMarker);
    const auto preset = tp::NewDeviceDescriptorBuffer();
    std::copy(preset.begin(), preset.end(), buffer.begin());
    tp::DWORD returned = 0xdeadbeef;
    device.SetLastError(0xdeadbeef);
    const tp::BOOL ok = device.DeviceIoControl(h, kOurQueryProperty, query.data(), query.size(), buffer.data(),
                                               tp::kDeviceDescriptorBufferSize, &returned, nullptr);
    const tp::DWORD error = device.GetLastError();
    EXPECT_TRUE(device.CloseHandle(h));
    for (std::size_t i = tp::kDeviceDescriptorBufferSize; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kMarker) << i;
    if (ok) {
        // A descriptor that the decoder reads, no longer than the buffer.
        ASSERT_GE(returned, static_cast<tp::DWORD>(tp::device_descriptor::kBusType + 4));
        EXPECT_LE(returned, tp::kDeviceDescriptorBufferSize);
        const auto d = tp::DecodeDeviceDescriptor(std::span(buffer).first(returned));
        ASSERT_TRUE(d.has_value());
        EXPECT_GE(d->size, static_cast<tp::DWORD>(tp::device_descriptor::kBusType + 4));
        EXPECT_LE(d->busType, 0xFFu);
    } else {
        EXPECT_NE(error, 0xdeadbeefu);
        EXPECT_NE(error, 0u);
    }
}

TEST(DeviceOnWindows, PassThroughThatTheSystemRefusesFailsWithALastError) {
    Win32Device device;
    const tp::HANDLE h = device.CreateFileA("\\\\.\\C:", GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
    if (h == kOurInvalidHandle) {
        // Refused at the open: no request reaches the drive.
        EXPECT_NE(device.GetLastError(), 0u);
        return;
    }
    std::vector<::BYTE> reply(100 + 16, kMarker);
    std::fill(reply.begin(), reply.begin() + 100, 0);
    tp::PassThroughRecord record = tp::Encode(Inquiry(reply.data()));
    tp::DWORD returned = 0;
    device.SetLastError(0xdeadbeef);
    const tp::BOOL ok = device.DeviceIoControl(h, kOurPassThrough, record.data(), record.size(), record.data(),
                                               record.size(), &returned, nullptr);
    const tp::DWORD error = device.GetLastError();
    EXPECT_TRUE(device.CloseHandle(h));
    for (std::size_t i = 100; i < reply.size(); ++i) EXPECT_EQ(reply[i], kMarker) << i;
    // The system volume of a test machine is not a SCSI drive that answers.
    EXPECT_FALSE(ok);
    EXPECT_NE(error, 0xdeadbeefu);
    EXPECT_NE(error, 0u);
}

TEST(DeviceOnWindows, ALetterWithoutADriveDoesNotOpen) {
    Win32Device device;
    char path[] = "\\\\.\\?:";
    const ::DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter) {
        if (drives & (1u << (letter - 'A'))) continue;
        path[4] = letter;
        device.SetLastError(0xdeadbeef);
        EXPECT_EQ(device.CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0),
                  kOurInvalidHandle);
        const tp::DWORD error = device.GetLastError();
        EXPECT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) << error;
        return;
    }
    GTEST_SKIP() << "every letter from D to Y is in use";
}
