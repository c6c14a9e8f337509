// The Windows headers as this GUI uses them. Everything in gui/win32 includes
// them through here, so that their name-changing macros are dealt with once.
#pragma once
// The platform layer spells Windows constants as C++ constants of the same
// names; it must be read before <windows.h> turns those names into macros.
#include "platform/platform.h"

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <commctrl.h>
#include <shellapi.h>

// The logic's dialog interface has a member named MessageBox; the ANSI/wide
// macro must not rename it in this code.
#undef MessageBox
