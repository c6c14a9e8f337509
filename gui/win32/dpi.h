// Per-monitor DPI: the process awareness, a window's DPI and scaling of the
// 96-dpi pixel sizes the logic and the column table use.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

// Asks for per-monitor (v2) awareness when the manifest was not honoured:
// tries the newest call the system has and falls back step by step.
void EnableDpiAwareness();

UINT DpiOf(HWND hwnd);
inline int Scale(int pixels96, UINT dpi) { return MulDiv(pixels96, static_cast<int>(dpi), 96); }
inline int Unscale(int pixels, UINT dpi) { return MulDiv(pixels, 96, static_cast<int>(dpi)); }
int SystemMetricForDpi(int index, UINT dpi);
// Grows a client rectangle to the window rectangle of that style at that DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
// The message-box font for that DPI, optionally bold.
HFONT CreateMessageFont(UINT dpi, bool bold = false, int extraPoints = 0);

}  // namespace tw::gui
