#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

DWORD SimNetwork::WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) {
    char letter = 0;
    if (localName && localName[0] && localName[1] == ':' && localName[2] == 0) {
        letter = static_cast<char>(UpperAscii(std::string(1, localName[0]))[0]);
    }
    if (const DWORD fault = s_.Enter(SimCall::WNetGetConnectionA, letter)) return fault;
    if (letter < 'A' || letter > 'Z' || length == nullptr) return ERROR_BAD_DEVICE;
    auto it = s_.drives.find(letter);
    if (it == s_.drives.end()) return ERROR_NOT_CONNECTED;
    const Answer<std::string>& c = it->second.connection;
    if (!c.value) return c.error == ERROR_SUCCESS ? ERROR_NOT_CONNECTED : c.error;
    const auto needed = static_cast<DWORD>(c.value->size() + 1);
    if (remoteName == nullptr || *length < needed) {
        *length = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(remoteName, c.value->c_str(), needed);
    return ERROR_SUCCESS;
}

namespace {

// The network dialogs are recorded, and refused, as shell requests.
ShellRequest DialogRequest(SimCall call, HWND hwnd, DWORD type) {
    ShellRequest r;
    r.call = call;
    r.window = hwnd;
    r.type = type;
    return r;
}

}  // namespace

DWORD SimNetwork::WNetConnectionDialog(HWND hwnd, DWORD type) {
    return s_.Request(DialogRequest(SimCall::WNetConnectionDialog, hwnd, type));
}

DWORD SimNetwork::WNetDisconnectDialog(HWND hwnd, DWORD type) {
    return s_.Request(DialogRequest(SimCall::WNetDisconnectDialog, hwnd, type));
}

int SimLocale::GetLocaleInfoA(LCID, LCTYPE type, char* data, int dataSize) {
    if (s_.Faulted(SimCall::GetLocaleInfoA)) return 0;
    const std::string* text = nullptr;
    if (type == LOCALE_SDECIMAL) text = &s_.decimal;
    if (type == LOCALE_STHOUSAND) text = &s_.thousand;
    if (text == nullptr) return s_.Fail(ERROR_INVALID_PARAMETER, 0);
    const int needed = static_cast<int>(text->size() + 1);
    if (dataSize == 0) return needed;
    if (data == nullptr || dataSize < needed) return s_.Fail(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(data, text->c_str(), static_cast<size_t>(needed));
    return needed;
}

}  // namespace tw::sim
