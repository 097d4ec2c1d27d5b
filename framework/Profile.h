#pragma once
// The application's registry profile: values under
// HKEY_CURRENT_USER\Software\<registry key>\<application>\<section>, where the
// application is the executable's name.  Keys are created when missing, on
// reading as on writing.  Until SetRegistryKey is called there is no profile:
// reads give their default and writes store nothing.
#include <string>

// Sets the company key under Software; start-up calls it once, before the
// settings are read.
void SetRegistryKey(const std::string& company);
// The company key set, or empty.
const std::string& RegistryKey();
// "Software\<company>\<application>\<section>", the profile key of section.
std::string ProfileKeyPath(const std::string& section);

// A string value (REG_SZ) of any length; defaultValue when missing or of
// another type.
std::string ProfileString(const std::string& section, const std::string& entry, const std::string& defaultValue);
// A 32-bit number (REG_DWORD); defaultValue when missing or of another type.
int ProfileInt(const std::string& section, const std::string& entry, int defaultValue);

// true when the value was stored.
bool SetProfileString(const std::string& section, const std::string& entry, const std::string& value);
bool SetProfileInt(const std::string& section, const std::string& entry, int value);
