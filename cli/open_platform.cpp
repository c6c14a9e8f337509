#include "cli/open_platform.h"

#include "cli/cli.h"
#include "platform/real_platform.h"
#include "platform/sim/machine.h"

namespace tw::cli {

std::unique_ptr<platform::Platform> OpenPlatform(const std::optional<std::string>& machineFile, std::ostream& err) {
    try {
        if (machineFile) return sim::Machine::FromFile(*machineFile);
        if (std::unique_ptr<platform::Platform> real = platform::MakeRealPlatform()) return real;
        err << "tarnwell-cli: no Windows here; using the bundled workstation machine\n";
        return sim::Machine::FromJsonText(kBundledMachine, "bundled workstation");
    } catch (const sim::MachineFormatError& e) {
        err << "tarnwell-cli: " << e.what() << '\n';
        return nullptr;
    }
}

}  // namespace tw::cli
