#pragma once
#include "ComPtr.h"
#include "Variant.h"

#include <oaidl.h>

#include <utility>
#include <vector>

// The arguments of one call, in their declared order (the values are moved
// in: a VARIANT list cannot be copied from an initializer list).
template <typename... Values>
std::vector<CVariant> MakeArguments(Values&&... values) {
    std::vector<CVariant> arguments;
    arguments.reserve(sizeof...(values));
    (arguments.push_back(std::forward<Values>(values)), ...);
    return arguments;
}

// One object of an automation server, reached by late-bound IDispatch calls
// with fixed DISPIDs.  A failed call raises COleDispatchException when the
// server described its own error, COleException otherwise; a call on an
// empty object raises COleException (E_POINTER) instead of crashing.
class CAutomationObject {
public:
    CAutomationObject() = default;
    explicit CAutomationObject(ComPtr<IDispatch> dispatch) : m_dispatch(std::move(dispatch)) {}

    // Starts an instance of the class registered under progId (any server
    // context, made running) and takes its IDispatch.  Empty, with the reason
    // in status, when that fails.
    static CAutomationObject Start(const wchar_t* progId, HRESULT& status);

    explicit operator bool() const { return static_cast<bool>(m_dispatch); }
    void Reset() { m_dispatch.Reset(); }

    // Arguments are given in their declared order.
    CVariant Get(DISPID member, std::vector<CVariant> arguments = {}) const;
    CAutomationObject GetObject(DISPID member, std::vector<CVariant> arguments = {}) const;
    void Put(DISPID member, CVariant value) const;
    // A method whose result is not wanted (none is asked for).
    void Call(DISPID member, std::vector<CVariant> arguments = {}) const;
    CAutomationObject CallForObject(DISPID member, std::vector<CVariant> arguments = {}) const;

    // The dispatch held in an automation value; raises COleException when it
    // holds none.
    static CAutomationObject FromValue(const CVariant& value);

private:
    enum class Result { Wanted, NotWanted };
    CVariant Invoke(DISPID member, WORD kind, std::vector<CVariant>& arguments, Result result) const;

    ComPtr<IDispatch> m_dispatch;
};
