// A simulated Windows machine read from a JSON description (see
// docs/machine-format.md). It answers the platform calls the way Windows does,
// failures and last-error codes included, and keeps count of what callers left
// open so tests can check that every handle and key was closed (what they can
// look at is in machine_spy.h).
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "platform/sim/machine_records.h"
#include "platform/sim/machine_spy.h"

namespace tw::sim {

// Limits of a machine description: far above any real one, low enough that a
// hostile file costs little.
inline constexpr std::size_t kMaxMachineFileSize = 4 * 1024 * 1024;
inline constexpr int kMaxMachineFileDepth = 32;

// A malformed or unreadable machine description.
class MachineFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A call the description says raises instead of returning: the simulated
// counterpart of a fault inside a system call.
class SimulatedFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Machine final : public Platform, public MachineSpy {
public:
    // Throws MachineFormatError naming `origin` (a file name) and what is wrong.
    static std::unique_ptr<Machine> FromJsonText(const std::string& text, const std::string& origin);
    static std::unique_ptr<Machine> FromFile(const std::string& path);

    Machine();
    ~Machine() override;

    // A machine in the same state as this one, which must have nothing open
    // (no handle, key, SID or device): loading a description once and
    // cloning it is much faster than loading it again.
    std::unique_ptr<Machine> Clone() const;

    Kernel& kernel() override;
    Registry& registry() override;
    Network& network() override;
    Locale& locale() override;
    Shell& shell() override;
    Device& device() override;
    Security& security() override;
    Multimedia& multimedia() override;
    Modules& modules() override;
    Wmi& wmi() override;
    Desktop& desktop() override;

    // Fault injection (docs/machine-format.md, "Injected faults").
    void AddFault(FaultRule rule);
    // The Save dialog answers the next showing with `path`; none cancels it.
    void QueueSaveAnswer(std::optional<std::string> path);

    // Direct access for tests that build a machine in code.
    std::map<char, SimDrive>& Drives();
    std::map<std::string, RegKey>& RegistryKeys();  // by upper-cased full path
    void SetLocale(std::string decimal, std::string thousand);
    void SetFreeSpaceExAvailable(bool available);
    SimToken& Token();
    // Physical disks by number (NT family).
    std::map<int, PhysicalDisk>& PhysicalDisks();
};

}  // namespace tw::sim
