#pragma once
// Palm Desktop's install library loaded at run time and called by ordinal.
// Linking it at load time would keep the program from starting at all where
// the library is not on the DLL path (a copied backup folder, a Palm Desktop
// installed elsewhere), before it could say anything; loaded here, a missing
// library is simply "no Palm Desktop".
#include <windows.h>

#include <string>

class CInstAideLibrary {
public:
    static const char* const kFileName;  // "INSTAIDE.dll"

    // The library of this process, looked for beside the program and then
    // in Palm Desktop's folder, at the first call; kept until the process ends.
    static const CInstAideLibrary& Process();

    // Where the library is: programFolder\INSTAIDE.dll when it is there,
    // else INSTAIDE.dll in the folder that Palm Desktop registers as the
    // value Path of its key Core (under either of its two key names).  Empty
    // when it is in neither.
    static std::string Locate(const std::string& programFolder);

    // Loads the library at path (none when path is empty or fails to load).
    explicit CInstAideLibrary(const std::string& path);
    ~CInstAideLibrary();
    CInstAideLibrary(CInstAideLibrary&& other) noexcept;
    CInstAideLibrary& operator=(CInstAideLibrary&& other) noexcept;
    CInstAideLibrary(const CInstAideLibrary&) = delete;
    CInstAideLibrary& operator=(const CInstAideLibrary&) = delete;

    bool IsLoaded() const { return m_module != nullptr; }

    // The four entries (InstAide.h); an entry the library lacks answers -1
    // and leaves an empty text in a buffer it was given.
    int UserCount() const;
    int UserName(unsigned int index, char* name, short* size) const;
    int InstallFile(const char* user, const char* path) const;
    int UserDirectory(const char* user, char* directory, int* size) const;

private:
    using UserCountEntry = int(WINAPI*)();
    using UserNameEntry = int(WINAPI*)(unsigned int, char*, short*);
    using InstallFileEntry = int(WINAPI*)(const char*, const char*);
    using UserDirectoryEntry = int(WINAPI*)(const char*, char*, int*);

    void Free();

    HMODULE m_module = nullptr;
    UserCountEntry m_userCount = nullptr;
    UserNameEntry m_userName = nullptr;
    InstallFileEntry m_installFile = nullptr;
    UserDirectoryEntry m_userDirectory = nullptr;
};
