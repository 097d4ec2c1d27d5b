#include "PalmDesktopFolder.h"

#include "RegKey.h"

#include <fstream>
#include <sstream>

const char* const CPalmDesktopFolder::kCoreKey = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
const char* const CPalmDesktopFolder::kRootValue = "Path";
const char* const CPalmDesktopFolder::kUsersFile = "users.txt";

namespace {
std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/') && path[path.size() - 2] != ':')
        path.pop_back();
    return path;
}

// A name or folder that users.txt can hold on one line.
bool FitsOnLine(const std::string& text) {
    return !text.empty() && text.find_first_of("\t\r\n") == std::string::npos;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::string CPalmDesktopFolder::RegisteredRoot() {
    std::string root;
    if (CRegKey core = CRegKey::Open(HKEY_CURRENT_USER, kCoreKey, KEY_READ)) core.QueryString(kRootValue, root);
    return WithoutTrailingSeparators(root);
}

bool CPalmDesktopFolder::RegisterRoot(const std::string& root) {
    CRegKey core = CRegKey::Create(HKEY_CURRENT_USER, kCoreKey, KEY_WRITE);
    return core && core.SetString(kRootValue, root) == ERROR_SUCCESS;
}

bool CPalmDesktopFolder::MakeFolder(const std::string& path) {
    const std::string folder = WithoutTrailingSeparators(path);
    if (folder.empty() || IsFolder(folder)) return !folder.empty();
    const std::string::size_type slash = folder.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && folder[slash - 1] != ':' && folder[slash - 1] != '\\' &&
        !MakeFolder(folder.substr(0, slash)))
        return false;
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

CPalmDesktopFolder::CPalmDesktopFolder(std::string root) : m_root(WithoutTrailingSeparators(std::move(root))) {}

bool CPalmDesktopFolder::Load() {
    m_users.clear();
    std::ifstream file(m_root + "\\" + kUsersFile, std::ios::binary);
    if (!file) return false;
    std::vector<User> users;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::string::size_type tab = line.find('\t');
        if (tab == std::string::npos || tab + 1 == line.size()) return false;
        users.push_back(User{line.substr(0, tab), line.substr(tab + 1)});
    }
    if (file.bad()) return false;
    m_users = std::move(users);
    return true;
}

bool CPalmDesktopFolder::Save() const {
    if (!MakeFolder(m_root)) return false;
    std::ostringstream text;
    for (const User& user : m_users) {
        if (!FitsOnLine(user.name) || !FitsOnLine(user.folder)) return false;
        if (!MakeFolder(BackupFolder(user)) || !MakeFolder(InstallFolder(user))) return false;
        text << user.name << '\t' << user.folder << "\r\n";
    }
    std::ofstream file(m_root + "\\" + kUsersFile, std::ios::binary | std::ios::trunc);
    file << text.str();
    file.close();
    return !file.fail();
}

void CPalmDesktopFolder::AddUser(std::string name, std::string folder) {
    m_users.push_back(User{std::move(name), std::move(folder)});
}

const CPalmDesktopFolder::User* CPalmDesktopFolder::FindUser(const std::string& name) const {
    for (const User& user : m_users)
        if (user.name == name) return &user;
    return nullptr;
}

std::string CPalmDesktopFolder::UserDirectory(const User& user) const { return m_root + "\\" + user.folder; }

std::string CPalmDesktopFolder::BackupFolder(const User& user) const { return UserDirectory(user) + "\\backup"; }

std::string CPalmDesktopFolder::InstallFolder(const User& user) const { return UserDirectory(user) + "\\Install"; }
