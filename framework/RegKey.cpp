#include "RegKey.h"

#include <cstring>
#include <utility>
#include <vector>

CRegKey::~CRegKey() { Close(); }

CRegKey::CRegKey(CRegKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_key = std::exchange(other.m_key, nullptr);
    }
    return *this;
}

void CRegKey::Close() {
    if (m_key) RegCloseKey(std::exchange(m_key, nullptr));
}

CRegKey CRegKey::Open(HKEY parent, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return CRegKey();
    return CRegKey(key);
}

CRegKey CRegKey::Create(HKEY parent, const std::string& path, REGSAM access) {
    char noClass[] = "";
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, path.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return CRegKey();
    return CRegKey(key);
}

bool CRegKey::QueryString(const std::string& name, std::string& text) const {
    // Ask for the size first; another writer may grow the value between the
    // two calls, so ask again then.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return false;
        // One byte more than the data, so that text without its NUL ends too.
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
        DWORD got = size;
        LONG result = RegQueryValueExA(m_key, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS || type != REG_SZ) return false;
        const std::size_t data = got < size ? got : size;
        const void* nul = std::memchr(buffer.data(), '\0', data);
        text.assign(buffer.data(), nul ? static_cast<const char*>(nul) - buffer.data() : data);
        return true;
    }
    return false;
}

bool CRegKey::QueryDword(const std::string& name, DWORD& value) const {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(m_key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    value = data;
    return true;
}

LONG CRegKey::SetString(const std::string& name, const std::string& text) const {
    return RegSetValueExA(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG CRegKey::SetDword(const std::string& name, DWORD value) const {
    return RegSetValueExA(m_key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}
