// The shell: the folder browser, ShellExecuteA and ShellExecuteExA, WinExec
// and late-bound automation objects. Our BROWSEINFOA carries the fields the
// program sets; the system's record is filled from it field by field.
#include "platform/win32/win32_platform.h"

// Our names, taken before the system headers make some of them macros.
namespace tw::platform::win32 {
using OurPidl = tw::platform::PIDLIST_ABSOLUTE;
using OurBrowseInfo = tw::platform::BROWSEINFOA;
constexpr UINT kOurReturnOnlyFsDirs = tw::platform::BIF_RETURNONLYFSDIRS;
constexpr DWORD kOurInvokeIdList = tw::platform::SEE_MASK_INVOKEIDLIST;
constexpr DWORD kOurNoCloseProcess = tw::platform::SEE_MASK_NOCLOSEPROCESS;
constexpr DWORD kOurFlagNoUi = tw::platform::SEE_MASK_FLAG_NO_UI;
constexpr int kOurShowNormal = tw::platform::SW_SHOWNORMAL;
constexpr int kOurShow = tw::platform::SW_SHOW;
constexpr int kOurHide = tw::platform::SW_HIDE;
constexpr auto kOurNoAssoc = tw::platform::SE_ERR_NOASSOC;
constexpr auto kOurDllNotFound = tw::platform::SE_ERR_DLLNOTFOUND;
constexpr auto kOurShare = tw::platform::SE_ERR_SHARE;
constexpr auto kOurDdeFail = tw::platform::SE_ERR_DDEFAIL;
constexpr DWORD kOurNoAssociation = tw::platform::ERROR_NO_ASSOCIATION;
constexpr DWORD kOurCancelled = tw::platform::ERROR_CANCELLED;
constexpr auto kOurDispException = tw::platform::DISP_E_EXCEPTION;
constexpr auto kOurUnknownName = tw::platform::DISP_E_UNKNOWNNAME;
constexpr auto kOurClassString = tw::platform::CO_E_CLASSSTRING;
constexpr auto kOurClassNotRegistered = tw::platform::REGDB_E_CLASSNOTREG;
}  // namespace tw::platform::win32

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <tuple>

static_assert(tw::platform::win32::kOurReturnOnlyFsDirs == BIF_RETURNONLYFSDIRS);

namespace tw::platform::win32 {

OurPidl Win32Shell::SHBrowseForFolderA(OurBrowseInfo* bi) {
    if (bi == nullptr) return 0;
    ::BROWSEINFOA native{};
    native.hwndOwner = reinterpret_cast<::HWND>(bi->hwndOwner);
    native.pidlRoot = reinterpret_cast<::PCIDLIST_ABSOLUTE>(bi->pidlRoot);
    native.pszDisplayName = bi->pszDisplayName;
    native.lpszTitle = bi->lpszTitle;
    native.ulFlags = bi->ulFlags;
    // The browser needs COM on this thread; a second initialisation is harmless.
    const HRESULT com = ::CoInitialize(nullptr);
    const auto picked = reinterpret_cast<OurPidl>(::SHBrowseForFolderA(&native));
    if (SUCCEEDED(com)) ::CoUninitialize();
    return picked;
}

BOOL Win32Shell::SHGetPathFromIDListA(OurPidl pidl, char* path) {
    return ::SHGetPathFromIDListA(reinterpret_cast<::PCIDLIST_ABSOLUTE>(pidl), path);
}

void Win32Shell::CoTaskMemFree(OurPidl pidl) { ::CoTaskMemFree(reinterpret_cast<void*>(pidl)); }

}  // namespace tw::platform::win32

// The record the portable code writes is the system's, field by field.
namespace {
namespace tp = tw::platform;
constexpr const tp::ShellExecuteInfoLayout& kSei = tp::kShellExecuteInfo;
static_assert(kSei.pointerSize == sizeof(void*));
static_assert(kSei.size == sizeof(::SHELLEXECUTEINFOA));
static_assert(tp::shell_execute_info::kCbSize == offsetof(::SHELLEXECUTEINFOA, cbSize));
static_assert(tp::shell_execute_info::kFMask == offsetof(::SHELLEXECUTEINFOA, fMask));
static_assert(kSei.hwnd == offsetof(::SHELLEXECUTEINFOA, hwnd));
static_assert(kSei.lpVerb == offsetof(::SHELLEXECUTEINFOA, lpVerb));
static_assert(kSei.lpFile == offsetof(::SHELLEXECUTEINFOA, lpFile));
static_assert(kSei.lpParameters == offsetof(::SHELLEXECUTEINFOA, lpParameters));
static_assert(kSei.lpDirectory == offsetof(::SHELLEXECUTEINFOA, lpDirectory));
static_assert(kSei.nShow == offsetof(::SHELLEXECUTEINFOA, nShow));
static_assert(kSei.hInstApp == offsetof(::SHELLEXECUTEINFOA, hInstApp));
static_assert(kSei.lpIDList == offsetof(::SHELLEXECUTEINFOA, lpIDList));
static_assert(kSei.lpClass == offsetof(::SHELLEXECUTEINFOA, lpClass));
static_assert(kSei.hkeyClass == offsetof(::SHELLEXECUTEINFOA, hkeyClass));
static_assert(kSei.dwHotKey == offsetof(::SHELLEXECUTEINFOA, dwHotKey));
static_assert(kSei.hIcon == offsetof(::SHELLEXECUTEINFOA, hIcon));
static_assert(kSei.hProcess == offsetof(::SHELLEXECUTEINFOA, hProcess));
namespace ours = tw::platform::win32;
static_assert(ours::kOurInvokeIdList == SEE_MASK_INVOKEIDLIST);
static_assert(ours::kOurNoCloseProcess == SEE_MASK_NOCLOSEPROCESS);
static_assert(ours::kOurFlagNoUi == SEE_MASK_FLAG_NO_UI);
static_assert(ours::kOurShowNormal == SW_SHOWNORMAL && ours::kOurShow == SW_SHOW && ours::kOurHide == SW_HIDE);
static_assert(ours::kOurNoAssoc == SE_ERR_NOASSOC && ours::kOurDllNotFound == SE_ERR_DLLNOTFOUND);
static_assert(ours::kOurShare == SE_ERR_SHARE && ours::kOurDdeFail == SE_ERR_DDEFAIL);
static_assert(ours::kOurNoAssociation == ERROR_NO_ASSOCIATION && ours::kOurCancelled == ERROR_CANCELLED);
static_assert(ours::kOurDispException == DISP_E_EXCEPTION && ours::kOurUnknownName == DISP_E_UNKNOWNNAME);
static_assert(ours::kOurClassString == CO_E_CLASSSTRING && ours::kOurClassNotRegistered == REGDB_E_CLASSNOTREG);

// A BSTR in the program's code page; empty for none.
std::string Narrow(BSTR text) {
    if (text == nullptr || *text == 0) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.resize(static_cast<size_t>(length) - 1);
    // Objects often end their description with a full stop or a line break;
    // the refusal adds its own.
    while (!out.empty() && (out.back() == '.' || out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) {
        out.pop_back();
    }
    return out;
}

// What the object said about a failed call: its exception record, else the
// thread's error information, which objects that support it leave behind.
std::string DescriptionOf(EXCEPINFO& exception, HRESULT hr) {
    if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    std::string text = Narrow(exception.bstrDescription);
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) == S_OK && info) {
        BSTR description = nullptr;
        if (text.empty() && SUCCEEDED(info->GetDescription(&description))) text = Narrow(description);
        ::SysFreeString(description);
        info->Release();
    }
    return text;
}

std::wstring Wide(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), length);
    return out;
}
}  // namespace

namespace tw::platform::win32 {

HINSTANCE Win32Shell::ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                                    const char* directory, int showCommand) {
    // The shell may hand the request to a COM handler on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const auto result = reinterpret_cast<HINSTANCE>(
        ::ShellExecuteA(reinterpret_cast<::HWND>(hwnd), operation, file, parameters, directory, showCommand));
    const DWORD error = ::GetLastError();
    if (SUCCEEDED(com)) ::CoUninitialize();
    ::SetLastError(error);
    return result;
}

BOOL Win32Shell::ShellExecuteExA(ShellExecuteRecord& info) {
    ::SHELLEXECUTEINFOA native;
    static_assert(sizeof native == std::tuple_size_v<ShellExecuteRecord>);
    std::memcpy(&native, info.data(), sizeof native);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const BOOL done = ::ShellExecuteExA(&native);
    const DWORD error = ::GetLastError();
    if (SUCCEEDED(com)) ::CoUninitialize();
    std::memcpy(info.data(), &native, sizeof native);
    ::SetLastError(error);
    return done;
}

UINT Win32Shell::WinExec(const char* commandLine, UINT showCommand) { return ::WinExec(commandLine, showCommand); }

BOOL Win32Shell::CloseHandle(HANDLE object) { return ::CloseHandle(reinterpret_cast<::HANDLE>(object)); }

DWORD Win32Shell::GetLastError() { return ::GetLastError(); }

HRESULT Win32Shell::CreateAutomationObject(const char* progId, AutomationObject* object) {
    if (object == nullptr || progId == nullptr) return E_INVALIDARG;
    *object = 0;
    const HRESULT com = ::CoInitialize(nullptr);
    if (FAILED(com)) return com;
    CLSID clsid{};
    HRESULT hr = ::CLSIDFromProgID(Wide(progId).c_str(), &clsid);
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(hr)) {
        hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&dispatch));
    }
    if (FAILED(hr) || dispatch == nullptr) {
        ::CoUninitialize();
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    // COM stays initialised until Release lets the object go.
    *object = reinterpret_cast<AutomationObject>(dispatch);
    return S_OK;
}

HRESULT Win32Shell::GetIDsOfNames(AutomationObject object, const char* name, DISPID* id) {
    auto* dispatch = reinterpret_cast<IDispatch*>(object);
    if (dispatch == nullptr || name == nullptr || id == nullptr) return E_INVALIDARG;
    std::wstring wide = Wide(name);
    LPOLESTR names[] = {wide.data()};
    ::DISPID found = DISPID_UNKNOWN;
    const HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &found);
    *id = found;
    return hr;
}

HRESULT Win32Shell::InvokeMethod(AutomationObject object, DISPID id, std::string& description) {
    description.clear();
    auto* dispatch = reinterpret_cast<IDispatch*>(object);
    if (dispatch == nullptr) return E_INVALIDARG;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT hr =
        dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, &exception, &badArgument);
    ::VariantClear(&result);
    if (FAILED(hr)) description = DescriptionOf(exception, hr);
    if (exception.bstrSource) ::SysFreeString(exception.bstrSource);
    if (exception.bstrDescription) ::SysFreeString(exception.bstrDescription);
    if (exception.bstrHelpFile) ::SysFreeString(exception.bstrHelpFile);
    return hr;
}

DWORD Win32Shell::Release(AutomationObject object) {
    auto* dispatch = reinterpret_cast<IDispatch*>(object);
    if (dispatch == nullptr) return 0;
    const ULONG left = dispatch->Release();
    ::CoUninitialize();
    return left;
}

}  // namespace tw::platform::win32
