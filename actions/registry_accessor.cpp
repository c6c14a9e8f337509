#include "actions/registry_accessor.h"

#include <array>

#include "platform/app_error.h"

namespace tw::actions {

using namespace tw::platform;

RegistryAccessor::RegistryAccessor(Registry& registry, HKEY root) : registry_(registry), root_(root) {}

RegistryAccessor::~RegistryAccessor() { CloseKey(); }

bool RegistryAccessor::OpenKey(const std::string& path) {
    CloseKey();
    std::string relative = path;
    if (!relative.empty() && relative[0] == '\\') relative.erase(0, 1);
    HKEY key = 0;
    DWORD disposition = 0;
    LONG rc = registry_.RegCreateKeyExA(root_, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, &key, &disposition);
    if (rc != static_cast<LONG>(ERROR_SUCCESS)) return false;
    key_ = key;
    return true;
}

bool RegistryAccessor::ValueExists(const std::string& name) {
    if (!key_) return false;
    DWORD type = REG_NONE;
    DWORD size = 0;
    const LONG rc = registry_.RegQueryValueExA(*key_, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == static_cast<LONG>(ERROR_SUCCESS)) return true;
    if (rc == static_cast<LONG>(ERROR_FILE_NOT_FOUND)) return false;
    // A value that could not be looked at is not a missing one: taking it for
    // missing would write over what it holds.
    throw AppError("Failed to get data for '" + name + "'");
}

DWORD RegistryAccessor::ReadInteger(const std::string& name) {
    std::array<BYTE, 4> data{};
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    if (!key_ || registry_.RegQueryValueExA(*key_, name.c_str(), nullptr, &type, data.data(), &size) !=
                     static_cast<LONG>(ERROR_SUCCESS)) {
        throw AppError("Failed to get data for '" + name + "'");
    }
    if (type != REG_DWORD) throw AppError("Invalid data type for '" + name + "'");
    return DWORD{data[0]} | DWORD{data[1]} << 8 | DWORD{data[2]} << 16 | DWORD{data[3]} << 24;
}

void RegistryAccessor::WriteInteger(const std::string& name, DWORD value) {
    const std::array<BYTE, 4> data{static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                                   static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    if (!key_ || registry_.RegSetValueExA(*key_, name.c_str(), 0, REG_DWORD, data.data(),
                                          static_cast<DWORD>(data.size())) != static_cast<LONG>(ERROR_SUCCESS)) {
        throw AppError("Failed to set data for '" + name + "'");
    }
}

void RegistryAccessor::CloseKey() {
    if (key_) {
        registry_.RegCloseKey(*key_);
        key_.reset();
    }
}

}  // namespace tw::actions
