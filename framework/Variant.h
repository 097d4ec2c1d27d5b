#pragma once
#include <oaidl.h>

#include <string>

// Owns one VARIANT and clears it when it goes.  Move-only.
class CVariant {
public:
    CVariant();
    ~CVariant();
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    CVariant(CVariant&& other) noexcept;
    CVariant& operator=(CVariant&& other) noexcept;

    static CVariant Int32(long value);
    static CVariant Double(double value);
    static CVariant Currency(CY value);
    static CVariant Date(DATE value);
    static CVariant Bool(bool value);
    static CVariant Text(const std::string& ansiText);  // Windows-1252
    static CVariant FileName(const std::string& path);  // the system's ANSI code page
    // A copy of another VARIANT (a deep copy of strings and arrays, one more
    // reference of an interface); an empty value when it cannot be copied.
    static CVariant CopyOf(const VARIANT& value);

    VARIANT& Get() { return m_value; }
    const VARIANT& Get() const { return m_value; }
    VARTYPE Type() const { return m_value.vt; }
    // Cleared, for the out parameter of a call that fills it.
    VARIANT* Receive();
    // Hands the value over to the caller, leaving this one empty.
    VARIANT Detach();
    void Clear();

private:
    VARIANT m_value;
};
