#include "platform/sim/state.h"

namespace tw::sim {

MachineSpy::MachineSpy(std::unique_ptr<MachineState> state) : state_(std::move(state)) {}
MachineSpy::~MachineSpy() = default;

const std::string& MachineSpy::Name() const { return state_->name; }
int MachineSpy::CallCount(SimCall call) const { return state_->calls[static_cast<std::size_t>(call)]; }

int MachineSpy::CallCount(SimCall call, char letter) const {
    auto it = state_->callsFor.find({call, letter});
    return it == state_->callsFor.end() ? 0 : it->second;
}

void MachineSpy::ResetCallCounts() {
    state_->calls.fill(0);
    state_->callsFor.clear();
}

int MachineSpy::FallibleCalls() const { return state_->fallibleCalls; }
const std::vector<SimCall>& MachineSpy::FaultedCalls() const { return state_->faultedCalls; }
const std::vector<std::string>& MachineSpy::Changes() const { return state_->changes; }

int MachineSpy::OpenKeyCount() const { return static_cast<int>(state_->openKeys.size()); }
int MachineSpy::OpenHandleCount() const { return static_cast<int>(state_->openHandles.size()); }
int MachineSpy::OpenSidCount() const { return static_cast<int>(state_->sids.size()); }
int MachineSpy::OpenAutomationObjectCount() const { return static_cast<int>(state_->automationObjects.size()); }
int MachineSpy::OpenMciDeviceCount() const { return static_cast<int>(state_->openMci.size()); }

UINT MachineSpy::CurrentErrorMode() const { return state_->errorMode; }
UINT MachineSpy::ErrorModeAtLastSpaceProbe() const { return state_->errorModeAtSpaceProbe; }
const std::vector<RegWrite>& MachineSpy::RegistryWrites() const { return state_->writes; }

std::optional<RegValue> MachineSpy::RegistryValue(const std::string& keyPath, const std::string& name) const {
    auto key = state_->keys.find(UpperAscii(keyPath));
    if (key == state_->keys.end()) return std::nullopt;
    auto value = key->second.values.find(UpperAscii(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second;
}

std::optional<std::string> MachineSpy::FileText(const std::string& path) const {
    auto it = state_->files.find(UpperAscii(path));
    if (it == state_->files.end()) return std::nullopt;
    return it->second.text;
}

const std::string& MachineSpy::LastBrowseTitle() const { return state_->lastBrowseTitle; }
HWND MachineSpy::LastBrowseOwner() const { return state_->lastBrowseOwner; }
const std::vector<DeviceOpen>& MachineSpy::DeviceOpens() const { return state_->deviceOpens; }
const std::vector<DeviceRequest>& MachineSpy::DeviceRequests() const { return state_->deviceRequests; }

bool MachineSpy::MediaLocked(char letter) const {
    const auto drive = state_->drives.find(letter);
    if (drive != state_->drives.end() && drive->second.device && drive->second.device->mediaLocks > 0) return true;
    for (const auto& [handle, open] : state_->openDevices) {
        if (open.letter == letter && open.ejectionLocks > 0) return true;
    }
    return false;
}

DWORD MachineSpy::SleptMilliseconds() const { return state_->slept; }
const std::vector<MciCall>& MachineSpy::MciCalls() const { return state_->mciCalls; }
const std::vector<ShellRequest>& MachineSpy::ShellRequests() const { return state_->shellRequests; }
int MachineSpy::ChecksRun() const { return state_->checksRun; }
int MachineSpy::LoadedLibraryCount() const { return state_->loadedLibraries; }

const std::vector<LibraryLoad>& MachineSpy::LibraryLoads() const { return state_->libraryLoads; }
const std::vector<SaveDialogCall>& MachineSpy::SaveDialogs() const { return state_->saveDialogs; }
const std::optional<std::string>& MachineSpy::ClipboardText() const { return state_->clipboardText; }

}  // namespace tw::sim
