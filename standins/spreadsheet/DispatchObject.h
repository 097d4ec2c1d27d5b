#pragma once
#include <oaidl.h>

#include <string>

// What one automation call brought: its arguments in their declared order,
// the value of a property put, and where the result goes.
class CallArguments {
public:
    explicit CallArguments(const DISPPARAMS& parameters);
    // Positional arguments given (a trailing missing one counts as given).
    unsigned Count() const { return m_positional; }
    // The argument at index (0 = first declared), references followed; null
    // when it was not given or was passed as missing.
    const VARIANT* At(unsigned index) const;
    // The value of a property put; null when the call carried none.
    const VARIANT* PutValue() const;
    // The argument at index read as a 32-bit integer, or fallback when it was
    // not given.  Raises a type mismatch when it cannot be read as one.
    long LongAt(unsigned index, long fallback) const;
    bool BoolAt(unsigned index, bool fallback) const;
    std::wstring TextAt(unsigned index) const;

private:
    const DISPPARAMS& m_parameters;
    unsigned m_positional;
};

// A failed call: the status, and for DISP_E_EXCEPTION the description the
// caller receives in its exception information.
struct DispatchError {
    HRESULT status;
    std::wstring description;
};
[[noreturn]] void RaiseError(HRESULT status);
[[noreturn]] void RaiseDescribed(const std::wstring& description);

// Base of every object of the stand-in's object model: reference counting,
// IDispatch without type information, and members answered by DISPID.
// Counts live objects for DllCanUnloadNow.
class CDispatchObject : public IDispatch {
public:
    CDispatchObject();
    virtual ~CDispatchObject();
    CDispatchObject(const CDispatchObject&) = delete;
    CDispatchObject& operator=(const CDispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    static long LiveObjects();

protected:
    // Answers one member.  Fills result (never null: a caller that wants
    // none gets a scratch value) or raises DispatchError; DISP_E_MEMBERNOTFOUND
    // for what the object does not have.
    virtual void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) = 0;

    static bool IsGet(WORD flags) { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
    static bool IsMethod(WORD flags) { return (flags & DISPATCH_METHOD) != 0; }
    static bool IsPut(WORD flags) { return (flags & DISPATCH_PROPERTYPUT) != 0; }
    // Hands a new object to the caller as the result (the object is created
    // with no reference; the result takes the first).
    static void ReturnObject(CDispatchObject* object, VARIANT& result);

private:
    LONG m_references = 0;
};
