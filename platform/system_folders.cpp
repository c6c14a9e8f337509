#include "platform/system_folders.h"

#include <array>

namespace tw::platform {

namespace {

template <typename Query>
std::string Folder(Query query) {
    std::array<char, MAX_PATH + 1> buffer{};
    const UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    std::string folder(buffer.data(), length);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

std::string SystemDirectory(Kernel& kernel) {
    return Folder([&](char* b, UINT n) { return kernel.GetSystemDirectoryA(b, n); });
}

std::string WindowsDirectory(Kernel& kernel) {
    return Folder([&](char* b, UINT n) { return kernel.GetWindowsDirectoryA(b, n); });
}

std::string SystemFile(Kernel& kernel, const std::string& name) {
    const std::string folder = SystemDirectory(kernel);
    return folder.empty() ? std::string() : folder + "\\" + name;
}

std::string Quoted(const std::string& path) { return '"' + path + '"'; }

}  // namespace tw::platform
