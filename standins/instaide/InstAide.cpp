// The four entries of the install library stand-in, exported by ordinal only
// (INSTAIDE.def).  Results: 0 or more on success, a negative InstAideError
// otherwise.  A caller's buffer is never written past the size it gives.
#include "InstAideErrors.h"
#include "PalmDesktopFolder.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>

namespace {
// The registered Palm Desktop with its users; none when there is none.
std::optional<CPalmDesktopFolder> RegisteredPalmDesktop() {
    CPalmDesktopFolder desktop(CPalmDesktopFolder::RegisteredRoot());
    if (desktop.GetRoot().empty() || !desktop.Load()) return std::nullopt;
    return desktop;
}

// Copies text and its NUL into buffer of capacity bytes, or, when it does not
// fit, leaves an empty text (room permitting).  needed is the size it takes.
int CopyOut(const std::string& text, char* buffer, long capacity, long& needed) {
    needed = static_cast<long>(text.size()) + 1;
    if (needed > capacity) {
        if (capacity > 0) buffer[0] = '\0';
        return kInstAideBufferTooSmall;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

std::string FileNameOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

// Nothing may leave these entries as an exception: the caller is C.
extern "C" {

int WINAPI StandInUserCount(void) try {
    const std::optional<CPalmDesktopFolder> desktop = RegisteredPalmDesktop();
    if (!desktop) return kInstAideNoPalmDesktop;
    return static_cast<int>(desktop->GetUsers().size());
} catch (...) {
    return kInstAideFailed;
}

int WINAPI StandInUserName(unsigned int index, char* name, short* size) try {
    if (!name || !size) return kInstAideBadArgument;
    const std::optional<CPalmDesktopFolder> desktop = RegisteredPalmDesktop();
    if (!desktop) return kInstAideNoPalmDesktop;
    if (index >= desktop->GetUsers().size()) {
        if (*size > 0) name[0] = '\0';
        return kInstAideUnknownUser;
    }
    long needed = 0;
    const int result = CopyOut(desktop->GetUsers()[index].name, name, *size, needed);
    *size = static_cast<short>(needed < SHRT_MAX ? needed : SHRT_MAX);
    return result;
} catch (...) {
    return kInstAideFailed;
}

int WINAPI StandInUserDirectory(const char* user, char* directory, int* size) try {
    if (!user || !directory || !size) return kInstAideBadArgument;
    const std::optional<CPalmDesktopFolder> desktop = RegisteredPalmDesktop();
    if (!desktop) return kInstAideNoPalmDesktop;
    const CPalmDesktopFolder::User* found = desktop->FindUser(user);
    if (!found) {
        if (*size > 0) directory[0] = '\0';
        return kInstAideUnknownUser;
    }
    long needed = 0;
    const int result = CopyOut(desktop->UserDirectory(*found), directory, *size, needed);
    *size = static_cast<int>(needed);
    return result;
} catch (...) {
    return kInstAideFailed;
}

int WINAPI StandInInstallFile(const char* user, const char* path) try {
    if (!user || !path) return kInstAideBadArgument;
    const std::optional<CPalmDesktopFolder> desktop = RegisteredPalmDesktop();
    if (!desktop) return kInstAideNoPalmDesktop;
    const CPalmDesktopFolder::User* found = desktop->FindUser(user);
    if (!found) return kInstAideUnknownUser;
    const DWORD attributes = GetFileAttributesA(path);
    const std::string name = FileNameOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || name.empty())
        return kInstAideFileMissing;
    // The Install folder is the queue: a file of the same name queued again
    // replaces the one waiting.
    const std::string queue = desktop->InstallFolder(*found);
    if (!CPalmDesktopFolder::MakeFolder(queue) || !CopyFileA(path, (queue + "\\" + name).c_str(), FALSE))
        return kInstAideFailed;
    return 0;
} catch (...) {
    return kInstAideFailed;
}

}  // extern "C"
