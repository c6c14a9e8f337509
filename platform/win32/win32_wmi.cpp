// Management queries through COM: IWbemLocator connects to ROOT\CIMV2, the
// services proxy gets the caller's identity for its calls, ExecQuery runs
// the WQL and the enumerator hands out the objects one by one; each
// object's non-system properties are read as VARIANTs. Every interface, BSTR
// and VARIANT is released on every path by the holders below.
#include "platform/win32/win32_platform.h"
//
#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

namespace tw::platform::win32 {

namespace {

// An interface pointer released when the holder goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    // For the call that fills it; what it held is released first.
    T** Out() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    explicit Bstr(const std::string& text) {
        const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
        if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
        b_ = SysAllocString(wide.c_str());
    }
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }

private:
    BSTR b_ = nullptr;
};

// COM on this thread for as long as the query runs. A thread that has COM
// in the other threading model already keeps it, and keeps it initialised.
class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }
    ::HRESULT Result() const { return hr_; }

private:
    ::HRESULT hr_;
};

std::string Narrow(const wchar_t* text, UINT length) {
    if (text == nullptr || length == 0) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}

// A property's VARIANT as our value: text as text (64-bit integers come as
// text), whole numbers and booleans as numbers, other scalars as the
// system's text of them, null, empty and arrays as null.
WmiValue ValueOf(VARIANT& v) {
    WmiValue out;
    switch (V_VT(&v)) {
        case VT_BSTR:
            out.kind = WmiValue::Kind::Text;
            out.text = Narrow(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
            return out;
        case VT_I1: out.number = V_I1(&v); break;
        case VT_UI1: out.number = V_UI1(&v); break;
        case VT_I2: out.number = V_I2(&v); break;
        case VT_UI2: out.number = V_UI2(&v); break;
        case VT_I4: out.number = V_I4(&v); break;
        case VT_UI4: out.number = V_UI4(&v); break;
        case VT_INT: out.number = V_INT(&v); break;
        case VT_UINT: out.number = V_UINT(&v); break;
        case VT_I8: out.number = V_I8(&v); break;
        case VT_UI8: out.number = static_cast<std::int64_t>(V_UI8(&v)); break;
        case VT_BOOL: out.number = V_BOOL(&v) != VARIANT_FALSE ? 1 : 0; break;
        default: {
            if ((V_VT(&v) & VT_ARRAY) || V_VT(&v) == VT_NULL || V_VT(&v) == VT_EMPTY) return out;
            VARIANT text;
            VariantInit(&text);
            if (SUCCEEDED(VariantChangeType(&text, &v, 0, VT_BSTR))) {
                out.kind = WmiValue::Kind::Text;
                out.text = Narrow(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
            }
            VariantClear(&text);
            return out;
        }
    }
    out.kind = WmiValue::Kind::Number;
    return out;
}

::HRESULT ReadProperties(IWbemClassObject* object, WmiObject& out) {
    ::HRESULT hr = object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY);
    if (FAILED(hr)) return hr;
    for (;;) {
        BSTR name = nullptr;
        VARIANT value;
        VariantInit(&value);
        hr = object->Next(0, &name, &value, nullptr, nullptr);
        if (hr == WBEM_S_NO_MORE_DATA || FAILED(hr)) {
            SysFreeString(name);
            VariantClear(&value);
            break;
        }
        out.properties.push_back({Narrow(name, SysStringLen(name)), ValueOf(value)});
        SysFreeString(name);
        VariantClear(&value);
    }
    object->EndEnumeration();
    return FAILED(hr) ? hr : S_OK;
}

}  // namespace

HRESULT Win32Wmi::ExecQuery(const std::string& wql, std::vector<WmiObject>& objects) {
    objects.clear();
    ComApartment com;
    if (!com.Usable()) return com.Result();
    // The process's default call security, once; a program that set it
    // already (or made calls before) keeps its own.
    ::HRESULT hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(hr) && hr != RPC_E_TOO_LATE) return hr;

    ComRef<IWbemLocator> locator;
    hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(locator.Out()));
    if (FAILED(hr)) return hr;
    ComRef<IWbemServices> services;
    const Bstr nameSpace("ROOT\\CIMV2");
    hr = locator->ConnectServer(nameSpace.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Out());
    if (FAILED(hr)) return hr;
    // The service acts as the caller. An in-process service has no proxy to
    // set, which is no failure.
    hr = CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(hr) && hr != E_NOINTERFACE) return hr;

    const Bstr language("WQL");
    const Bstr query(wql);
    ComRef<IEnumWbemClassObject> found;
    hr = services->ExecQuery(language.get(), query.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                             nullptr, found.Out());
    if (FAILED(hr)) return hr;
    std::vector<WmiObject> read;
    for (;;) {
        ComRef<IWbemClassObject> object;
        ULONG returned = 0;
        hr = found->Next(WBEM_INFINITE, 1, object.Out(), &returned);
        if (FAILED(hr)) return hr;
        if (returned == 0) break;
        WmiObject o;
        hr = ReadProperties(object.get(), o);
        if (FAILED(hr)) return hr;
        read.push_back(std::move(o));
    }
    objects = std::move(read);
    return S_OK;
}

}  // namespace tw::platform::win32
