#include "Profile.h"

#include "Module.h"
#include "RegKey.h"

namespace {
std::string& Company() {
    static std::string company;
    return company;
}

CRegKey SectionKey(const std::string& section) {
    if (Company().empty()) return CRegKey();
    return CRegKey::Create(HKEY_CURRENT_USER, ProfileKeyPath(section), KEY_READ | KEY_WRITE);
}
}  // namespace

void SetRegistryKey(const std::string& company) { Company() = company; }

const std::string& RegistryKey() { return Company(); }

std::string ProfileKeyPath(const std::string& section) {
    return "Software\\" + Company() + "\\" + ApplicationName() + "\\" + section;
}

std::string ProfileString(const std::string& section, const std::string& entry, const std::string& defaultValue) {
    std::string value = defaultValue;
    if (CRegKey key = SectionKey(section)) key.QueryString(entry, value);
    return value;
}

int ProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    DWORD value = static_cast<DWORD>(defaultValue);
    if (CRegKey key = SectionKey(section)) key.QueryDword(entry, value);
    return static_cast<int>(value);
}

bool SetProfileString(const std::string& section, const std::string& entry, const std::string& value) {
    CRegKey key = SectionKey(section);
    return key && key.SetString(entry, value) == ERROR_SUCCESS;
}

bool SetProfileInt(const std::string& section, const std::string& entry, int value) {
    CRegKey key = SectionKey(section);
    return key && key.SetDword(entry, static_cast<DWORD>(value)) == ERROR_SUCCESS;
}
