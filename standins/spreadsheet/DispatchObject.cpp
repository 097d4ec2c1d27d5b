#include "DispatchObject.h"

#include "Variant.h"

#include <windows.h>
#include <oleauto.h>

#include <atomic>

namespace {
std::atomic<long> g_liveObjects{0};
const wchar_t kSource[] = L"Spreadsheet stand-in";
}  // namespace

CallArguments::CallArguments(const DISPPARAMS& parameters)
    : m_parameters(parameters), m_positional(parameters.cArgs - parameters.cNamedArgs) {}

const VARIANT* CallArguments::At(unsigned index) const {
    if (index >= m_positional) return nullptr;
    // The named arguments come first; the positional ones last first.
    const VARIANT* value = &m_parameters.rgvarg[m_parameters.cArgs - 1 - index];
    if (value->vt == (VT_BYREF | VT_VARIANT)) value = value->pvarVal;
    if (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND) return nullptr;
    return value;
}

const VARIANT* CallArguments::PutValue() const {
    for (UINT i = 0; i < m_parameters.cNamedArgs; ++i) {
        if (m_parameters.rgdispidNamedArgs[i] != DISPID_PROPERTYPUT) continue;
        const VARIANT* value = &m_parameters.rgvarg[i];
        return value->vt == (VT_BYREF | VT_VARIANT) ? value->pvarVal : value;
    }
    return nullptr;
}

long CallArguments::LongAt(unsigned index, long fallback) const {
    const VARIANT* value = At(index);
    if (!value) return fallback;
    CVariant copy = CVariant::CopyOf(*value);
    if (FAILED(VariantChangeType(&copy.Get(), &copy.Get(), 0, VT_I4))) RaiseError(DISP_E_TYPEMISMATCH);
    return copy.Get().lVal;
}

bool CallArguments::BoolAt(unsigned index, bool fallback) const {
    const VARIANT* value = At(index);
    if (!value) return fallback;
    CVariant copy = CVariant::CopyOf(*value);
    if (FAILED(VariantChangeType(&copy.Get(), &copy.Get(), 0, VT_BOOL))) RaiseError(DISP_E_TYPEMISMATCH);
    return copy.Get().boolVal != VARIANT_FALSE;
}

std::wstring CallArguments::TextAt(unsigned index) const {
    const VARIANT* value = At(index);
    if (!value) RaiseError(DISP_E_PARAMNOTFOUND);
    CVariant copy = CVariant::CopyOf(*value);
    if (FAILED(VariantChangeType(&copy.Get(), &copy.Get(), 0, VT_BSTR))) RaiseError(DISP_E_TYPEMISMATCH);
    return std::wstring(copy.Get().bstrVal, SysStringLen(copy.Get().bstrVal));
}

void RaiseError(HRESULT status) { throw DispatchError{status, std::wstring()}; }

void RaiseDescribed(const std::wstring& description) { throw DispatchError{DISP_E_EXCEPTION, description}; }

CDispatchObject::CDispatchObject() { ++g_liveObjects; }

CDispatchObject::~CDispatchObject() { --g_liveObjects; }

long CDispatchObject::LiveObjects() { return g_liveObjects; }

HRESULT STDMETHODCALLTYPE CDispatchObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CDispatchObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }

ULONG STDMETHODCALLTYPE CDispatchObject::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE CDispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE CDispatchObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    // Reached by the fixed DISPIDs only.
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE CDispatchObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                                  VARIANT* result, EXCEPINFO* exception, UINT*) {
    static DISPPARAMS noParameters = {nullptr, nullptr, 0, 0};
    const CallArguments arguments(parameters ? *parameters : noParameters);
    if (IsPut(flags) && !arguments.PutValue()) return DISP_E_PARAMNOTFOUND;
    CVariant scratch;
    VARIANT& answer = result ? *result : scratch.Get();
    if (result) VariantInit(result);
    try {
        Member(member, flags, arguments, answer);
        return S_OK;
    } catch (const DispatchError& error) {
        VariantClear(&answer);
        if (error.status == DISP_E_EXCEPTION && exception) {
            *exception = EXCEPINFO();
            exception->scode = E_FAIL;
            exception->bstrSource = SysAllocString(kSource);
            exception->bstrDescription = SysAllocStringLen(error.description.data(),
                                                           static_cast<UINT>(error.description.size()));
        }
        return error.status;
    } catch (...) {
        VariantClear(&answer);
        return E_OUTOFMEMORY;
    }
}

void CDispatchObject::ReturnObject(CDispatchObject* object, VARIANT& result) {
    object->AddRef();
    result.vt = VT_DISPATCH;
    result.pdispVal = object;
}
