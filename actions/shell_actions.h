// Jobs handed to the shell, the network dialogs and the system tools: each is
// one request with fixed arguments that starts something and does not wait
// for it. The outcome says whether the system took the request and, when it
// did not, what could not be started and the system's code for why.
#pragma once
#include <string>
#include <utility>

#include "platform/platform.h"

namespace tw::actions {

struct ShellOutcome {
    ShellOutcome() = default;
    ShellOutcome(bool d, std::string w, platform::DWORD e, std::string text = {})
        : done(d), what(std::move(w)), error(e), description(std::move(text)) {}

    bool done = true;
    std::string what;  // what could not be done, as the user would put it: "minimise all windows"
    platform::DWORD error = 0;
    std::string description;  // an automation object's own words for the failure
};

// The shell's explorer view of `path` ("E:\").
ShellOutcome Explore(platform::Shell& shell, platform::HWND owner, const std::string& path);
// The shell's properties sheet of the drive (the file "E:").
ShellOutcome ShowDriveProperties(platform::Shell& shell, platform::HWND owner, char letter);
// A new "Shell.Application" object, `method` called by name without
// arguments, and the object released; `what` is the job as the user knows it.
ShellOutcome CallShellApplication(platform::Shell& shell, const char* method, const std::string& what);
// The system's "Map Network Drive" or "Disconnect Network Drive" dialog; a
// cancel is no failure.
ShellOutcome NetworkDriveDialog(platform::Network& network, platform::HWND owner, bool connect);
// The shell's format dialog through rundll32, from the system's own folders.
// Every program below is started by its full path in the system folder.
ShellOutcome StartFormatDialog(platform::Kernel& kernel, platform::Shell& shell, platform::HWND owner);
// The defragmenter console, or its successor where the system lacks it.
ShellOutcome StartDefragmenter(platform::Kernel& kernel, platform::Shell& shell);
// The backup program "ntbackup.exe", opened or with the default verb; its
// successor where the system lacks it.
ShellOutcome StartBackup(platform::Kernel& kernel, platform::Shell& shell, bool defaultVerb);
// The hot-plug panel that safely removes USB drives.
ShellOutcome StartSafeRemoval(platform::Kernel& kernel, platform::Shell& shell);
// A web page in the user's browser.
ShellOutcome OpenWebPage(platform::Shell& shell, const std::string& address);

// "Could not start C:\WINDOWS\system32\dfrgui.exe: The system cannot find the
// file specified."
std::string FailureText(platform::Kernel& kernel, const ShellOutcome& outcome);

}  // namespace tw::actions
