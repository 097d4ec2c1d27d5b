#pragma once
#include <wtypes.h>

#include <string>

// Owns one BSTR and frees it when it goes.  Move-only.
class CBstr {
public:
    CBstr() = default;
    ~CBstr() { Reset(); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    CBstr(CBstr&& other) noexcept;
    CBstr& operator=(CBstr&& other) noexcept;

    // The program's 8-bit text is Windows-1252 whatever the system's ANSI code
    // page is (it may be UTF-8), so the euro sign 0x80 and accented letters
    // keep their meaning on the way to and from a UTF-16 string.
    static CBstr FromAnsi(const std::string& text);
    static CBstr FromWide(const std::wstring& text);
    static std::string ToAnsi(const wchar_t* text, unsigned length);
    // File names and the system's own messages are in the system's ANSI code
    // page: they come from the file dialogs and the command line, and go to
    // the message boxes, in it.
    static CBstr FromSystemAnsi(const std::string& text);
    static std::string ToSystemAnsi(const wchar_t* text, unsigned length);

    BSTR Get() const { return m_bstr; }
    // Gives up ownership: the caller frees it (or hands it to a VARIANT).
    BSTR Detach();
    std::string ToAnsi() const;
    std::wstring ToWide() const;
    void Reset();

private:
    static CBstr FromCodePage(const std::string& text, unsigned codePage);
    static std::string ToCodePage(const wchar_t* text, unsigned length, unsigned codePage);

    BSTR m_bstr = nullptr;
};
