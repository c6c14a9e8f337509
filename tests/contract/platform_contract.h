// The cases every backend of the platform must pass: the simulated machine
// natively and under Wine, and the real Windows calls under Wine. Each case is
// what Windows does; where Wine answers otherwise the case says what Wine
// answers and why (EXPECT_WINDOWS_ANSWER), so that a Wine that is mended
// fails the case and the mark goes.
#pragma once
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace tw::contract {

struct Backend {
    std::string name;
    // A platform in its starting state, for one case.
    std::function<std::unique_ptr<platform::Platform>()> make;
    // The real calls answered by Wine rather than by Windows.
    bool wine = false;
    // Puts back what the registry cases change (the key below); may be empty.
    std::function<void()> clearRegistry;
};

inline void PrintTo(const Backend& backend, std::ostream* out) { *out << backend.name; }

// The registry key the cases create and remove, relative to HKEY_CURRENT_USER.
inline constexpr const char* kScratchKey = "Software\\TarnwellContractCases";

class PlatformContract : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::Kernel& kernel() { return platform_->kernel(); }
    platform::Registry& registry() { return platform_->registry(); }
    platform::Device& device() { return platform_->device(); }
    bool underWine() const { return GetParam().wine; }
    // A letter from Y down to D with no drive; fails the case when none is free.
    char UnusedLetter();

private:
    std::unique_ptr<platform::Platform> platform_;
};

// The parameter's name in the cases' names.
inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) { return info.param.name; }

}  // namespace tw::contract

// Windows' answer; under Wine, Wine's answer `wine` for the reason `why`.
#define EXPECT_WINDOWS_ANSWER(actual, windows, wine, why)                              \
    do {                                                                               \
        const auto contractActual = (actual);                                          \
        if (underWine()) {                                                             \
            EXPECT_EQ(contractActual, (wine)) << "Wine differs from Windows: " << why; \
        } else {                                                                       \
            EXPECT_EQ(contractActual, (windows));                                      \
        }                                                                              \
    } while (0)
