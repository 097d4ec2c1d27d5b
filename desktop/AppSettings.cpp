#include "AppSettings.h"

#include "Message.h"
#include "Module.h"
#include "PalmUsers.h"
#include "Profile.h"
#include "RegKey.h"
#include "resource.h"

#include <utility>

namespace {
constexpr char kSection[] = "Options";

// Palm Desktop's key under two names: the older one wins when both exist.
constexpr const char* kPalmDesktopKeys[] = {
    "Software\\U.S. Robotics\\Pilot Desktop",
    "Software\\Palm Computing\\Pilot Desktop",
};
constexpr char kButtonKey[] = "ApplicationRUDUV";
constexpr DWORD kCreatorRoru = 0x526F7275;  // "Roru", first character in the high byte

// Palm Desktop starts the program by this path: the running executable, its
// extension written "exe".
std::string ButtonModulePath() {
    std::string path = ModuleFilePath();
    if (path.size() >= 3) path.replace(path.size() - 3, 3, "exe");
    return path;
}
}  // namespace

// A comma when the locale cannot tell a separator that fits (more than 9
// characters) or tells an empty one, since CSV files need a separator.
std::string AppSettings::LocaleListSeparator() {
    char separator[10] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator) == 0) return ",";
    separator[sizeof separator - 1] = '\0';
    return separator[0] ? separator : ",";
}

AppSettings::AppSettings(std::string separator, int exportNoCr)
    : exportnocr(exportNoCr), listSeparator(std::move(separator)) {}

AppSettings::AppSettings() : listSeparator(LocaleListSeparator()) {
    const int count = PalmUserCount();
    if (count > 0) palmuser = PalmUserName(0);
    else ShowMessage(IDS_NO_PALM_DESKTOP, MB_OK, count);
}

AppSettings::~AppSettings() = default;

void AppSettings::LoadSettings() {
    palmuser = ProfileString(kSection, "palmuser", palmuser);
    ignoreimporterrors = ProfileInt(kSection, "ignoreimporterrors", ignoreimporterrors);
    exportnocr = ProfileInt(kSection, "exportnocr", exportnocr);
    lastfile = ProfileString(kSection, "lastfile", lastfile);
    palmdesktopbutton = ProfileInt(kSection, "palmdesktopbutton", palmdesktopbutton);
    UpdateDesktopButton(palmdesktopbutton);
}

void AppSettings::SaveSettings() {
    // A failed write goes unreported: there is nothing the user could do
    // about it at exit.
    SetProfileString(kSection, "palmuser", palmuser);
    SetProfileInt(kSection, "ignoreimporterrors", ignoreimporterrors);
    SetProfileInt(kSection, "exportnocr", exportnocr);
    SetProfileString(kSection, "lastfile", lastfile);
    SetProfileInt(kSection, "palmdesktopbutton", palmdesktopbutton);
    UpdateDesktopButton(palmdesktopbutton);
}

void AppSettings::UpdateDesktopButton(int flag) {
    CRegKey desktop;
    for (const char* name : kPalmDesktopKeys) {
        desktop = CRegKey::Open(HKEY_CURRENT_USER, name, KEY_READ | KEY_WRITE);
        if (desktop) break;
    }
    if (!desktop) {
        palmdesktopbutton = 0;
        return;
    }
    if (!flag) {
        // A missing registration is what is wanted anyway.
        RegDeleteKeyA(desktop.Get(), kButtonKey);
        return;
    }
    const CRegKey button = CRegKey::Create(desktop.Get(), kButtonKey, KEY_WRITE);
    if (!button) {
        palmdesktopbutton = 0;
        return;
    }
    button.SetString("Directory", "Backup");
    button.SetDword("Integrate", 1);
    button.SetDword("Creator", kCreatorRoru);
    button.SetString("Name", "RUDUV");
    button.SetString("Module", ButtonModulePath());
}

std::string AppSettings::GetBackupFolder() const { return PalmUserDirectory(palmuser) + "\\backup"; }

std::string AppSettings::GetDatabasePrefix() const { return PalmUserDirectory(palmuser) + "\\backup\\roadtallydb"; }
