// Entry points for what the program reads from files: machine descriptions
// and scripts, and the two together driving the main window.
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "actions/drive_visibility.h"
#include "cli/cli.h"
#include "cli/script_runner.h"
#include "fuzz/targets.h"
#include "platform/drive_names.h"
#include "platform/sim/machine.h"

namespace tw::fuzz {

namespace {

const sim::Machine& Workstation() {
    static const auto machine = sim::Machine::FromJsonText(cli::kBundledMachine, "workstation.json");
    return *machine;
}

std::unique_ptr<sim::Machine> Load(std::string_view text) {
    try {
        return sim::Machine::FromJsonText(std::string(text), "fuzz.json");
    } catch (const sim::MachineFormatError&) {
        return nullptr;
    }
}

void CheckNothingOpen(const sim::Machine& m) {
    TW_FUZZ_CHECK(m.OpenHandleCount() == 0, "a handle was left open");
    TW_FUZZ_CHECK(m.OpenKeyCount() == 0, "a registry key was left open");
    TW_FUZZ_CHECK(m.OpenSidCount() == 0, "a SID was left allocated");
    TW_FUZZ_CHECK(m.OpenMciDeviceCount() == 0, "an MCI device was left open");
}

bool HiddenInPolicy(const sim::Machine& m, char letter) {
    const auto value = m.RegistryValue(std::string("HKEY_CURRENT_USER") + actions::kPolicyKey, actions::kNoDrives);
    if (!value || value->type != platform::REG_DWORD || value->data.size() < 4) return false;
    const platform::DWORD bits = platform::DWORD{value->data[0]} | platform::DWORD{value->data[1]} << 8 |
                                 platform::DWORD{value->data[2]} << 16 | platform::DWORD{value->data[3]} << 24;
    return (bits & platform::DriveBit(letter)) != 0;
}

bool Changed(const sim::Machine& m, std::size_t since, const std::string& change) {
    for (std::size_t i = since; i < m.Changes().size(); ++i) {
        if (m.Changes()[i] == change) return true;
    }
    return false;
}

// Every success box printed in `boxes` stands for a change the machine shows.
void CheckSuccessBoxes(std::string_view boxes, const sim::Machine& m, std::size_t changesBefore) {
    std::istringstream lines{std::string(boxes)};
    std::string line;
    while (std::getline(lines, line)) {
        constexpr std::string_view kDrive = "[information] Drive ";
        constexpr std::string_view kDoor = "[information] CD/DVD Drive ";
        if (line.rfind(kDrive, 0) == 0 && line.size() > kDrive.size()) {
            const char letter = line[kDrive.size()];
            if (line.find(": has now been hidden.") != std::string::npos) {
                TW_FUZZ_CHECK(HiddenInPolicy(m, letter), "hidden, says the box, but the policy does not hide it");
            } else if (line.find(": has now been Unhidden.") != std::string::npos) {
                TW_FUZZ_CHECK(!HiddenInPolicy(m, letter), "unhidden, says the box, but the policy still hides it");
            }
        } else if (line.rfind(kDoor, 0) == 0 && line.size() > kDoor.size()) {
            const std::string drive = std::string(1, line[kDoor.size()]) + ":";
            if (line.find(" door now locked.") != std::string::npos) {
                TW_FUZZ_CHECK(Changed(m, changesBefore, "lock " + drive), "locked, says the box, but no lock");
            } else if (line.find(" door now unlocked.") != std::string::npos) {
                TW_FUZZ_CHECK(Changed(m, changesBefore, "unlock " + drive), "unlocked, says the box, but no unlock");
            }
        }
    }
}

}  // namespace

int MachineFile(const std::uint8_t* data, std::size_t size) {
    auto machine = Load({reinterpret_cast<const char*>(data), size});
    if (!machine) return 0;
    std::ostream null(nullptr);
    cli::ScriptRunner runner(*machine, {}, null);
    std::istringstream script("activate\nlist\n");
    runner.Run(script, "fuzz", null);
    CheckNothingOpen(*machine);
    return 0;
}

int Script(const std::uint8_t* data, std::size_t size) {
    auto machine = Workstation().Clone();
    std::ostream null(nullptr);
    cli::ScriptRunner runner(*machine, {}, null);
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    runner.Run(script, "fuzz", null);
    return 0;
}

int MachineScript(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kSeparator = "\n%%\n";
    const std::size_t split = input.find(kSeparator);
    std::unique_ptr<sim::Machine> machine;
    std::string_view script = input;
    if (split != std::string_view::npos) {
        machine = Load(input.substr(0, split));
        if (!machine) return 0;
        script = input.substr(split + kSeparator.size());
    } else {
        machine = Workstation().Clone();
    }
    std::ostringstream out;
    std::ostream null(nullptr);
    cli::ScriptRunner runner(*machine, {}, out);
    CheckNothingOpen(*machine);
    std::istringstream lines{std::string(script)};
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t printed = out.str().size();
        const std::size_t changes = machine->Changes().size();
        std::istringstream one(line);
        runner.Run(one, "fuzz", null);
        CheckNothingOpen(*machine);
        CheckSuccessBoxes(std::string_view(out.str()).substr(printed), *machine, changes);
    }
    return 0;
}

}  // namespace tw::fuzz
