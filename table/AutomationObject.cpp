#include "AutomationObject.h"

#include "Bstr.h"
#include "Exception.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <algorithm>

namespace {
// Frees the strings a failed call's exception information carries.  The
// description is shown to the user as the system's own text (it names files).
class ExceptionInfo {
public:
    ExceptionInfo() : m_info() {}
    ~ExceptionInfo() {
        SysFreeString(m_info.bstrSource);
        SysFreeString(m_info.bstrDescription);
        SysFreeString(m_info.bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;

    EXCEPINFO* Get() { return &m_info; }
    [[noreturn]] void Raise() {
        if (m_info.pfnDeferredFillIn) m_info.pfnDeferredFillIn(&m_info);
        const long status = m_info.scode != 0 ? m_info.scode : static_cast<long>(DISP_E_EXCEPTION);
        throw COleDispatchException(
            m_info.bstrDescription ? CBstr::ToSystemAnsi(m_info.bstrDescription, SysStringLen(m_info.bstrDescription))
                                   : std::string(),
            status);
    }

private:
    EXCEPINFO m_info;
};
}  // namespace

CAutomationObject CAutomationObject::Start(const wchar_t* progId, HRESULT& status) {
    CLSID clsid;
    status = CLSIDFromProgID(progId, &clsid);
    if (FAILED(status)) return CAutomationObject();
    ComPtr<IUnknown> unknown;
    status = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.ReceiveVoid());
    if (FAILED(status)) return CAutomationObject();
    // A local server may come up not yet running its objects.
    status = OleRun(unknown.Get());
    if (FAILED(status)) return CAutomationObject();
    ComPtr<IDispatch> dispatch;
    status = unknown->QueryInterface(IID_IDispatch, dispatch.ReceiveVoid());
    if (FAILED(status)) return CAutomationObject();
    return CAutomationObject(std::move(dispatch));
}

CVariant CAutomationObject::Get(DISPID member, std::vector<CVariant> arguments) const {
    return Invoke(member, DISPATCH_PROPERTYGET, arguments, Result::Wanted);
}

CAutomationObject CAutomationObject::GetObject(DISPID member, std::vector<CVariant> arguments) const {
    return FromValue(Get(member, std::move(arguments)));
}

void CAutomationObject::Put(DISPID member, CVariant value) const {
    std::vector<CVariant> arguments;
    arguments.push_back(std::move(value));
    Invoke(member, DISPATCH_PROPERTYPUT, arguments, Result::NotWanted);
}

void CAutomationObject::Call(DISPID member, std::vector<CVariant> arguments) const {
    Invoke(member, DISPATCH_METHOD, arguments, Result::NotWanted);
}

CAutomationObject CAutomationObject::CallForObject(DISPID member, std::vector<CVariant> arguments) const {
    return FromValue(Invoke(member, DISPATCH_METHOD, arguments, Result::Wanted));
}

CAutomationObject CAutomationObject::FromValue(const CVariant& value) {
    if (value.Type() != VT_DISPATCH || !value.Get().pdispVal) throw COleException(DISP_E_TYPEMISMATCH);
    IDispatch* dispatch = value.Get().pdispVal;
    dispatch->AddRef();
    ComPtr<IDispatch> held;
    *held.Receive() = dispatch;
    return CAutomationObject(std::move(held));
}

CVariant CAutomationObject::Invoke(DISPID member, WORD kind, std::vector<CVariant>& arguments, Result wanted) const {
    if (!m_dispatch) throw COleException(E_POINTER);
    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(it->Get());
    const bool put = kind == DISPATCH_PROPERTYPUT;
    DISPID propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {reversed.empty() ? nullptr : reversed.data(), put ? &propertyPut : nullptr,
                             static_cast<UINT>(reversed.size()), put ? 1u : 0u};
    CVariant result;
    ExceptionInfo exception;
    UINT argumentError = 0;
    const HRESULT status = m_dispatch->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                                              wanted == Result::Wanted ? result.Receive() : nullptr, exception.Get(), &argumentError);
    if (status == DISP_E_EXCEPTION) exception.Raise();
    if (FAILED(status)) throw COleException(status);
    return result;
}
