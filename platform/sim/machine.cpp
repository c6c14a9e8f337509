#include <cctype>

#include "platform/drive_names.h"
#include "platform/sim/state.h"

namespace tw::sim {

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

char LetterOf(const char* path) {
    if (path == nullptr || path[0] == 0 || path[1] != ':') return 0;
    return platform::AsDriveLetter(path[0]);
}

DWORD MachineState::Enter(SimCall call, char letter) {
    ++calls[static_cast<std::size_t>(call)];
    if (letter != 0) {
        ++callsFor[{call, letter}];
        auto d = drives.find(letter);
        if (d != drives.end()) {
            auto r = d->second.raises.find(call);
            if (r != d->second.raises.end()) throw SimulatedFault(r->second);
        }
    }
    if (NeverFails(call)) return ERROR_SUCCESS;
    ++fallibleCalls;
    DWORD error = ERROR_SUCCESS;
    for (auto& [rule, seen] : faults) {
        if ((rule.call && *rule.call != call) || (rule.letter != 0 && rule.letter != letter)) continue;
        if (++seen != rule.nth) continue;
        faultedCalls.push_back(call);
        if (rule.removeMedium) {
            RemoveMedium(rule.letter);
        } else if (rule.removeDrive) {
            RemoveDrive(rule.letter);
        } else if (error == ERROR_SUCCESS) {
            error = rule.error;
        }
    }
    return error;
}

bool MachineState::Faulted(SimCall call, char letter) {
    const DWORD fault = Enter(call, letter);
    if (fault != ERROR_SUCCESS) lastError = fault;
    return fault != ERROR_SUCCESS;
}

void MachineState::RemoveMedium(char letter) {
    auto d = drives.find(letter);
    if (d == drives.end()) return;
    d->second.volume = {std::nullopt, ERROR_NOT_READY};
    d->second.space = {std::nullopt, ERROR_NOT_READY};
    if (d->second.device && d->second.device->scsi) d->second.device->scsi->medium = false;
}

void MachineState::RemoveDrive(char letter) {
    auto d = drives.find(letter);
    if (d == drives.end()) return;
    d->second.present = false;
    d->second.type = DRIVE_NO_ROOT_DIR;
    if (d->second.device) d->second.device->removed = true;
}

SimDrive* MachineState::DriveOf(const char* path) {
    if (path == nullptr || path[0] == 0) return nullptr;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    if (path[1] != ':') return nullptr;
    auto it = drives.find(letter);
    return it == drives.end() ? nullptr : &it->second;
}

SimDrive* MachineState::Effective(char letter, int depth) {
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

bool MachineState::Present(char letter) {
    auto defined = definitions.find(letter);
    if (defined != definitions.end() && !defined->second.empty()) return true;
    auto d = drives.find(letter);
    return d != drives.end() && d->second.present;
}

HANDLE MachineState::NewHandle() {
    const HANDLE h = nextHandle;
    nextHandle += 4;
    openHandles.insert(h);
    return h;
}

Machine::Machine() : MachineSpy(std::make_unique<MachineState>()) {}
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
Device& Machine::device() { return state_->device; }
Security& Machine::security() { return state_->security; }
Multimedia& Machine::multimedia() { return state_->multimedia; }
Modules& Machine::modules() { return state_->modules; }
Wmi& Machine::wmi() { return state_->wmi; }
Desktop& Machine::desktop() { return state_->desktop; }

void Machine::AddFault(FaultRule rule) { state_->faults.emplace_back(std::move(rule), 0); }
void Machine::QueueSaveAnswer(std::optional<std::string> path) { state_->saveAnswers.push_back(std::move(path)); }

std::map<char, SimDrive>& Machine::Drives() { return state_->drives; }
std::map<std::string, RegKey>& Machine::RegistryKeys() { return state_->keys; }

void Machine::SetLocale(std::string decimal, std::string thousand) {
    state_->decimal = std::move(decimal);
    state_->thousand = std::move(thousand);
}

void Machine::SetFreeSpaceExAvailable(bool available) { state_->freeSpaceEx = available; }
SimToken& Machine::Token() { return state_->token; }
std::map<int, PhysicalDisk>& Machine::PhysicalDisks() { return state_->physicalDisks; }

}  // namespace tw::sim
