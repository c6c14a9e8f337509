// The multimedia control interface: command strings to a device by name,
// and command messages with parameter blocks.
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_SET = 0x080D;
constexpr DWORD MCI_OPEN_TYPE = 0x2000;
constexpr DWORD MCI_OPEN_ELEMENT = 0x0200;
constexpr DWORD MCI_SET_DOOR_OPEN = 0x0100;
constexpr DWORD MCI_SET_DOOR_CLOSED = 0x0200;

// Results of the MCI calls (0 is success).
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = 257;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = 263;
constexpr MCIERROR MCIERR_DEVICE_NOT_READY = 276;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = 297;

// MCI_OPEN_PARMSA: what MCI_OPEN reads and the device id it writes back.
struct MCI_OPEN_PARMSA {
    std::uintptr_t dwCallback = 0;
    MCIDEVICEID wDeviceID = 0;
    const char* lpstrDeviceType = nullptr;
    const char* lpstrElementName = nullptr;
    const char* lpstrAlias = nullptr;
};

class Multimedia {
public:
    virtual ~Multimedia() = default;

    virtual MCIERROR mciSendStringA(const char* command, char* returnString, UINT returnLength, HWND callback) = 0;
    // `parms` is the command's parameter block: an MCI_OPEN_PARMSA for
    // MCI_OPEN and MCI_CLOSE as the program sends them, null for MCI_SET.
    virtual MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, std::uintptr_t flags,
                                     MCI_OPEN_PARMSA* parms) = 0;
};

}  // namespace tw::platform
