#include "Bstr.h"

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace {
constexpr UINT kTextCodePage = 1252;
}

CBstr::CBstr(CBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}

CBstr& CBstr::operator=(CBstr&& other) noexcept {
    if (this != &other) {
        Reset();
        m_bstr = std::exchange(other.m_bstr, nullptr);
    }
    return *this;
}

CBstr CBstr::FromAnsi(const std::string& text) { return FromCodePage(text, kTextCodePage); }

CBstr CBstr::FromSystemAnsi(const std::string& text) { return FromCodePage(text, CP_ACP); }

CBstr CBstr::FromCodePage(const std::string& text, unsigned codePage) {
    CBstr result;
    const int size = static_cast<int>(text.size());
    const int length = size == 0 ? 0 : MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    result.m_bstr = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, result.m_bstr, length);
    return result;
}

CBstr CBstr::FromWide(const std::wstring& text) {
    CBstr result;
    result.m_bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return result;
}

std::string CBstr::ToAnsi(const wchar_t* text, unsigned length) { return ToCodePage(text, length, kTextCodePage); }

std::string CBstr::ToSystemAnsi(const wchar_t* text, unsigned length) { return ToCodePage(text, length, CP_ACP); }

std::string CBstr::ToCodePage(const wchar_t* text, unsigned length, unsigned codePage) {
    if (!text || length == 0) return std::string();
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(codePage, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, text, size, &result[0], bytes, nullptr, nullptr);
    return result;
}

BSTR CBstr::Detach() { return std::exchange(m_bstr, nullptr); }

std::string CBstr::ToAnsi() const { return ToAnsi(m_bstr, SysStringLen(m_bstr)); }

std::wstring CBstr::ToWide() const { return m_bstr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : std::wstring(); }

void CBstr::Reset() {
    if (m_bstr) SysFreeString(std::exchange(m_bstr, nullptr));
}
