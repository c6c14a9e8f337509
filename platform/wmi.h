// Windows Management Instrumentation: queries in the ROOT\CIMV2 namespace.
// Each answer row is one management object with its properties as the query
// service hands them out: text (64-bit integers among them, as WMI gives
// them), numbers, or null. Failures are the COM result codes of the service.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/com_result.h"
#include "platform/win_types.h"

namespace tw::platform {

// The management service's own failure codes.
constexpr HRESULT WBEM_E_FAILED = HResult(0x80041001u);
constexpr HRESULT WBEM_E_NOT_FOUND = HResult(0x80041002u);
constexpr HRESULT WBEM_E_ACCESS_DENIED = HResult(0x80041003u);
constexpr HRESULT WBEM_E_PROVIDER_FAILURE = HResult(0x80041004u);
constexpr HRESULT WBEM_E_OUT_OF_MEMORY = HResult(0x80041006u);
constexpr HRESULT WBEM_E_INVALID_PARAMETER = HResult(0x80041008u);
constexpr HRESULT WBEM_E_NOT_SUPPORTED = HResult(0x8004100Cu);
constexpr HRESULT WBEM_E_INVALID_NAMESPACE = HResult(0x8004100Eu);
constexpr HRESULT WBEM_E_INVALID_CLASS = HResult(0x80041010u);
constexpr HRESULT WBEM_E_PROVIDER_LOAD_FAILURE = HResult(0x80041013u);
constexpr HRESULT WBEM_E_INITIALIZATION_FAILURE = HResult(0x80041014u);
constexpr HRESULT WBEM_E_TRANSPORT_FAILURE = HResult(0x80041015u);
constexpr HRESULT WBEM_E_INVALID_QUERY = HResult(0x80041017u);
constexpr HRESULT WBEM_E_INVALID_QUERY_TYPE = HResult(0x80041018u);
constexpr HRESULT WBEM_E_INVALID_OBJECT_PATH = HResult(0x8004103Au);
constexpr HRESULT E_ACCESSDENIED = HResult(0x80070005u);
constexpr HRESULT RPC_E_DISCONNECTED = HResult(0x80010108u);

// One property of a management object.
struct WmiValue {
    enum class Kind { Null, Text, Number };
    Kind kind = Kind::Null;
    std::string text;
    std::int64_t number = 0;
};

struct WmiProperty {
    std::string name;
    WmiValue value;
};

// One management object: its properties in the order the service lists them.
struct WmiObject {
    std::vector<WmiProperty> properties;

    // The property of that name, compared without regard to case as WMI
    // compares names; null when the object has none.
    const WmiValue* Find(const std::string& name) const;
    // The value as text: numbers in decimal, null and missing as empty.
    std::string Text(const std::string& name) const;
    // The value as an unsigned number, from a number or from decimal text;
    // none for null, missing, negative or non-numeric values.
    std::optional<std::uint64_t> Number(const std::string& name) const;
};

class Wmi {
public:
    virtual ~Wmi() = default;

    // Runs a WQL query (SELECT, or ASSOCIATORS OF) in ROOT\CIMV2. S_OK with
    // the objects found, or the first failing result code of the service
    // (connecting, querying or enumerating) with `objects` left empty.
    virtual HRESULT ExecQuery(const std::string& wql, std::vector<WmiObject>& objects) = 0;
};

}  // namespace tw::platform

namespace tw::platform {

class Kernel;

// The management service's failure codes by name, with their texts.
struct WmiErrorInfo {
    HRESULT code;
    const char* name;
    const char* text;
};
const WmiErrorInfo* FindWmiError(HRESULT code);
const WmiErrorInfo* FindWmiError(const std::string& name);

// What a user reads for a failed query: the service's own text of its codes,
// the system's text of the others, then the name and the code in hex:
// "Specified class is not valid (WBEM_E_INVALID_CLASS, 0x80041010)".
std::string WmiErrorText(Kernel& kernel, HRESULT code);

}  // namespace tw::platform
