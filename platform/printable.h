// Text from outside (a file name, a field name read from a file) as it goes
// into a message: control characters, a NUL among them, written as \xNN so
// the message prints whole and on one line.
#pragma once
#include <string>

namespace tw::platform {

inline std::string Printable(const std::string& text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace tw::platform
