#include "platform/wmi.h"

#include <charconv>

#include "platform/drive_names.h"

namespace tw::platform {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

const WmiValue* WmiObject::Find(const std::string& name) const {
    for (const WmiProperty& p : properties) {
        if (SameName(p.name, name)) return &p.value;
    }
    return nullptr;
}

std::string WmiObject::Text(const std::string& name) const {
    const WmiValue* v = Find(name);
    if (!v) return {};
    switch (v->kind) {
        case WmiValue::Kind::Text: return v->text;
        case WmiValue::Kind::Number: return Decimal(v->number);
        default: return {};
    }
}

std::optional<std::uint64_t> WmiObject::Number(const std::string& name) const {
    const WmiValue* v = Find(name);
    if (!v) return std::nullopt;
    if (v->kind == WmiValue::Kind::Number) {
        if (v->number < 0) return std::nullopt;
        return static_cast<std::uint64_t>(v->number);
    }
    if (v->kind != WmiValue::Kind::Text || v->text.empty()) return std::nullopt;
    std::uint64_t n = 0;
    const char* first = v->text.data();
    const char* last = first + v->text.size();
    const auto [ptr, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    return n;
}

}  // namespace tw::platform

#include "platform/kernel.h"
#include "platform/system_error_text.h"

namespace tw::platform {

namespace {

constexpr WmiErrorInfo kWmiErrors[] = {
    {WBEM_E_FAILED, "WBEM_E_FAILED", "Call failed"},
    {WBEM_E_NOT_FOUND, "WBEM_E_NOT_FOUND", "Object cannot be found"},
    {WBEM_E_ACCESS_DENIED, "WBEM_E_ACCESS_DENIED", "Current user does not have permission to perform the action"},
    {WBEM_E_PROVIDER_FAILURE, "WBEM_E_PROVIDER_FAILURE",
     "Provider has failed at some time other than during initialization"},
    {WBEM_E_OUT_OF_MEMORY, "WBEM_E_OUT_OF_MEMORY", "Not enough memory for the operation"},
    {WBEM_E_INVALID_PARAMETER, "WBEM_E_INVALID_PARAMETER", "One of the parameters to the call is not correct"},
    {WBEM_E_NOT_SUPPORTED, "WBEM_E_NOT_SUPPORTED", "Feature or operation is not supported"},
    {WBEM_E_INVALID_NAMESPACE, "WBEM_E_INVALID_NAMESPACE", "Namespace specified cannot be found"},
    {WBEM_E_INVALID_CLASS, "WBEM_E_INVALID_CLASS", "Specified class is not valid"},
    {WBEM_E_PROVIDER_LOAD_FAILURE, "WBEM_E_PROVIDER_LOAD_FAILURE",
     "COM cannot locate a provider referenced in the schema"},
    {WBEM_E_INITIALIZATION_FAILURE, "WBEM_E_INITIALIZATION_FAILURE", "A component failed to initialize"},
    {WBEM_E_TRANSPORT_FAILURE, "WBEM_E_TRANSPORT_FAILURE", "A networking error prevents normal operation"},
    {WBEM_E_INVALID_QUERY, "WBEM_E_INVALID_QUERY", "Query was not syntactically valid"},
    {WBEM_E_INVALID_QUERY_TYPE, "WBEM_E_INVALID_QUERY_TYPE", "Requested query language is not supported"},
    {WBEM_E_INVALID_OBJECT_PATH, "WBEM_E_INVALID_OBJECT_PATH", "Object path is not syntactically valid"},
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG", "Class not registered"},
    {E_ACCESSDENIED, "E_ACCESSDENIED", "Access is denied"},
    {RPC_E_DISCONNECTED, "RPC_E_DISCONNECTED", "The object invoked has disconnected from its clients"},
};

std::string Hex(HRESULT code) {
    char digits[9];
    const auto value = static_cast<std::uint32_t>(code);
    for (int i = 0; i < 8; ++i) digits[i] = "0123456789ABCDEF"[(value >> (28 - 4 * i)) & 0xF];
    digits[8] = 0;
    return std::string("0x") + digits;
}

}  // namespace

const WmiErrorInfo* FindWmiError(HRESULT code) {
    for (const WmiErrorInfo& e : kWmiErrors) {
        if (e.code == code) return &e;
    }
    return nullptr;
}

const WmiErrorInfo* FindWmiError(const std::string& name) {
    for (const WmiErrorInfo& e : kWmiErrors) {
        if (name == e.name) return &e;
    }
    return nullptr;
}

std::string WmiErrorText(Kernel& kernel, HRESULT code) {
    if (const WmiErrorInfo* known = FindWmiError(code)) {
        return std::string(known->text) + " (" + known->name + ", " + Hex(code) + ")";
    }
    // Win32 errors wrapped in a result code read as the error itself.
    const auto value = static_cast<std::uint32_t>(code);
    const DWORD message = (value & 0xFFFF0000u) == 0x80070000u ? (value & 0xFFFFu) : value;
    std::string text = SystemErrorText(kernel, message);
    if (text.empty()) text = "Unknown error";
    return text + " (" + Hex(code) + ")";
}

}  // namespace tw::platform
