// Little-endian fields of a byte record, written and read at explicit
// offsets: the one way every record of the program is laid out and read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/win_types.h"

namespace tw::platform {

// `width` bytes (1 to 8) of `value` at `at`, lowest first.
inline void PutLittleEndian(std::span<BYTE> out, std::size_t at, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out[at + i] = static_cast<BYTE>(value >> (8 * i));
}

inline std::uint64_t GetLittleEndian(std::span<const BYTE> in, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{in[at + i]} << (8 * i);
    return value;
}

}  // namespace tw::platform
