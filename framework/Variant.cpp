#include "Variant.h"

#include "Bstr.h"

#include <oleauto.h>

CVariant::CVariant() { VariantInit(&m_value); }

CVariant::~CVariant() { Clear(); }

CVariant::CVariant(CVariant&& other) noexcept : m_value(other.m_value) { VariantInit(&other.m_value); }

CVariant& CVariant::operator=(CVariant&& other) noexcept {
    if (this != &other) {
        Clear();
        m_value = other.m_value;
        VariantInit(&other.m_value);
    }
    return *this;
}

CVariant CVariant::Int32(long value) {
    CVariant v;
    v.m_value.vt = VT_I4;
    v.m_value.lVal = value;
    return v;
}

CVariant CVariant::Double(double value) {
    CVariant v;
    v.m_value.vt = VT_R8;
    v.m_value.dblVal = value;
    return v;
}

CVariant CVariant::Currency(CY value) {
    CVariant v;
    v.m_value.vt = VT_CY;
    v.m_value.cyVal = value;
    return v;
}

CVariant CVariant::Date(DATE value) {
    CVariant v;
    v.m_value.vt = VT_DATE;
    v.m_value.date = value;
    return v;
}

CVariant CVariant::Bool(bool value) {
    CVariant v;
    v.m_value.vt = VT_BOOL;
    v.m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

CVariant CVariant::Text(const std::string& ansiText) {
    CVariant v;
    v.m_value.vt = VT_BSTR;
    v.m_value.bstrVal = CBstr::FromAnsi(ansiText).Detach();
    return v;
}

CVariant CVariant::FileName(const std::string& path) {
    CVariant v;
    v.m_value.vt = VT_BSTR;
    v.m_value.bstrVal = CBstr::FromSystemAnsi(path).Detach();
    return v;
}

CVariant CVariant::CopyOf(const VARIANT& value) {
    CVariant v;
    if (FAILED(VariantCopy(&v.m_value, const_cast<VARIANT*>(&value)))) v.Clear();
    return v;
}

VARIANT* CVariant::Receive() {
    Clear();
    return &m_value;
}

VARIANT CVariant::Detach() {
    VARIANT value = m_value;
    VariantInit(&m_value);
    return value;
}

void CVariant::Clear() {
    VariantClear(&m_value);
    VariantInit(&m_value);
}
