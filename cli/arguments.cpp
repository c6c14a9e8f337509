#include "cli/arguments.h"

#include <sstream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "diagnostics/drive_benchmark.h"
#include "platform/drive_names.h"

namespace tw::cli {

std::optional<int> DiskNumberArgument(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int n = std::stoi(text);
    return n <= 255 ? std::optional<int>(n) : std::nullopt;
}

std::optional<platform::ULONGLONG> BenchSizeArgument(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (text.size() > 1 && text.back() == 'B') text.pop_back();
    if (text == "64M") return diagnostics::kBenchSizes[0];
    if (text == "256M") return diagnostics::kBenchSizes[1];
    if (text == "1G" || text == "1024M") return diagnostics::kBenchSizes[2];
    return std::nullopt;
}

std::vector<std::string> SplitArgs(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

bool ExpectOperands(const CommandCall& call, size_t count) {
    if (call.operands.size() == count && !call.programArgs) return true;
    BadUsage(call.err);
    return false;
}

std::optional<char> DriveOperand(const CommandCall& call) {
    if (!ExpectOperands(call, 1)) return std::nullopt;
    const std::optional<char> letter = platform::ParseDriveLetter(call.operands[0]);
    if (!letter) BadWord(call.err, call.operands[0], "a drive letter");
    return letter;
}

int RunOnDrive(const CommandCall& call, int (*body)(const DriveCall&)) {
    const std::optional<char> letter = DriveOperand(call);
    if (!letter) return kExitUsage;
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    return body(DriveCall{call, *platform, *letter});
}

}  // namespace tw::cli
