#include "InstallQueue.h"

#include "InstAide.h"
#include "Message.h"
#include "resource.h"

#include <windows.h>

#include <cstring>

namespace {
constexpr std::size_t kBufferSize = 1000;

// Copies text into buffer; false when it does not fit whole.  A cut user
// name or path would name another user or file, so nothing is cut here.
bool CopyWhole(const std::string& text, char (&buffer)[kBufferSize]) {
    if (text.size() >= kBufferSize || text.find('\0') != std::string::npos) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}
}  // namespace

bool QueueForInstall(const std::string& user, const std::string& path) {
    char userBuffer[kBufferSize];
    char pathBuffer[kBufferSize];
    const bool handedOver = !user.empty() && CopyWhole(user, userBuffer) && CopyWhole(path, pathBuffer) &&
                            InstAideInstallFile(userBuffer, pathBuffer) >= 0;
    if (!handedOver) {
        ShowMessage(IDS_INSTALL_FAILED, MB_OK | MB_ICONERROR, user, path);
        return false;
    }
    ShowMessage(IDS_INSTALL_QUEUED, MB_OK | MB_ICONINFORMATION, user);
    return true;
}
