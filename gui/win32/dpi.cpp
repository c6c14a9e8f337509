#include "gui/win32/dpi.h"

#include "platform/win32/system_library.h"

namespace tw::gui {

namespace {

// An export of a system library: one the program has loaded already, else
// the library from the system folder.
template <typename F>
F Lookup(const char* module, const char* name) {
    HMODULE m = GetModuleHandleA(module);
    if (!m) m = static_cast<HMODULE>(tw::platform::win32::LoadSystemLibrary(module));
    return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace

void EnableDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAwareness = HRESULT(WINAPI*)(int);
    using SetAware = BOOL(WINAPI*)();
    if (auto set = Lookup<SetContext>("user32.dll", "SetProcessDpiAwarenessContext")) {
        // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then the first version.
        if (set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
        if (GetLastError() == ERROR_ACCESS_DENIED) return;  // already set, by the manifest
        if (set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)))) return;
        if (GetLastError() == ERROR_ACCESS_DENIED) return;  // a system without the second version
    }
    // The manifest asks for per-monitor awareness; a system that took it
    // (Windows 8.1 reads "true/pm") needs no more, and the shell's scaling
    // library, loaded for the call below, would cost the start its loading.
    using IsAware = BOOL(WINAPI*)();
    if (auto aware = Lookup<IsAware>("user32.dll", "IsProcessDPIAware"); aware && aware()) return;
    if (auto set = Lookup<SetAwareness>("shcore.dll", "SetProcessDpiAwareness")) {
        const HRESULT hr = set(2);  // PROCESS_PER_MONITOR_DPI_AWARE
        if (SUCCEEDED(hr) || hr == E_ACCESSDENIED) return;
    }
    if (auto set = Lookup<SetAware>("user32.dll", "SetProcessDPIAware")) set();
}

UINT DpiOf(HWND hwnd) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = Lookup<GetDpi>("user32.dll", "GetDpiForWindow");
    if (getDpi && hwnd) {
        const UINT dpi = getDpi(hwnd);
        if (dpi) return dpi;
    }
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int SystemMetricForDpi(int index, UINT dpi) {
    using GetMetric = int(WINAPI*)(int, UINT);
    static const auto getMetric = Lookup<GetMetric>("user32.dll", "GetSystemMetricsForDpi");
    if (getMetric) return getMetric(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(DpiOf(nullptr)));
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = Lookup<Adjust>("user32.dll", "AdjustWindowRectExForDpi");
    if (adjust && adjust(&rect, style, FALSE, exStyle, dpi)) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

HFONT CreateMessageFont(UINT dpi, bool bold, int extraPoints) {
    using GetParams = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto getParams = Lookup<GetParams>("user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (getParams && getParams(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(DpiOf(nullptr)));
    } else {
        font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
        lstrcpyW(font.lfFaceName, L"Tahoma");
    }
    if (extraPoints) {
        const int sign = font.lfHeight < 0 ? -1 : 1;
        font.lfHeight += sign * MulDiv(extraPoints, static_cast<int>(dpi), 72);
    }
    if (bold) font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

}  // namespace tw::gui
