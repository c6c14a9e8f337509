// The platform a script drives, with every shell, network-dialog, program
// start and automation request printed as one line as it is made, with what
// the system answered:
//   [shell] ShellExecuteA verb="explore" file="E:\" parameters="" directory="" show=1 window=0 -> 42
//   [network] WNetConnectionDialog type=1 window=0 -> 0
//   [automation] Shell.Application.findfiles -> 0x00000000
//   [run] WinExec ""C:\WINDOWS\system32\rundll32.exe" ..." 5 -> 33
// Everything else goes straight to the platform underneath.
#pragma once
#include <map>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace tw::cli {

class PrintingShell final : public platform::Shell {
public:
    PrintingShell(platform::Shell& inner, std::ostream& out) : inner_(inner), out_(out) {}

    platform::PIDLIST_ABSOLUTE SHBrowseForFolderA(platform::BROWSEINFOA* bi) override;
    platform::BOOL SHGetPathFromIDListA(platform::PIDLIST_ABSOLUTE pidl, char* path) override;
    void CoTaskMemFree(platform::PIDLIST_ABSOLUTE pidl) override;
    platform::HINSTANCE ShellExecuteA(platform::HWND hwnd, const char* operation, const char* file,
                                      const char* parameters, const char* directory, int showCommand) override;
    platform::BOOL ShellExecuteExA(platform::ShellExecuteRecord& info) override;
    platform::UINT WinExec(const char* commandLine, platform::UINT showCommand) override;
    platform::BOOL CloseHandle(platform::HANDLE object) override;
    platform::DWORD GetLastError() override;
    platform::HRESULT CreateAutomationObject(const char* progId, platform::AutomationObject* object) override;
    platform::HRESULT GetIDsOfNames(platform::AutomationObject object, const char* name, platform::DISPID* id) override;
    platform::HRESULT InvokeMethod(platform::AutomationObject object, platform::DISPID id,
                                   std::string& description) override;
    platform::DWORD Release(platform::AutomationObject object) override;

private:
    platform::Shell& inner_;
    std::ostream& out_;
    std::map<platform::AutomationObject, std::string> progIds_;
    std::map<std::pair<platform::AutomationObject, platform::DISPID>, std::string> methods_;
};

class PrintingNetwork final : public platform::Network {
public:
    PrintingNetwork(platform::Network& inner, std::ostream& out) : inner_(inner), out_(out) {}

    platform::DWORD WNetGetConnectionA(const char* localName, char* remoteName, platform::DWORD* length) override;
    platform::DWORD WNetConnectionDialog(platform::HWND hwnd, platform::DWORD type) override;
    platform::DWORD WNetDisconnectDialog(platform::HWND hwnd, platform::DWORD type) override;

private:
    platform::Network& inner_;
    std::ostream& out_;
};

class PrintingPlatform final : public platform::Platform {
public:
    PrintingPlatform(platform::Platform& inner, std::ostream& out)
        : inner_(inner), shell_(inner.shell(), out), network_(inner.network(), out) {}

    platform::Kernel& kernel() override { return inner_.kernel(); }
    platform::Registry& registry() override { return inner_.registry(); }
    platform::Network& network() override { return network_; }
    platform::Locale& locale() override { return inner_.locale(); }
    platform::Shell& shell() override { return shell_; }
    platform::Device& device() override { return inner_.device(); }
    platform::Security& security() override { return inner_.security(); }
    platform::Multimedia& multimedia() override { return inner_.multimedia(); }
    platform::Modules& modules() override { return inner_.modules(); }
    platform::Wmi& wmi() override { return inner_.wmi(); }
    platform::Desktop& desktop() override { return inner_.desktop(); }

private:
    platform::Platform& inner_;
    PrintingShell shell_;
    PrintingNetwork network_;
};

}  // namespace tw::cli
