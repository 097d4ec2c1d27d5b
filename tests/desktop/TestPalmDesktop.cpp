#include "TestPalmDesktop.h"

#include "Module.h"
#include "Profile.h"
#include "RegKey.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace testpalm {

void DeleteRegistryTree(const std::string& path) { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

bool RegistryKeyExists(const std::string& path) {
    return static_cast<bool>(CRegKey::Open(HKEY_CURRENT_USER, path, KEY_READ));
}

// Read and written with the plain registry calls, apart from the code under test.
RawValue ReadRawValue(const std::string& keyPath, const std::string& name) {
    RawValue value;
    const CRegKey key = CRegKey::Open(HKEY_CURRENT_USER, keyPath, KEY_READ);
    DWORD size = 0;
    if (key && RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(&value.bytes[0]),
                         &size);
        value.bytes.resize(size);
    }
    return value;
}

void WriteRawValue(const std::string& keyPath, const std::string& name, DWORD type, const std::string& bytes) {
    const CRegKey key = CRegKey::Create(HKEY_CURRENT_USER, keyPath, KEY_WRITE);
    ASSERT_TRUE(key) << keyPath;
    EXPECT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

namespace {
std::string TestFolderName() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::ostringstream name;
    name << testing::TempDir() << "rt-" << test->test_suite_name() << "-" << test->name() << "-"
         << GetCurrentProcessId();
    std::string path = name.str();
    for (char& c : path)
        if (c == '/') c = '_';
    return path;
}
}  // namespace

PalmDesktopTest::PalmDesktopTest()
    : folder(TestFolderName()), m_responder([this](const ShownMessage& message) {
          messages.push_back(message);
          return IDOK;
      }) {
    SetRegistryKey("Kestrelix");
    ResetRegistry();
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
}

PalmDesktopTest::~PalmDesktopTest() {
    ResetRegistry();
    RemoveTree(folder);
}

void PalmDesktopTest::ResetRegistry() {
    DeleteRegistryTree(kUsRoboticsKey);
    DeleteRegistryTree(kPalmComputingKey);
    DeleteRegistryTree("Software\\Kestrelix\\" + ApplicationName());
}

CPalmDesktopFolder PalmDesktopTest::MakePalmDesktop(
    const std::vector<std::pair<std::string, std::string>>& users) {
    CPalmDesktopFolder desktop(folder + "\\Palm");
    for (const auto& [name, userFolder] : users) desktop.AddUser(name, userFolder);
    EXPECT_TRUE(desktop.Save());
    EXPECT_TRUE(CPalmDesktopFolder::RegisterRoot(desktop.GetRoot()));
    return desktop;
}

}  // namespace testpalm
