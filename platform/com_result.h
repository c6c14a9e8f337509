// COM result codes shared by the shell's automation and the management
// service: success, the failure test, and the codes both can return.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace tw::platform {

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
// HRESULT values are written as their unsigned hexadecimal form.
constexpr HRESULT HResult(std::uint32_t code) { return static_cast<HRESULT>(code); }
constexpr bool Failed(HRESULT hr) { return hr < 0; }
constexpr HRESULT REGDB_E_CLASSNOTREG = HResult(0x80040154u);

}  // namespace tw::platform
