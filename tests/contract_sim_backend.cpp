// The platform's contract on the simulated machine, set up as the drives of a
// Wine prefix (tests/data/contract-machine.json) so that the same cases hold
// for it and for the real calls.
#include "contract/platform_contract.h"
#include "platform/sim/machine.h"

namespace {

using tw::contract::Backend;

const Backend kSimulated{"simulated",
                         [] {
                             return std::unique_ptr<tw::platform::Platform>(
                                 tw::sim::Machine::FromFile(std::string(TW_TESTDATA_DIR) + "/contract-machine.json"));
                         },
                         false,
                         {}};

}  // namespace

namespace tw::contract {
INSTANTIATE_TEST_SUITE_P(Backends, PlatformContract, ::testing::Values(kSimulated), BackendName);
}  // namespace tw::contract
