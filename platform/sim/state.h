// Internal state of the simulated machine, shared by its service objects.
#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/sim/machine.h"

namespace tw::sim {

std::string UpperAscii(std::string text);

class SimKernel final : public Kernel {
public:
    explicit SimKernel(Machine::State& s) : s_(s) {}
    DWORD GetLogicalDrives() override;
    UINT GetDriveTypeA(const char* rootPathName) override;
    BOOL GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                               DWORD* volumeSerialNumber, DWORD* maximumComponentLength,
                               DWORD* fileSystemFlags, char* fileSystemNameBuffer,
                               DWORD fileSystemNameSize) override;
    BOOL GetDiskFreeSpaceExA(const char* directoryName, ULONGLONG* freeBytesAvailableToCaller,
                             ULONGLONG* totalNumberOfBytes, ULONGLONG* totalNumberOfFreeBytes) override;
    BOOL GetDiskFreeSpaceA(const char* rootPathName, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                           DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters) override;
    UINT SetErrorMode(UINT mode) override;
    DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) override;
    DWORD QueryDosDeviceA(const char* deviceName, char* targetPath, DWORD max) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD errorCode) override;

private:
    Machine::State& s_;
};

class SimRegistry final : public Registry {
public:
    explicit SimRegistry(Machine::State& s) : s_(s) {}
    LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* className, DWORD options,
                         REGSAM samDesired, void* securityAttributes, HKEY* result,
                         DWORD* disposition) override;
    LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* dataSize) override;
    LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                        DWORD dataSize) override;
    LONG RegCloseKey(HKEY key) override;

private:
    Machine::State& s_;
};

class SimNetwork final : public Network {
public:
    explicit SimNetwork(Machine::State& s) : s_(s) {}
    DWORD WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) override;

private:
    Machine::State& s_;
};

class SimLocale final : public Locale {
public:
    explicit SimLocale(Machine::State& s) : s_(s) {}
    int GetLocaleInfoA(LCID locale, LCTYPE type, char* data, int dataSize) override;

private:
    Machine::State& s_;
};

struct Machine::State {
    std::string name = "machine";
    std::map<char, SimDrive> drives;
    std::map<std::string, RegKey> keys;
    std::map<HKEY, std::string> openKeys;  // handle -> upper-cased key path
    HKEY nextKey = 0x1000;
    std::set<std::uintptr_t> openHandles;
    std::vector<RegWrite> writes;
    std::map<std::string, int> calls;  // "Call" and "Call:L"
    DWORD lastError = 0;
    UINT errorMode = 0;
    UINT errorModeAtSpaceProbe = 0;
    bool freeSpaceEx = true;
    std::string decimal = ".";
    std::string thousand = ",";

    SimKernel kernel{*this};
    SimRegistry registry{*this};
    SimNetwork network{*this};
    SimLocale locale{*this};

    // Counts a call, raises when the description says it raises for `letter`.
    void Enter(const std::string& call, char letter = 0);
    // The drive a root path, device name or local name names, or null.
    SimDrive* DriveOf(const char* path);
};

}  // namespace tw::sim
