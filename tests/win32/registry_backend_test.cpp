// The registry part of the real backend against Wine's registry: a scratch key
// of the test's own under HKCU\Software, deleted afterwards; and the drive
// policy read by the program, with the user's policy put back afterwards.
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace tw::win32_test {
namespace {

using tw::platform::win32::Win32Platform;
using tw::platform::win32::Win32Registry;
namespace tp = tw::platform;

std::string ScratchKeyPath() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    char name[96];
    std::snprintf(name, sizeof name, "Software\\TarnwellTest-%lx-%llx",
                  static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long long>(counter.QuadPart));
    return name;
}

class RegistryBackend : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ScratchKeyPath();
        ASSERT_FALSE(KeyExists(path_.c_str()));
        tp::DWORD disposition = 0;
        ASSERT_EQ(registry_.RegCreateKeyExA(kOurCurrentUser, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_ALL_ACCESS, nullptr, &key_, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, static_cast<tp::DWORD>(REG_CREATED_NEW_KEY));
    }

    void TearDown() override {
        if (key_ != 0) registry_.RegCloseKey(key_);
        if (!path_.empty()) {
            ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
            EXPECT_FALSE(KeyExists(path_.c_str()));
        }
    }

    // The scratch key opened directly, for cross-checks.
    HKEY OpenDirect() {
        HKEY key = nullptr;
        EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
        return key;
    }

    Win32Registry registry_;
    std::string path_;
    tp::HKEY key_ = 0;
};

// The key made through our HKEY_CURRENT_USER value is the system's HKCU key.
// (64-bit Windows names its predefined keys by sign-extended values; Wine
// takes the plain 32-bit value as well, so under wine64 this would pass even
// without the backend's translation.)
TEST_F(RegistryBackend, CreatedKeyIsInTheRealCurrentUserHive) {
    EXPECT_TRUE(KeyExists(path_.c_str()));
    // Asking again opens the same key.
    tp::HKEY again = 0;
    tp::DWORD disposition = 0;
    ASSERT_EQ(registry_.RegCreateKeyExA(kOurCurrentUser, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &again, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<tp::DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(registry_.RegCloseKey(again), ERROR_SUCCESS);
}

TEST_F(RegistryBackend, SubkeyOfAnOpenedKeyIsCreatedUnderIt) {
    tp::HKEY sub = 0;
    tp::DWORD disposition = 0;
    ASSERT_EQ(registry_.RegCreateKeyExA(key_, "Inner", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                        &sub, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<tp::DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_EQ(registry_.RegCloseKey(sub), ERROR_SUCCESS);
    EXPECT_TRUE(KeyExists((path_ + "\\Inner").c_str()));
}

TEST_F(RegistryBackend, DwordRoundTripsBothWays) {
    const tp::DWORD written = 0x89ABCDEF;
    ASSERT_EQ(registry_.RegSetValueExA(key_, "Ours", 0, REG_DWORD, reinterpret_cast<const tp::BYTE*>(&written), 4),
              ERROR_SUCCESS);
    HKEY direct = OpenDirect();
    ::DWORD type = 0, value = 0, size = 4;
    ASSERT_EQ(::RegQueryValueExA(direct, "Ours", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<::DWORD>(REG_DWORD));
    EXPECT_EQ(value, written);
    EXPECT_EQ(size, 4u);

    const ::DWORD theirs = 0x00C0FFEE;
    ASSERT_EQ(::RegSetValueExA(direct, "Theirs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&theirs), 4),
              ERROR_SUCCESS);
    ::RegCloseKey(direct);
    tp::DWORD readType = 0, read = 0, readSize = 4;
    ASSERT_EQ(
        registry_.RegQueryValueExA(key_, "Theirs", nullptr, &readType, reinterpret_cast<tp::BYTE*>(&read), &readSize),
        ERROR_SUCCESS);
    EXPECT_EQ(readType, static_cast<tp::DWORD>(REG_DWORD));
    EXPECT_EQ(read, theirs);
    EXPECT_EQ(readSize, 4u);
}

TEST_F(RegistryBackend, SizeQueryWithoutABufferReportsTypeAndSize) {
    const std::array<tp::BYTE, 8> data{1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(registry_.RegSetValueExA(key_, "Blob", 0, REG_BINARY, data.data(), 8), ERROR_SUCCESS);
    tp::DWORD type = 0, size = 0;
    EXPECT_EQ(registry_.RegQueryValueExA(key_, "Blob", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<tp::DWORD>(REG_BINARY));
    EXPECT_EQ(size, 8u);
}

TEST_F(RegistryBackend, ShortBufferGetsMoreDataAndTheNeededSize) {
    const std::array<tp::BYTE, 8> data{1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(registry_.RegSetValueExA(key_, "Blob", 0, REG_BINARY, data.data(), 8), ERROR_SUCCESS);
    std::array<tp::BYTE, 4> small{};
    tp::DWORD type = 0, size = 4;
    EXPECT_EQ(registry_.RegQueryValueExA(key_, "Blob", nullptr, &type, small.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    std::array<tp::BYTE, 8> full{};
    EXPECT_EQ(registry_.RegQueryValueExA(key_, "Blob", nullptr, &type, full.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(full, data);
}

TEST_F(RegistryBackend, MissingValueIsFileNotFound) {
    tp::DWORD type = 0, size = 4;
    std::array<tp::BYTE, 4> data{};
    EXPECT_EQ(registry_.RegQueryValueExA(key_, "NoSuchValue", nullptr, &type, data.data(), &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryBackend, ClosingAKeyTwiceFails) {
    tp::HKEY again = 0;
    ASSERT_EQ(registry_.RegCreateKeyExA(kOurCurrentUser, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &again, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(registry_.RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(registry_.RegCloseKey(again), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryBackend, AccessorReadsAndWritesIntegersThroughTheBackend) {
    actions::RegistryAccessor accessor(registry_, kOurCurrentUser);
    ASSERT_TRUE(accessor.OpenKey("\\" + path_));
    EXPECT_FALSE(accessor.ValueExists("Count"));
    accessor.WriteInteger("Count", 0x01020304);
    EXPECT_TRUE(accessor.ValueExists("Count"));
    EXPECT_EQ(accessor.ReadInteger("Count"), 0x01020304u);

    // An 8-byte value does not fit the accessor's 4 bytes.
    const std::array<tp::BYTE, 8> blob{1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(registry_.RegSetValueExA(key_, "Blob", 0, REG_BINARY, blob.data(), 8), ERROR_SUCCESS);
    EXPECT_THROW(accessor.ReadInteger("Blob"), std::exception);
    // Four bytes of another type are refused by type.
    ASSERT_EQ(registry_.RegSetValueExA(key_, "Quad", 0, REG_BINARY, blob.data(), 4), ERROR_SUCCESS);
    try {
        accessor.ReadInteger("Quad");
        ADD_FAILURE() << "a REG_BINARY value was read as an integer";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid data type for 'Quad'");
    }
}

// ---- The drive policy, read from the real registry ----

class PolicyOnRealRegistry : public ::testing::Test {
protected:
    PolicyGuard guard_;
    Win32Platform platform_;
};

TEST_F(PolicyOnRealRegistry, NoValueMeansNoPolicy) {
    for (char letter : {'A', 'C', 'Z'}) {
        EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), letter), actions::kNoPolicy) << letter;
    }
}

TEST_F(PolicyOnRealRegistry, NoDrivesBitsHideTheirLetters) {
    const ::DWORD hideDAndZ = (1u << ('D' - 'A')) | (1u << ('Z' - 'A'));
    guard_.SetNoDrives(REG_DWORD, &hideDAndZ, 4);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'D'), actions::kHidden);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'd'), actions::kHidden);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'Z'), actions::kHidden);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'C'), actions::kVisible);
}

TEST_F(PolicyOnRealRegistry, ValueOfAnotherTypeCountsAsNoPolicy) {
    const std::array<BYTE, 4> bits{0xFF, 0xFF, 0xFF, 0x03};
    guard_.SetNoDrives(REG_BINARY, bits.data(), 4);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'C'), actions::kNoPolicy);
}

}  // namespace
}  // namespace tw::win32_test
