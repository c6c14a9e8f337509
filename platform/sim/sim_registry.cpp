#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

constexpr LONG ERROR_BAD_PATHNAME = 161;

std::string RootName(HKEY key) { return key == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : std::string(); }

}  // namespace

LONG SimRegistry::RegCreateKeyExA(HKEY key, const char* subKey, DWORD, char*, DWORD, REGSAM, void*, HKEY* result,
                                  DWORD* disposition) {
    if (const DWORD fault = s_.Enter(SimCall::RegCreateKeyExA)) return static_cast<LONG>(fault);
    std::string base;
    if (auto open = s_.openKeys.find(key); open != s_.openKeys.end()) {
        base = open->second;
    } else {
        base = RootName(key);
        if (base.empty()) return static_cast<LONG>(ERROR_INVALID_HANDLE);
    }
    if (subKey == nullptr || result == nullptr) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    // The registry refuses a sub-key that starts with a backslash.
    if (subKey[0] == '\\') return ERROR_BAD_PATHNAME;
    std::string path = subKey[0] ? base + "\\" + UpperAscii(subKey) : base;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    auto it = s_.keys.find(path);
    if (it != s_.keys.end() && it->second.createError != ERROR_SUCCESS) {
        return static_cast<LONG>(it->second.createError);
    }
    // A key that refuses creation also refuses creation of keys below it.
    for (const auto& [p, k] : s_.keys) {
        if (k.createError != ERROR_SUCCESS && path.size() > p.size() && path.compare(0, p.size(), p) == 0 &&
            path[p.size()] == '\\') {
            return static_cast<LONG>(k.createError);
        }
    }
    DWORD disp = REG_OPENED_EXISTING_KEY;
    if (it == s_.keys.end()) {
        // The keys on the way are created too (their own values stay as
        // they are when they exist).
        for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
            s_.keys.try_emplace(path.substr(0, at));
        }
        s_.keys.emplace(path, RegKey{});
        disp = REG_CREATED_NEW_KEY;
    }
    HKEY handle = s_.nextKey;
    s_.nextKey += 4;
    s_.openKeys.emplace(handle, path);
    *result = handle;
    if (disposition) *disposition = disp;
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG SimRegistry::RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (const DWORD fault = s_.Enter(SimCall::RegQueryValueExA)) return static_cast<LONG>(fault);
    auto open = s_.openKeys.find(key);
    if (open == s_.openKeys.end()) return static_cast<LONG>(ERROR_INVALID_HANDLE);
    RegKey& k = s_.keys[open->second];
    auto v = k.values.find(UpperAscii(valueName ? valueName : ""));
    if (v == k.values.end()) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    if (data != nullptr && dataSize == nullptr) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    if (type) *type = v->second.type;
    const auto size = static_cast<DWORD>(v->second.data.size());
    if (data != nullptr) {
        if (*dataSize < size) {
            *dataSize = size;
            return static_cast<LONG>(ERROR_MORE_DATA);
        }
        if (size) std::memcpy(data, v->second.data.data(), size);
    }
    if (dataSize) *dataSize = size;
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG SimRegistry::RegSetValueExA(HKEY key, const char* valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    if (const DWORD fault = s_.Enter(SimCall::RegSetValueExA)) return static_cast<LONG>(fault);
    auto open = s_.openKeys.find(key);
    if (open == s_.openKeys.end()) return static_cast<LONG>(ERROR_INVALID_HANDLE);
    RegKey& k = s_.keys[open->second];
    if (k.setError != ERROR_SUCCESS) return static_cast<LONG>(k.setError);
    if (data == nullptr && dataSize != 0) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    RegValue value{type, std::vector<BYTE>(data, data + dataSize)};
    std::string name = valueName ? valueName : "";
    k.values[UpperAscii(name)] = value;
    s_.writes.push_back(RegWrite{open->second, name, value});
    s_.changes.push_back("set " + open->second + "\\" + UpperAscii(name) + " type " + std::to_string(type) + " " +
                         std::string(value.data.begin(), value.data.end()));
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG SimRegistry::RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) {
    if (const DWORD fault = s_.Enter(SimCall::RegOpenKeyExA)) return static_cast<LONG>(fault);
    std::string path;
    if (auto open = s_.openKeys.find(key); open != s_.openKeys.end()) {
        path = open->second;
    } else {
        path = RootName(key);
        if (path.empty()) return static_cast<LONG>(ERROR_INVALID_HANDLE);
    }
    if (result == nullptr) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    // No sub-key, or an empty one, opens the parent again.
    if (subKey != nullptr && subKey[0] != 0) {
        if (subKey[0] == '\\') return ERROR_BAD_PATHNAME;
        path += "\\" + UpperAscii(subKey);
        while (path.back() == '\\') path.pop_back();
    }
    if (path != RootName(HKEY_CURRENT_USER) && s_.keys.count(path) == 0) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    const HKEY handle = s_.nextKey;
    s_.nextKey += 4;
    s_.openKeys.emplace(handle, path);
    *result = handle;
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG SimRegistry::RegDeleteValueA(HKEY key, const char* valueName) {
    if (const DWORD fault = s_.Enter(SimCall::RegDeleteValueA)) return static_cast<LONG>(fault);
    auto open = s_.openKeys.find(key);
    if (open == s_.openKeys.end()) return static_cast<LONG>(ERROR_INVALID_HANDLE);
    RegKey& k = s_.keys[open->second];
    if (k.setError != ERROR_SUCCESS) return static_cast<LONG>(k.setError);
    const std::string name = UpperAscii(valueName ? valueName : "");
    if (k.values.erase(name) == 0) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    s_.changes.push_back("delete " + open->second + "\\" + name);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG SimRegistry::RegCloseKey(HKEY key) {
    s_.Enter(SimCall::RegCloseKey);
    if (s_.openKeys.erase(key) == 0) return static_cast<LONG>(ERROR_INVALID_HANDLE);
    return static_cast<LONG>(ERROR_SUCCESS);
}

}  // namespace tw::sim
