// S.M.A.R.T. on the real backend: the request records against the system's
// own structs, and a real read of the first physical disk, which on Wine
// (no disk driver answers SMART) must end in a clear error text, not a crash.
//
// Our headers first: <windows.h> turns many of their names into macros.
#include "app/tfrm_disk_info.h"
#include "app/tfrm_smart.h"
#include "cli/headless.h"
#include "diagnostics/drive_disk.h"
#include "diagnostics/smart_api.h"
#include "platform/smart_records.h"
#include "platform/system_error_text.h"
#include "platform/win32/win32_platform.h"

namespace tp = tw::platform;
namespace td = tw::diagnostics;

#include "platform/win32/windows_headers.h"
// After <windows.h>, which it needs.
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(SmartRecordsOnWindows, CommandVersionAndReplyAreTheSystemsStructs) {
    const auto command = tp::Encode(tp::SmartCommand{512, 0xD0, 1, 2, 0x4F, 0xC2, 0xB0, 0xB0, 3});
    ASSERT_EQ(command.size(), sizeof(SENDCMDINPARAMS));
    SENDCMDINPARAMS in;
    std::memcpy(&in, command.data(), sizeof in);
    EXPECT_EQ(in.cBufferSize, 512u);
    EXPECT_EQ(in.irDriveRegs.bFeaturesReg, READ_ATTRIBUTES);
    EXPECT_EQ(in.irDriveRegs.bSectorCountReg, 1);
    EXPECT_EQ(in.irDriveRegs.bSectorNumberReg, 2);
    EXPECT_EQ(in.irDriveRegs.bCylLowReg, SMART_CYL_LOW);
    EXPECT_EQ(in.irDriveRegs.bCylHighReg, SMART_CYL_HI);
    EXPECT_EQ(in.irDriveRegs.bDriveHeadReg, 0xB0);
    EXPECT_EQ(in.irDriveRegs.bCommandReg, SMART_CMD);
    EXPECT_EQ(in.bDriveNumber, 3);

    GETVERSIONINPARAMS version{};
    version.bVersion = 1;
    version.bRevision = 2;
    version.bIDEDeviceMap = 0x31;
    version.fCapabilities = CAP_SMART_CMD;
    std::vector<::BYTE> bytes(sizeof version);
    std::memcpy(bytes.data(), &version, sizeof version);
    EXPECT_EQ(tp::DecodeSmartVersion(bytes), (tp::SmartVersion{1, 2, 0x31, CAP_SMART_CMD}));

    tp::SmartReplyBuffer reply{};
    tp::EncodeSmartReplyHead({512, SMART_INVALID_DRIVE, 0x51}, reply);
    SENDCMDOUTPARAMS out;
    std::memcpy(&out, reply.data(), sizeof out);
    EXPECT_EQ(out.cBufferSize, 512u);
    EXPECT_EQ(out.DriverStatus.bDriverError, SMART_INVALID_DRIVE);
    EXPECT_EQ(out.DriverStatus.bIDEError, 0x51);
    EXPECT_EQ(reinterpret_cast<::BYTE*>(&out.bBuffer) - reinterpret_cast<::BYTE*>(&out), 16);

    STORAGE_DEVICE_NUMBER number{FILE_DEVICE_DISK, 2, 1};
    std::vector<::BYTE> numberBytes(sizeof number);
    std::memcpy(numberBytes.data(), &number, sizeof number);
    EXPECT_EQ(tp::DecodeStorageDeviceNumber(numberBytes), (tp::StorageDeviceNumber{FILE_DEVICE_DISK, 2, 1}));
}

TEST(SmartOnWindows, SystemErrorTextHasNoFullStopOrLineBreak) {
    tp::win32::Win32Kernel kernel;
    const std::string text = tp::SystemErrorText(kernel, ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_EQ(tp::SystemErrorText(kernel, 0x2FFFFFFF), "");
}

// Whatever the system answers, the read ends: a full result, or false with a
// text that says which step failed and why.
TEST(SmartOnWindows, ReadingPhysicalDriveZeroEndsInAResultOrAClearError) {
    tp::win32::Win32Platform platform;
    td::TSmartResult result;
    std::string error;
    const bool ok = td::SmartReadDrive(platform, 0, result, error);
    if (ok) {
        EXPECT_GE(result.AttrCount, 0);
        EXPECT_LE(result.AttrCount, 30);
        return;
    }
    const char* steps[] = {"Unable to open physical drive: ",         "DFP_GET_VERSION failed: ",
                           "SMART Enable Command Failed, Drive: ",    "Identify Command Failed on Drive: ",
                           "SMART Read Attr Command Failed, Drive: ", "SMART Read Threshold Command Failed, Drive: "};
    bool known = false;
    for (const char* step : steps) known = known || error.rfind(step, 0) == 0;
    EXPECT_TRUE(known) << error;
    EXPECT_EQ(error.find_first_of("\r\n"), std::string::npos) << error;
    EXPECT_EQ(result.AttrCount, 0);
    // The serial probe asks the same device and gives up quietly.
    const std::string serial = td::SmartReadSerial(platform, 0);
    EXPECT_LE(serial.size(), 20u);
    // A disk that cannot exist does not open.
    EXPECT_FALSE(td::SmartReadDrive(platform, 200, result, error));
    EXPECT_EQ(error.rfind("Unable to open physical drive: ", 0), 0u) << error;
}

// The disk behind C: as the system names it, and both disk windows over it:
// whatever the system answers, each shows a report or says why not.
TEST(SmartOnWindows, TheDiskBehindCAndTheDiskWindowsOverIt) {
    tp::win32::Win32Platform platform;
    const td::DriveDisk disk = td::PhysicalDiskOfDrive(platform.device(), 'C');
    if (disk.number) {
        EXPECT_EQ(disk.number->deviceType, static_cast<tp::DWORD>(FILE_DEVICE_DISK));
        std::cout << "C: is on disk " << disk.number->deviceNumber << ", partition " << disk.number->partitionNumber
                  << '\n';
    } else {
        EXPECT_NE(disk.error, 0u);
        std::cout << "C: names no disk, error " << disk.error << '\n';
    }
    std::ostringstream boxes;
    tw::cli::HeadlessDialogs dialogs(boxes);
    tw::TfrmSmart smart(platform, dialogs);
    smart.ShowDrive('C');
    const std::string& status = smart.Get(tw::SmartControl::Status).text;
    EXPECT_NE(smart.Get(tw::SmartControl::Health).text.empty(), status.empty()) << status;
    EXPECT_EQ(status.find_first_of("\r\n"), std::string::npos) << status;
    std::cout << "SMART window: " << (status.empty() ? smart.Get(tw::SmartControl::Health).text : status) << '\n';
    tw::TfrmDiskInfo info(platform, dialogs);
    info.ShowDrive('C');
    EXPECT_FALSE(info.Get(tw::DiskInfoControl::FileSystem).text.empty());
    EXPECT_FALSE(info.Get(tw::DiskInfoControl::ClusterSize).text.empty());
    if (!disk.number) {
        EXPECT_EQ(info.Get(tw::DiskInfoControl::Status).text.rfind("Cannot find the physical disk of drive C: ", 0),
                  0u);
    }
    std::cout << "Disk Information: bus \"" << info.Get(tw::DiskInfoControl::BusType).text << "\", status \""
              << info.Get(tw::DiskInfoControl::Status).text << "\"\n";
    EXPECT_EQ(boxes.str(), "");
}

}  // namespace
