#pragma once
// One open registry key, closed when its holder goes.  Move-only, so a key
// is closed exactly once whichever way the code leaves.
#include <windows.h>

#include <string>

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey();
    CRegKey(CRegKey&& other) noexcept;
    CRegKey& operator=(CRegKey&& other) noexcept;
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // The opened key, or an empty holder when it cannot be opened (missing,
    // or not with that access).
    static CRegKey Open(HKEY parent, const std::string& path, REGSAM access);
    // Opens the key, creating it and every missing key above it first: a
    // non-volatile key with an empty class.  Empty when that fails.
    static CRegKey Create(HKEY parent, const std::string& path, REGSAM access);

    HKEY Get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }
    void Close();

    // A REG_SZ value of any length.  false, text untouched, when the value is
    // missing or of another type.  Text ends at the first NUL, or with the
    // data when the NUL is missing.
    bool QueryString(const std::string& name, std::string& text) const;
    // A REG_DWORD value; false, value untouched, when missing or another type.
    bool QueryDword(const std::string& name, DWORD& value) const;

    // REG_SZ with its NUL; REG_DWORD.  The registry's result code.
    LONG SetString(const std::string& name, const std::string& text) const;
    LONG SetDword(const std::string& name, DWORD value) const;

private:
    explicit CRegKey(HKEY key) : m_key(key) {}
    HKEY m_key = nullptr;
};
