#pragma once
// The install library stand-in's Palm Desktop: a root folder holding
// users.txt, which names the handheld users, and one folder per user with
// backup\ (the handheld's databases) and Install\ (files queued for the next
// HotSync).  The root is found as Palm Desktop's library finds it, by the
// value Path of HKEY_CURRENT_USER\Software\U.S. Robotics\Pilot Desktop\Core.
// README.md beside this file describes the layout.
#include <string>
#include <vector>

class CPalmDesktopFolder {
public:
    struct User {
        std::string name;    // as the handheld knows it
        std::string folder;  // the user's folder, relative to the root
    };

    static const char* const kCoreKey;    // under HKEY_CURRENT_USER
    static const char* const kRootValue;  // "Path"
    static const char* const kUsersFile;  // "users.txt"

    // The registered root without a trailing backslash; empty when none is.
    static std::string RegisteredRoot();
    static bool RegisterRoot(const std::string& root);
    // Makes the folder and every missing folder above it; true when it is there.
    static bool MakeFolder(const std::string& path);

    explicit CPalmDesktopFolder(std::string root);

    // Reads users.txt; false, no users, when it is missing, unreadable or has
    // a line that names no user and folder.
    bool Load();
    // Makes the root and every user's backup\ and Install\ folders and writes
    // users.txt; false when any of it fails.
    bool Save() const;

    void AddUser(std::string name, std::string folder);
    const std::vector<User>& GetUsers() const { return m_users; }
    // The user of exactly that name, or none.
    const User* FindUser(const std::string& name) const;

    const std::string& GetRoot() const { return m_root; }
    std::string UserDirectory(const User& user) const;
    std::string BackupFolder(const User& user) const;
    std::string InstallFolder(const User& user) const;

private:
    std::string m_root;
    std::vector<User> m_users;
};
