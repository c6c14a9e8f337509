// The simulated machine's devices: volume paths opened with CreateFileA, the
// storage requests sent to them, and the one handle table they share with
// files and tokens.
#include <algorithm>
#include <cstring>

#include "platform/sim/scsi_target.h"
#include "platform/sim/state.h"
#include "platform/smart_records.h"

namespace tw::sim {

namespace {

constexpr DWORD GENERIC_ALL = 0x10000000u;
constexpr DWORD PropertyExistsQuery = 1;

// The letter of "\\.\X:" (any case); 0 for any other device path.
char VolumeLetter(const std::string& path) {
    return path.size() == 6 && path.compare(0, 4, "\\\\.\\") == 0 ? LetterOf(path.c_str() + 4) : 0;
}

bool Reads(DWORD access) { return (access & (GENERIC_READ | GENERIC_ALL)) != 0; }
bool Writes(DWORD access) { return (access & (GENERIC_WRITE | GENERIC_ALL)) != 0; }

// Whether an open asking `access` with `share` may coexist with one holding
// `heldAccess` and sharing `heldShare`: each side must share what the other
// uses. Opens without data access (0) take no part in sharing either way.
bool Compatible(DWORD access, DWORD share, DWORD heldAccess, DWORD heldShare) {
    if ((!Reads(access) && !Writes(access)) || (!Reads(heldAccess) && !Writes(heldAccess))) return true;
    if (Reads(access) && !(heldShare & FILE_SHARE_READ)) return false;
    if (Writes(access) && !(heldShare & FILE_SHARE_WRITE)) return false;
    if (Reads(heldAccess) && !(share & FILE_SHARE_READ)) return false;
    if (Writes(heldAccess) && !(share & FILE_SHARE_WRITE)) return false;
    return true;
}

// The descriptor reply: the head of STORAGE_DEVICE_DESCRIPTOR, no strings.
std::vector<BYTE> DescriptorReply(DeviceDescriptor d) {
    d.version = static_cast<DWORD>(device_descriptor::kStructSize);
    d.size = static_cast<DWORD>(device_descriptor::kStructSize);
    std::vector<BYTE> bytes(device_descriptor::kStructSize, 0);
    EncodeDeviceDescriptor(d, bytes);
    return bytes;
}

}  // namespace

HANDLE MachineState::OpenDevicePath(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                                    DWORD flags) {
    if (IsDiskPath(path)) return OpenDiskPath(path, access, share, disposition, flags);
    DeviceOpen asked{path, access, share, disposition, flags, ERROR_SUCCESS};
    auto fail = [&](DWORD error) {
        asked.error = error;
        deviceOpens.push_back(asked);
        return Fail(error, INVALID_HANDLE_VALUE);
    };
    const char letter = VolumeLetter(path);
    auto d = letter ? drives.find(letter) : drives.end();
    if (d == drives.end() || !d->second.present || !d->second.device) return fail(ERROR_FILE_NOT_FOUND);
    const SimDevice& device = *d->second.device;
    if (device.openError != ERROR_SUCCESS) return fail(device.openError);
    if (disposition != OPEN_EXISTING && disposition != OPEN_ALWAYS) return fail(ERROR_INVALID_PARAMETER);
    if (device.inUse && !Compatible(access, share, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        return fail(ERROR_SHARING_VIOLATION);
    }
    for (const auto& [handle, open] : openDevices) {
        if (open.letter == letter && !Compatible(access, share, open.access, open.share)) {
            return fail(ERROR_SHARING_VIOLATION);
        }
    }
    deviceOpens.push_back(asked);
    const HANDLE h = NewHandle();
    openDevices[h] = OpenDevice{letter, path, access, share, 0};
    return Succeed(h);
}

BOOL MachineState::Close(HANDLE object) {
    Enter(SimCall::CloseHandle);
    // A PIDL or a SID is not a handle.
    const bool closed = openFiles.erase(object) || openDevices.erase(object) || openTokens.erase(object);
    if (!closed) return Fail(ERROR_INVALID_HANDLE);
    openHandles.erase(object);
    return Succeed();
}

HANDLE SimDeviceService::CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode,
                                     void* securityAttributes, DWORD creationDisposition, DWORD flagsAndAttributes,
                                     HANDLE templateFile) {
    // One open for files and devices alike, as on Windows.
    return s_.kernel.CreateFileA(fileName, desiredAccess, shareMode, securityAttributes, creationDisposition,
                                 flagsAndAttributes, templateFile);
}

BOOL SimDeviceService::DeviceIoControl(HANDLE handle, DWORD code, const void* inBuffer, DWORD inSize, void* outBuffer,
                                       DWORD outSize, DWORD* bytesReturned, void* overlapped) {
    auto open = s_.openDevices.find(handle);
    if (s_.Faulted(SimCall::DeviceIoControl, open == s_.openDevices.end() ? 0 : open->second.letter)) return FALSE;
    // kernel32 stores the count through the pointer of a synchronous request.
    if (bytesReturned == nullptr && overlapped == nullptr) {
        throw SimulatedFault("DeviceIoControl: no bytes-returned variable for a synchronous request");
    }
    if (bytesReturned) *bytesReturned = 0;
    if (open == s_.openDevices.end())
        return s_.Fail(s_.openFiles.count(handle) ? ERROR_INVALID_FUNCTION : ERROR_INVALID_HANDLE);
    OpenDevice& od = open->second;
    const auto* in = static_cast<const BYTE*>(inBuffer);
    DeviceRequest logged{od.path, code, {}, outSize, {}};
    if (in) logged.input.assign(in, in + inSize);
    s_.deviceRequests.push_back(logged);
    DeviceRequest& entry = s_.deviceRequests.back();
    const std::span<const BYTE> input = in ? std::span<const BYTE>(in, inSize) : std::span<const BYTE>();
    if (od.disk) return s_.DiskRequest(od, code, input, outBuffer, outSize, bytesReturned);
    SimDevice& device = *s_.drives[od.letter].device;
    // The class driver completes every request to a device that has gone
    // with STATUS_DEVICE_DOES_NOT_EXIST, which the caller sees as this.
    if (device.removed) return s_.Fail(ERROR_DEV_NOT_EXIST);

    const DWORD needs = RequiredAccess(code);
    if (((needs & FILE_READ_ACCESS) && !Reads(od.access)) || ((needs & FILE_WRITE_ACCESS) && !Writes(od.access))) {
        return s_.Fail(ERROR_ACCESS_DENIED);
    }
    switch (code) {
        case IOCTL_SCSI_PASS_THROUGH_DIRECT: {
            if (!device.scsi) return s_.Fail(ERROR_INVALID_FUNCTION);
            if (device.scsi->adminOnly && !s_.IsAdministrator()) return s_.Fail(ERROR_ACCESS_DENIED);
            const auto outcome = RunPassThrough(*device.scsi, input, outBuffer, outSize, entry.cdb);
            if (outcome.error != ERROR_SUCCESS) return s_.Fail(outcome.error);
            if (bytesReturned) *bytesReturned = outcome.returned;
            break;
        }
        case IOCTL_STORAGE_QUERY_PROPERTY: {
            const auto query = DecodePropertyQuery(input);
            if (!query) return s_.Fail(ERROR_INVALID_PARAMETER);
            if (query->propertyId != StorageDeviceProperty) return s_.Fail(ERROR_INVALID_FUNCTION);
            if (!device.storage.value) return s_.Fail(device.storage.error);
            if (query->queryType == PropertyExistsQuery) break;
            if (query->queryType != PropertyStandardQuery) return s_.Fail(ERROR_INVALID_PARAMETER);
            // Too small for the size header: nothing to say how much is needed.
            if (outBuffer == nullptr || outSize < 8) return s_.Fail(ERROR_INSUFFICIENT_BUFFER);
            const std::vector<BYTE> reply = DescriptorReply(*device.storage.value);
            const DWORD n = std::min<DWORD>(outSize, static_cast<DWORD>(reply.size()));
            std::memcpy(outBuffer, reply.data(), n);
            if (bytesReturned) *bytesReturned = n;
            break;
        }
        case IOCTL_STORAGE_MEDIA_REMOVAL:
        case IOCTL_STORAGE_EJECTION_CONTROL: {
            const auto prevent = DecodePreventMediaRemoval(input);
            if (!prevent) return s_.Fail(ERROR_INVALID_PARAMETER);
            if (device.lockError != ERROR_SUCCESS) return s_.Fail(device.lockError);
            // The device counts media-removal locks from anyone and ignores an
            // unlock at zero; ejection-control locks are the handle's own and
            // its unlocks release only those.
            int& count = code == IOCTL_STORAGE_MEDIA_REMOVAL ? device.mediaLocks : od.ejectionLocks;
            count = *prevent ? count + 1 : std::max(0, count - 1);
            s_.changes.push_back(std::string(*prevent ? "lock " : "unlock ") + od.letter + ":");
            break;
        }
        case IOCTL_STORAGE_GET_DEVICE_NUMBER: {
            // The disk driver answers for the volumes on its disks; a device
            // without one behind it does not know the request.
            if (!device.physicalDisk) return s_.Fail(ERROR_INVALID_FUNCTION);
            if (outBuffer == nullptr || outSize < storage_device_number::kSize)
                return s_.Fail(ERROR_INSUFFICIENT_BUFFER);
            const auto reply = Encode(StorageDeviceNumber{FILE_DEVICE_DISK, *device.physicalDisk, device.partition});
            std::memcpy(outBuffer, reply.data(), reply.size());
            if (bytesReturned) *bytesReturned = static_cast<DWORD>(reply.size());
            break;
        }
        case IOCTL_STORAGE_EJECT_MEDIA:
            if (device.ejectError != ERROR_SUCCESS) return s_.Fail(device.ejectError);
            s_.changes.push_back(std::string("eject ") + od.letter + ":");
            break;
        case IOCTL_STORAGE_LOAD_MEDIA:
            if (device.loadError != ERROR_SUCCESS) return s_.Fail(device.loadError);
            s_.changes.push_back(std::string("load ") + od.letter + ":");
            break;
        default: return s_.Fail(ERROR_INVALID_FUNCTION);
    }
    return s_.Succeed();
}

BOOL SimDeviceService::CloseHandle(HANDLE object) { return s_.Close(object); }

void SimDeviceService::Sleep(DWORD milliseconds) {
    s_.Enter(SimCall::Sleep);
    s_.slept += milliseconds;
}

DWORD SimDeviceService::GetLastError() { return s_.lastError; }
void SimDeviceService::SetLastError(DWORD errorCode) { s_.lastError = errorCode; }

}  // namespace tw::sim
