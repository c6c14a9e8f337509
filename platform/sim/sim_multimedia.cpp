// The simulated multimedia control interface: it records every call and
// answers with the outcomes the machine file gives. A CD audio device opens
// only on a letter whose drive is a CD drive.
#include "platform/sim/state.h"

namespace tw::sim {

MCIERROR SimMultimedia::mciSendStringA(const char* command, char* returnString, UINT returnLength, HWND) {
    if (const DWORD fault = s_.Enter(SimCall::mciSendStringA)) return static_cast<MCIERROR>(fault);
    if (returnString != nullptr && returnLength > 0) returnString[0] = 0;
    MciCall call;
    call.command = command ? command : "";
    call.result = s_.mci.stringError;
    s_.mciCalls.push_back(call);
    return call.result;
}

MCIERROR SimMultimedia::mciSendCommandA(MCIDEVICEID device, UINT message, std::uintptr_t flags,
                                        MCI_OPEN_PARMSA* parms) {
    if (const DWORD fault = s_.Enter(SimCall::mciSendCommandA)) return static_cast<MCIERROR>(fault);
    MciCall call;
    call.device = device;
    call.message = message;
    call.flags = flags;
    if (parms != nullptr && message == MCI_OPEN) {
        if (parms->lpstrDeviceType) call.deviceType = parms->lpstrDeviceType;
        if (parms->lpstrElementName) call.element = parms->lpstrElementName;
    }
    auto answer = [&](MCIERROR result) {
        call.result = result;
        s_.mciCalls.push_back(call);
        return result;
    };
    switch (message) {
        case MCI_OPEN: {
            if (parms == nullptr) return answer(MCIERR_NULL_PARAMETER_BLOCK);
            if (s_.mci.openError != 0) return answer(s_.mci.openError);
            if (flags & MCI_OPEN_ELEMENT) {
                SimDrive* drive = s_.DriveOf(call.element.c_str());
                if (drive == nullptr || !drive->present || drive->type != DRIVE_CDROM || call.element.size() != 2) {
                    return answer(MCIERR_INVALID_DEVICE_NAME);
                }
            }
            parms->wDeviceID = s_.nextMci++;
            s_.openMci[parms->wDeviceID] = call.element;
            return answer(0);
        }
        case MCI_SET:
            if (!s_.openMci.count(device)) return answer(MCIERR_INVALID_DEVICE_ID);
            return answer(s_.mci.setError);
        case MCI_CLOSE:
            if (!s_.openMci.count(device)) return answer(MCIERR_INVALID_DEVICE_ID);
            if (s_.mci.closeError != 0) return answer(s_.mci.closeError);
            s_.openMci.erase(device);
            return answer(0);
        default: return answer(MCIERR_UNRECOGNIZED_COMMAND);
    }
}

}  // namespace tw::sim
