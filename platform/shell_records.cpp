#include <algorithm>

#include "platform/byte_fields.h"
#include "platform/shell.h"

namespace tw::platform {

namespace sei = shell_execute_info;

std::vector<BYTE> EncodeShellExecuteInfo(const ShellExecuteRequest& request, const ShellExecuteInfoLayout& layout) {
    std::vector<BYTE> out(layout.size, 0);
    const std::size_t p = layout.pointerSize;
    auto address = [](const void* pointer) {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
    };
    PutLittleEndian(out, sei::kCbSize, request.cbSize, 4);
    PutLittleEndian(out, sei::kFMask, request.fMask, 4);
    PutLittleEndian(out, layout.hwnd, request.hwnd, p);
    PutLittleEndian(out, layout.lpVerb, address(request.lpVerb), p);
    PutLittleEndian(out, layout.lpFile, address(request.lpFile), p);
    PutLittleEndian(out, layout.lpParameters, address(request.lpParameters), p);
    PutLittleEndian(out, layout.lpDirectory, address(request.lpDirectory), p);
    PutLittleEndian(out, layout.nShow, static_cast<std::uint32_t>(request.nShow), 4);
    PutLittleEndian(out, layout.hInstApp, request.hInstApp, p);
    PutLittleEndian(out, layout.lpIDList, request.lpIDList, p);
    PutLittleEndian(out, layout.hProcess, request.hProcess, p);
    return out;
}

ShellExecuteRecord EncodeShellExecuteInfo(const ShellExecuteRequest& request) {
    const std::vector<BYTE> bytes = EncodeShellExecuteInfo(request, kShellExecuteInfo);
    ShellExecuteRecord record{};
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return record;
}

std::optional<ShellExecuteRequest> DecodeShellExecuteInfo(std::span<const BYTE> record) {
    const ShellExecuteInfoLayout& layout = kShellExecuteInfo;
    if (record.size() < layout.size || GetLittleEndian(record, sei::kCbSize, 4) != layout.size) return std::nullopt;
    const std::size_t p = layout.pointerSize;
    auto text = [&](std::size_t at) {
        return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(GetLittleEndian(record, at, p)));
    };
    ShellExecuteRequest r;
    r.cbSize = static_cast<DWORD>(GetLittleEndian(record, sei::kCbSize, 4));
    r.fMask = static_cast<DWORD>(GetLittleEndian(record, sei::kFMask, 4));
    r.hwnd = static_cast<HWND>(GetLittleEndian(record, layout.hwnd, p));
    r.lpVerb = text(layout.lpVerb);
    r.lpFile = text(layout.lpFile);
    r.lpParameters = text(layout.lpParameters);
    r.lpDirectory = text(layout.lpDirectory);
    r.nShow = static_cast<int>(static_cast<std::int32_t>(GetLittleEndian(record, layout.nShow, 4)));
    r.hInstApp = static_cast<HINSTANCE>(GetLittleEndian(record, layout.hInstApp, p));
    r.lpIDList = static_cast<std::uintptr_t>(GetLittleEndian(record, layout.lpIDList, p));
    r.hProcess = static_cast<HANDLE>(GetLittleEndian(record, layout.hProcess, p));
    return r;
}

}  // namespace tw::platform
