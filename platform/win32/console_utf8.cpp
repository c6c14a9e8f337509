// The console's output code page for the length of a run of tarnwell-cli.
#include "platform/real_platform.h"
#include "platform/win32/windows_headers.h"

namespace tw::platform {

ConsoleUtf8::ConsoleUtf8() {
    // The program's strings are in its own code page, which its manifest
    // makes UTF-8 on Windows 10 1903 and later; older systems keep the
    // system's code page, and so does the console.
    if (::GetACP() != CP_UTF8) return;
    const UINT current = ::GetConsoleOutputCP();  // 0 without a console
    if (current == 0 || current == CP_UTF8) return;
    if (::SetConsoleOutputCP(CP_UTF8)) previous_ = current;
}

ConsoleUtf8::~ConsoleUtf8() {
    if (previous_ != 0) ::SetConsoleOutputCP(previous_);
}

}  // namespace tw::platform
