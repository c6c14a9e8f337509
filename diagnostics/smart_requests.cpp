#include "diagnostics/smart_requests.h"

#include "platform/drive_names.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr DWORD kSectorBytes = static_cast<DWORD>(smart_reply::kSectorSize);

SmartCommand SmartSubcommand(int index, BYTE features) {
    SmartCommand c;
    c.bufferSize = kSectorBytes;
    c.features = features;
    c.sectorCount = 1;
    c.sectorNumber = 1;
    c.cylLow = SMART_CYL_LOW;
    c.cylHigh = SMART_CYL_HI;
    c.driveHead = DriveHead(index);
    c.command = SMART_CMD;
    c.driveNumber = static_cast<BYTE>(index);
    return c;
}

constexpr const char* kDriverErrors[] = {
    "No error",
    "Error from IDE controller",
    "Invalid command flag",
    "Invalid command byte",
    "Bad buffer (null, invalid addr..)",
    "Drive number not valid",
    "Invalid IOCTL",
    "Could not lock user's buffer",
    "Some IDE Register not valid",
    "Invalid cmd flag set",
    "Cmd issued to device not present although drive number is valid",
};
static_assert(std::size(kDriverErrors) == SMART_NO_IDE_DEVICE + 1);

}  // namespace

BYTE DriveHead(int index) { return static_cast<BYTE>(0xA0 | ((index & 1) << 4)); }

SmartCommand EnableSmartCommand(int index) {
    SmartCommand c = SmartSubcommand(index, ENABLE_SMART);
    c.bufferSize = 0;  // no data moves
    return c;
}

SmartCommand IdentifyCommand(int index, bool atapi) {
    SmartCommand c;
    c.bufferSize = kSectorBytes;
    c.sectorCount = 1;
    c.sectorNumber = 1;
    c.driveHead = DriveHead(index);
    c.command = atapi ? ATAPI_ID_CMD : ID_CMD;
    c.driveNumber = static_cast<BYTE>(index);
    return c;
}

SmartCommand ReadAttributesCommand(int index) { return SmartSubcommand(index, READ_ATTRIBUTES); }
SmartCommand ReadThresholdsCommand(int index) { return SmartSubcommand(index, READ_THRESHOLDS); }

std::string DriverErrorText(BYTE driverError) {
    if (driverError < std::size(kDriverErrors)) return kDriverErrors[driverError];
    return "Unknown driver error " + Decimal(driverError);
}

std::string IdeStatusText(BYTE ideError) {
    constexpr char kHex[] = "0123456789ABCDEF";
    return std::string{'0', '0', kHex[ideError >> 4], kHex[ideError & 0xF]};
}

bool SendSmartCommand(Device& device, HANDLE handle, DWORD code, const SmartCommand& command, SmartReplyBuffer& reply,
                      DWORD replyLength) {
    auto record = Encode(command);
    DWORD returned = 0;
    return device.DeviceIoControl(handle, code, record.data(), static_cast<DWORD>(smart_command::kSentSize),
                                  reply.data(), replyLength, &returned, nullptr) != FALSE;
}

}  // namespace tw::diagnostics
