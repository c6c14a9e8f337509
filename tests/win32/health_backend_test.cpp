// Disk health on the real backend: the pointer-width records against the
// system's own structs, and each route on the first physical disk, which on
// Wine (no driver answers these requests) must refuse cleanly.
//
// Our headers first: <windows.h> turns many of their names into macros.
#include "diagnostics/disk_health.h"
#include "diagnostics/health_device.h"
#include "platform/health_records.h"
#include "platform/win32/win32_platform.h"

namespace tp = tw::platform;
namespace td = tw::diagnostics;

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <ntddscsi.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(HealthRecordsOnWindows, AtaPassThroughIsTheSystemsStruct) {
    tp::AtaPassThroughRecord r;
    r.ataFlags = ATA_FLAGS_DRDY_REQUIRED | ATA_FLAGS_DATA_IN;
    r.dataTransferLength = 512;
    r.timeOutValue = 10;
    r.currentTaskFile = {0xD0, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0};
    std::vector<::BYTE> bytes(sizeof(ATA_PASS_THROUGH_EX));
    tp::EncodeAtaPassThrough(r, bytes);
    ATA_PASS_THROUGH_EX system;
    std::memcpy(&system, bytes.data(), sizeof system);
    EXPECT_EQ(system.Length, sizeof(ATA_PASS_THROUGH_EX));
    EXPECT_EQ(system.AtaFlags, ATA_FLAGS_DRDY_REQUIRED | ATA_FLAGS_DATA_IN);
    EXPECT_EQ(system.DataTransferLength, 512u);
    EXPECT_EQ(system.TimeOutValue, 10u);
    EXPECT_EQ(system.DataBufferOffset, sizeof(ATA_PASS_THROUGH_EX));
    EXPECT_EQ(system.CurrentTaskFile[0], 0xD0);
    EXPECT_EQ(system.CurrentTaskFile[3], 0x4F);
    EXPECT_EQ(system.CurrentTaskFile[6], 0xB0);

    system.CurrentTaskFile[3] = 0xF4;
    system.CurrentTaskFile[4] = 0x2C;
    std::memcpy(bytes.data(), &system, sizeof system);
    const auto back = tp::DecodeAtaPassThrough(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->currentTaskFile[3], 0xF4);
    EXPECT_EQ(back->currentTaskFile[4], 0x2C);
    EXPECT_EQ(back->dataBufferOffset, sizeof(ATA_PASS_THROUGH_EX));
}

TEST(HealthRecordsOnWindows, ProtocolQueryCarriesTheSystemsRecord) {
    tp::ProtocolSpecificData d;
    d.dataType = NVMeDataTypeLogPage;
    d.requestValue = 2;
    d.dataLength = 512;
    const std::vector<::BYTE> query = tp::EncodeProtocolQuery(tp::StorageDeviceProtocolSpecificProperty, d);
    STORAGE_PROPERTY_QUERY head;
    std::memcpy(&head, query.data(), offsetof(STORAGE_PROPERTY_QUERY, AdditionalParameters));
    EXPECT_EQ(head.PropertyId, StorageDeviceProtocolSpecificProperty);
    EXPECT_EQ(head.QueryType, PropertyStandardQuery);
    STORAGE_PROTOCOL_SPECIFIC_DATA system;
    std::memcpy(&system, query.data() + offsetof(STORAGE_PROPERTY_QUERY, AdditionalParameters), sizeof system);
    EXPECT_EQ(system.ProtocolType, ProtocolTypeNvme);
    EXPECT_EQ(system.DataType, static_cast<DWORD>(NVMeDataTypeLogPage));
    EXPECT_EQ(system.ProtocolDataRequestValue, 2u);
    EXPECT_EQ(system.ProtocolDataOffset, sizeof(STORAGE_PROTOCOL_SPECIFIC_DATA));
    EXPECT_EQ(system.ProtocolDataLength, 512u);
}

// Wine's disks answer none of these requests: every route says why, none
// claims an answer it did not get, and nothing stays open.
TEST(HealthOnWindows, EachRouteOnTheFirstDiskAnswersOrRefusesCleanly) {
    tp::win32::Win32Platform platform;
    td::DiskHealth health;
    std::vector<td::RouteAttempt> attempts;
    {
        td::HealthDevice device(platform, 0);
        attempts.push_back(td::ReadByAtaPassThrough(device, health));
        td::ReadBySat(device, health);
        attempts.insert(attempts.end(), health.attempts.begin(), health.attempts.end());
        attempts.push_back(td::ReadByNvme(device, health));
    }
    for (const td::RouteAttempt& a : attempts) {
        EXPECT_FALSE(a.outcome.empty()) << td::RouteName(a.route);
        if (!a.answered) EXPECT_NE(a.outcome, "answered") << td::RouteName(a.route);
    }

    const td::DiskHealth whole = td::ReadDiskHealth(platform, 0);
    EXPECT_EQ(whole.Answered(), whole.error.empty()) << whole.error;
    const td::DiskHealth missing = td::ReadDiskHealth(platform, 200);
    EXPECT_FALSE(missing.Answered());
    EXPECT_EQ(missing.error.rfind("Unable to open physical drive: ", 0), 0u) << missing.error;
}

}  // namespace
