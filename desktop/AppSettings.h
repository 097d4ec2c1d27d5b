#pragma once
#include <string>

// The one settings object of a run: the user's choices kept in the registry
// under HKEY_CURRENT_USER\Software\Kestrelix\<application>\Options, and the
// locale's list separator for CSV files.  Created at start-up, shared by
// pointer, written back when the main dialog goes.
class AppSettings {
public:
    // Reads the locale's list separator and takes Palm Desktop's first user
    // as the default palmuser (telling the user when there is none).
    AppSettings();
    // Settings of a run outside the program (the console driver): this
    // separator and line-feed option, nothing asked of Palm Desktop, and the
    // registry left alone as long as nobody loads, saves or updates them.
    AppSettings(std::string separator, int exportNoCr);
    // The locale's list separator; a comma when the locale tells none that fits.
    static std::string LocaleListSeparator();
    virtual ~AppSettings();

    void LoadSettings();
    void SaveSettings();
    // Brings the Palm Desktop button registration in line with flag; may
    // reset palmdesktopbutton to 0 when the registration cannot be made.
    void UpdateDesktopButton(int flag);

    // The chosen user's backup folder ("<user directory>\backup") and the
    // common beginning of that user's database paths
    // ("<user directory>\backup\roadtallydb").
    std::string GetBackupFolder() const;
    std::string GetDatabasePrefix() const;

    std::string palmuser;
    int exportnocr = 0;
    int ignoreimporterrors = 0;
    int palmdesktopbutton = 0;
    std::string lastfile;
    std::string listSeparator;  // the field separator of CSV files; not persisted
};
