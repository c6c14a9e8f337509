// The platform's contract on the real Windows calls, as the system the tests
// run on answers them (Wine on the development machines: under Wine the cases
// expect Wine's answers where they are marked so).
#include "../contract/platform_contract.h"
#include "platform/win32/win32_platform.h"

namespace {
const char* const kScratch = tw::contract::kScratchKey;
}  // namespace

#include "platform/win32/windows_headers.h"

#include <cstring>

namespace {

using tw::contract::Backend;

// Wine's ntdll exports wine_get_version; Windows' does not.
bool RunningOnWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

const Backend kReal{"real",
                    [] { return std::unique_ptr<tw::platform::Platform>(new tw::platform::win32::Win32Platform); },
                    RunningOnWine(), [] { ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }};

}  // namespace

namespace tw::contract {
INSTANTIATE_TEST_SUITE_P(Backends, PlatformContract, ::testing::Values(kReal), BackendName);
}  // namespace tw::contract
