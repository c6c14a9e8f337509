// One registry key opened for one operation, closed when the accessor goes.
// Read and write failures raise AppError with the registry's texts.
#pragma once
#include <optional>
#include <string>

#include "platform/registry.h"

namespace tw::actions {

class RegistryAccessor {
public:
    RegistryAccessor(platform::Registry& registry, platform::HKEY root);
    ~RegistryAccessor();
    RegistryAccessor(const RegistryAccessor&) = delete;
    RegistryAccessor& operator=(const RegistryAccessor&) = delete;

    // Opens the key with full access, creating it when missing. A leading
    // backslash makes the path absolute under the root. False on failure.
    bool OpenKey(const std::string& path);
    // False when the value is missing; raises "Failed to get data for 'NAME'"
    // when it can't be looked at.
    bool ValueExists(const std::string& name);
    // Raises "Failed to get data for 'NAME'" when the data can't be fetched
    // into 4 bytes, "Invalid data type for 'NAME'" when it isn't a REG_DWORD.
    platform::DWORD ReadInteger(const std::string& name);
    // Raises "Failed to set data for 'NAME'".
    void WriteInteger(const std::string& name, platform::DWORD value);
    void CloseKey();

private:
    platform::Registry& registry_;
    platform::HKEY root_;
    std::optional<platform::HKEY> key_;
};

}  // namespace tw::actions
