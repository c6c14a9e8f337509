// <windows.h> as every Windows-only file takes it: lean, and without the
// min and max macros that would break the standard library.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX  // libstdc++ for MinGW defines it already
#define NOMINMAX
#endif
#include <windows.h>
