// The floor for a list refresh: only the system calls tarnwell-cli makes for
// each letter, with nothing built or printed. The benchmark times the two
// programs side by side.
#include <windows.h>

#include <cstdio>

int main() {
    const DWORD mask = GetLogicalDrives();
    int listed = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        char local[3] = {letter, ':', 0};
        char remote[260];
        DWORD length = sizeof remote;
        const DWORD connection = WNetGetConnectionA(local, remote, &length);
        if (!(mask & (1u << (letter - 'A'))) && connection != ERROR_CONNECTION_UNAVAIL) continue;
        ++listed;
        char root[4] = {letter, ':', '\\', 0};
        char label[81], fileSystem[21];
        DWORD serial = 0, maxComponent = 0, flags = 0;
        GetVolumeInformationA(root, label, sizeof label, &serial, &maxComponent, &flags, fileSystem, sizeof fileSystem);
        const UINT type = GetDriveTypeA(root);
        if (type == DRIVE_REMOTE) {
            length = sizeof remote;
            WNetGetConnectionA(local, remote, &length);
        } else if (type == DRIVE_FIXED) {
            char target[256];
            QueryDosDeviceA(local, target, sizeof target);
        }
        const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
        ULARGE_INTEGER freeToCaller, total, totalFree;
        GetDiskFreeSpaceExA(root, &freeToCaller, &total, &totalFree);
        SetErrorMode(previous);
        char label2[256];
        GetVolumeInformationA(root, label2, sizeof label2, &serial, &maxComponent, &flags, nullptr, 0);
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            DWORD value = 0, size = sizeof value, regType = 0;
            RegQueryValueExA(key, "NoDrives", nullptr, &regType, reinterpret_cast<BYTE*>(&value), &size);
            RegCloseKey(key);
        }
    }
    SetErrorMode(0);
    std::fputs(listed ? "" : "no drives\n", stdout);
    return 0;
}
