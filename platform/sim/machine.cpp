#include <algorithm>
#include <cctype>
#include <set>

#include "platform/sim/state.h"

namespace tw::sim {

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

namespace {

// Calls that report no failure: they are counted but never fail.
bool Infallible(const std::string& call) {
    static const std::set<std::string> kNames{"SetErrorMode", "Sleep",    "CloseHandle",  "RegCloseKey",
                                              "FreeSid",      "EqualSid", "CoTaskMemFree"};
    return kNames.count(call) != 0;
}

}  // namespace

DWORD Machine::State::Enter(const std::string& call, char letter) {
    ++calls[call];
    if (letter != 0) {
        ++calls[call + ":" + letter];
        auto d = drives.find(letter);
        if (d != drives.end()) {
            auto r = d->second.raises.find(call);
            if (r != d->second.raises.end()) throw SimulatedFault(r->second);
        }
    }
    if (Infallible(call)) return ERROR_SUCCESS;
    ++fallibleCalls;
    DWORD error = ERROR_SUCCESS;
    for (auto& [rule, seen] : faults) {
        if ((!rule.call.empty() && rule.call != call) || (rule.letter != 0 && rule.letter != letter)) continue;
        if (++seen != rule.nth) continue;
        ++faultsFired;
        if (rule.removeMedium) {
            RemoveMedium(rule.letter);
        } else if (error == ERROR_SUCCESS) {
            error = rule.error;
        }
    }
    return error;
}

void Machine::State::RemoveMedium(char letter) {
    auto d = drives.find(letter);
    if (d == drives.end()) return;
    d->second.volume = {std::nullopt, ERROR_NOT_READY};
    d->second.space = {std::nullopt, ERROR_NOT_READY};
    if (d->second.device && d->second.device->scsi) {
        ScsiTarget& scsi = *d->second.device->scsi;
        scsi.notReady = -1;
        scsi.failures[kGetConfiguration] = ERROR_NOT_READY;
        scsi.failures[kReadDvdStructure] = ERROR_NOT_READY;
    }
}

void Machine::AddFault(FaultRule rule) { state_->faults.emplace_back(std::move(rule), 0); }
void Machine::ClearFaults() {
    state_->faults.clear();
    state_->faultsFired = 0;
}
int Machine::FaultsFired() const { return state_->faultsFired; }
int Machine::FallibleCalls() const { return state_->fallibleCalls; }
const std::vector<std::string>& Machine::Changes() const { return state_->changes; }

SimDrive* Machine::State::DriveOf(const char* path) {
    if (path == nullptr || path[0] == 0) return nullptr;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    if (path[1] != ':') return nullptr;
    auto it = drives.find(letter);
    return it == drives.end() ? nullptr : &it->second;
}

Machine::Machine() : state_(std::make_unique<State>()) {}
Machine::~Machine() = default;

std::unique_ptr<Machine> Machine::Clone() const {
    // Open devices point into the machine's own disks; nothing else refers back.
    if (!state_->openDevices.empty() || !state_->openHandles.empty() || !state_->openKeys.empty() ||
        !state_->sids.empty() || !state_->openMci.empty()) {
        throw std::logic_error("a machine with something open cannot be cloned");
    }
    auto copy = std::make_unique<Machine>();
    static_cast<MachineData&>(*copy->state_) = static_cast<const MachineData&>(*state_);
    return copy;
}

Kernel& Machine::kernel() { return state_->kernel; }
Registry& Machine::registry() { return state_->registry; }
Network& Machine::network() { return state_->network; }
Locale& Machine::locale() { return state_->locale; }
Shell& Machine::shell() { return state_->shell; }
Desktop& Machine::desktop() { return state_->desktop; }
void Machine::QueueSaveAnswer(std::optional<std::string> path) { state_->saveAnswers.push_back(std::move(path)); }
const std::vector<SaveDialogCall>& Machine::SaveDialogs() const { return state_->saveDialogs; }
const std::optional<std::string>& Machine::ClipboardText() const { return state_->clipboardText; }
int Machine::OpenGlobalBlockCount() const { return static_cast<int>(state_->globalBlocks.size()); }
Device& Machine::device() { return state_->device; }
Security& Machine::security() { return state_->security; }
Multimedia& Machine::multimedia() { return state_->multimedia; }
Modules& Machine::modules() { return state_->modules; }
ULONGLONG Machine::ClockMicroseconds() const { return state_->clockMicroseconds; }
int Machine::ChecksRun() const { return state_->checksRun; }
int Machine::LoadedLibraryCount() const { return state_->loadedLibraries; }
Wmi& Machine::wmi() { return state_->wmi; }
SimWmi& Machine::WmiService() { return state_->wmiData; }
std::vector<SimVolume>& Machine::Volumes() { return state_->volumes; }
const std::vector<std::string>& Machine::WmiQueries() const { return state_->wmiQueries; }

SimDrive* Machine::State::Effective(char letter) { return Effective(letter, 0); }

SimDrive* Machine::State::Effective(char letter, int depth) {
    // Letters defined on each other stand on nothing.
    if (depth > 26) return nullptr;
    auto defined = definitions.find(letter);
    if (defined != definitions.end() && !defined->second.empty()) {
        const std::string& target = defined->second.back();
        // "\??\X:..." stands on drive X.
        if (target.size() >= 6 && target.compare(0, 4, "\\??\\") == 0 && target[5] == ':') {
            const char base = UpperAscii(std::string(1, target[4]))[0];
            if (base != letter) return Effective(base, depth + 1);
        }
        return nullptr;
    }
    auto d = drives.find(letter);
    return d != drives.end() && d->second.present ? &d->second : nullptr;
}

bool Machine::State::Present(char letter) {
    auto defined = definitions.find(letter);
    if (defined != definitions.end() && !defined->second.empty()) return true;
    auto d = drives.find(letter);
    return d != drives.end() && d->second.present;
}

HANDLE Machine::State::NewHandle() {
    const HANDLE h = nextHandle;
    nextHandle += 4;
    openHandles.insert(h);
    return h;
}

std::optional<std::string> Machine::FileText(const std::string& path) const {
    auto it = state_->files.find(UpperAscii(path));
    if (it == state_->files.end()) return std::nullopt;
    return it->second.text;
}

const std::string& Machine::LastBrowseTitle() const { return state_->lastBrowseTitle; }
HWND Machine::LastBrowseOwner() const { return state_->lastBrowseOwner; }

int Machine::OpenKeyCount() const { return static_cast<int>(state_->openKeys.size()); }
int Machine::OpenHandleCount() const { return static_cast<int>(state_->openHandles.size()); }

int Machine::CallCount(const std::string& call) const {
    auto it = state_->calls.find(call);
    return it == state_->calls.end() ? 0 : it->second;
}

int Machine::CallCount(const std::string& call, char letter) const { return CallCount(call + ":" + letter); }

void Machine::ResetCallCounts() { state_->calls.clear(); }
UINT Machine::CurrentErrorMode() const { return state_->errorMode; }
UINT Machine::ErrorModeAtLastSpaceProbe() const { return state_->errorModeAtSpaceProbe; }
const std::vector<RegWrite>& Machine::RegistryWrites() const { return state_->writes; }
const std::string& Machine::Name() const { return state_->name; }

std::optional<RegValue> Machine::RegistryValue(const std::string& keyPath, const std::string& name) const {
    auto key = state_->keys.find(UpperAscii(keyPath));
    if (key == state_->keys.end()) return std::nullopt;
    auto value = key->second.values.find(UpperAscii(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second;
}

std::map<char, SimDrive>& Machine::Drives() { return state_->drives; }
std::map<std::string, RegKey>& Machine::RegistryKeys() { return state_->keys; }

void Machine::SetLocale(std::string decimal, std::string thousand) {
    state_->decimal = std::move(decimal);
    state_->thousand = std::move(thousand);
}

void Machine::SetFreeSpaceExAvailable(bool available) { state_->freeSpaceEx = available; }
SimToken& Machine::Token() { return state_->token; }
SimMci& Machine::Mci() { return state_->mci; }
std::map<int, PhysicalDisk>& Machine::PhysicalDisks() { return state_->physicalDisks; }
std::optional<PhysicalDisk>& Machine::SmartVsd() { return state_->smartVsd; }

const std::vector<DeviceOpen>& Machine::DeviceOpens() const { return state_->deviceOpens; }
const std::vector<DeviceRequest>& Machine::DeviceRequests() const { return state_->deviceRequests; }
DWORD Machine::SleptMilliseconds() const { return state_->slept; }
int Machine::OpenSidCount() const { return static_cast<int>(state_->sids.size()); }
const std::vector<MciCall>& Machine::MciCalls() const { return state_->mciCalls; }
const std::vector<ShellRequest>& Machine::ShellRequests() const { return state_->shellRequests; }
int Machine::OpenAutomationObjectCount() const { return static_cast<int>(state_->automationObjects.size()); }
std::vector<ShellRefusal>& Machine::ShellRefusals() { return state_->shellRefusals; }
int Machine::OpenMciDeviceCount() const { return static_cast<int>(state_->openMci.size()); }

bool Machine::MediaLocked(char letter) const {
    for (const auto& [handle, open] : state_->openDevices) {
        if (open.letter == letter && open.locks > 0) return true;
    }
    return false;
}

}  // namespace tw::sim
