#include "InstAideLibrary.h"

#include "InstAide.h"
#include "Module.h"
#include "RegKey.h"

#include <utility>

const char* const CInstAideLibrary::kFileName = "INSTAIDE.dll";

namespace {
constexpr int kNotThere = -1;

// Palm Desktop's own key under its two names, the older one first.
constexpr const char* kCoreKeys[] = {
    "Software\\U.S. Robotics\\Pilot Desktop\\Core",
    "Software\\Palm Computing\\Pilot Desktop\\Core",
};

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string InFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + CInstAideLibrary::kFileName;
}

std::string ProgramFolder() {
    const std::string program = ModuleFilePath();
    const std::string::size_type slash = program.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

template <typename Entry>
Entry Ordinal(HMODULE module, WORD ordinal) {
    // Entries are looked up by number: the library exports no names.
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

int Missing(char* buffer, long capacity) {
    if (buffer && capacity > 0) buffer[0] = '\0';
    return kNotThere;
}
}  // namespace

const CInstAideLibrary& CInstAideLibrary::Process() {
    static const CInstAideLibrary library(Locate(ProgramFolder()));
    return library;
}

std::string CInstAideLibrary::Locate(const std::string& programFolder) {
    if (!programFolder.empty() && IsFile(InFolder(programFolder))) return InFolder(programFolder);
    for (const char* keyPath : kCoreKeys) {
        std::string palmFolder;
        if (CRegKey core = CRegKey::Open(HKEY_CURRENT_USER, keyPath, KEY_READ)) core.QueryString("Path", palmFolder);
        if (!palmFolder.empty() && IsFile(InFolder(palmFolder))) return InFolder(palmFolder);
    }
    return std::string();
}

CInstAideLibrary::CInstAideLibrary(const std::string& path) {
    if (path.empty()) return;
    // With an absolute path the library's own dependencies are looked for in
    // its folder first, as Palm Desktop itself would find them.
    m_module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!m_module) return;
    m_userCount = Ordinal<UserCountEntry>(m_module, 101);
    m_userName = Ordinal<UserNameEntry>(m_module, 102);
    m_installFile = Ordinal<InstallFileEntry>(m_module, 103);
    m_userDirectory = Ordinal<UserDirectoryEntry>(m_module, 300);
}

CInstAideLibrary::~CInstAideLibrary() { Free(); }

CInstAideLibrary::CInstAideLibrary(CInstAideLibrary&& other) noexcept
    : m_module(std::exchange(other.m_module, nullptr)),
      m_userCount(std::exchange(other.m_userCount, nullptr)),
      m_userName(std::exchange(other.m_userName, nullptr)),
      m_installFile(std::exchange(other.m_installFile, nullptr)),
      m_userDirectory(std::exchange(other.m_userDirectory, nullptr)) {}

CInstAideLibrary& CInstAideLibrary::operator=(CInstAideLibrary&& other) noexcept {
    if (this != &other) {
        Free();
        m_module = std::exchange(other.m_module, nullptr);
        m_userCount = std::exchange(other.m_userCount, nullptr);
        m_userName = std::exchange(other.m_userName, nullptr);
        m_installFile = std::exchange(other.m_installFile, nullptr);
        m_userDirectory = std::exchange(other.m_userDirectory, nullptr);
    }
    return *this;
}

void CInstAideLibrary::Free() {
    m_userCount = nullptr;
    m_userName = nullptr;
    m_installFile = nullptr;
    m_userDirectory = nullptr;
    if (m_module) FreeLibrary(std::exchange(m_module, nullptr));
}

int CInstAideLibrary::UserCount() const { return m_userCount ? m_userCount() : kNotThere; }

int CInstAideLibrary::UserName(unsigned int index, char* name, short* size) const {
    if (m_userName) return m_userName(index, name, size);
    return Missing(name, size ? *size : 0);
}

int CInstAideLibrary::InstallFile(const char* user, const char* path) const {
    return m_installFile ? m_installFile(user, path) : kNotThere;
}

int CInstAideLibrary::UserDirectory(const char* user, char* directory, int* size) const {
    if (m_userDirectory) return m_userDirectory(user, directory, size);
    return Missing(directory, size ? *size : 0);
}

int InstAideUserCount() { return CInstAideLibrary::Process().UserCount(); }

int InstAideUserName(unsigned int index, char* name, short* size) {
    return CInstAideLibrary::Process().UserName(index, name, size);
}

int InstAideInstallFile(const char* user, const char* path) {
    return CInstAideLibrary::Process().InstallFile(user, path);
}

int InstAideUserDirectory(const char* user, char* directory, int* size) {
    return CInstAideLibrary::Process().UserDirectory(user, directory, size);
}
