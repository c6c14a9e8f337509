// A program or library planted under a system one's name: "NAME.ran" beside
// it says it ran, which no test run should ever find.
#include <windows.h>

static void LeaveMarker(HMODULE self) {
    char path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    CloseHandle(CreateFileA(lstrcatA(path, ".ran"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

#ifdef TW_PLANT_LIBRARY
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}
#else
int main() { LeaveMarker(nullptr); }
#endif
