#pragma once
// What the Palm Desktop tests share: every test starts from a registry and a
// folder of its own, since all test programs share one Wine prefix.
#include "Message.h"
#include "PalmDesktopFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testpalm {

constexpr char kUsRoboticsKey[] = "Software\\U.S. Robotics\\Pilot Desktop";
constexpr char kPalmComputingKey[] = "Software\\Palm Computing\\Pilot Desktop";

// Removes the key and everything below it from HKEY_CURRENT_USER.
void DeleteRegistryTree(const std::string& path);
bool RegistryKeyExists(const std::string& path);

// A value exactly as stored: its type and data bytes.  type 0 when missing.
struct RawValue {
    DWORD type = 0;
    std::string bytes;
};
RawValue ReadRawValue(const std::string& keyPath, const std::string& name);
void WriteRawValue(const std::string& keyPath, const std::string& name, DWORD type, const std::string& bytes);
std::string DwordBytes(DWORD value);
// Removes a folder and everything in it.
void RemoveTree(const std::string& path);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A clean start and finish: no Palm Desktop keys, no profile of this
// program, an empty folder of the test's own; every message the code shows
// is recorded and answered with OK.
class PalmDesktopTest : public testing::Test {
protected:
    PalmDesktopTest();
    ~PalmDesktopTest() override;

    // Makes a Palm Desktop with these users (name, folder) under the test's
    // folder and registers it as the install library's root.
    CPalmDesktopFolder MakePalmDesktop(const std::vector<std::pair<std::string, std::string>>& users);

    const std::string folder;  // the test's own, without trailing backslash
    std::vector<ShownMessage> messages;

private:
    static void ResetRegistry();
    ScopedMessageResponder m_responder;
};

}  // namespace testpalm
