// The system's own folders and the files in them, as full paths. Programs and
// libraries of the system are always named this way, never by a bare name
// that the system's search would also look for beside the program or in the
// current folder.
#pragma once
#include <string>

#include "platform/kernel.h"

namespace tw::platform {

// GetSystemDirectoryA and GetWindowsDirectoryA without a trailing backslash;
// empty when the system cannot say.
std::string SystemDirectory(Kernel& kernel);
std::string WindowsDirectory(Kernel& kernel);
// "C:\WINDOWS\system32\NAME"; empty when the folder is unknown.
std::string SystemFile(Kernel& kernel, const std::string& name);
// `path` in double quotes, for a command line or a program's parameters.
std::string Quoted(const std::string& path);

}  // namespace tw::platform
