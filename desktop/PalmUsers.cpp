#include "PalmUsers.h"

#include "InstAide.h"
#include "Message.h"
#include "resource.h"

#include <windows.h>

#include <cstring>

namespace {
// Every text passed to or taken from the library lives in a buffer of this
// size; whatever the library does, a text is cut to fit and always ends.
constexpr std::size_t kBufferSize = 1000;

struct TextBuffer {
    char text[kBufferSize] = {};
    void Assign(const std::string& value) {
        std::size_t length = value.size() < kBufferSize - 1 ? value.size() : kBufferSize - 1;
        std::memcpy(text, value.data(), length);
        text[length] = '\0';
    }
    std::string Take() {
        text[kBufferSize - 1] = '\0';
        return text;
    }
};
}  // namespace

int PalmUserCount() { return InstAideUserCount(); }

std::string PalmUserName(unsigned index) {
    TextBuffer name;
    short size = static_cast<short>(kBufferSize);
    InstAideUserName(index, name.text, &size);
    return name.Take();
}

std::vector<std::string> PalmUserNames() {
    std::vector<std::string> names;
    for (unsigned index = 0; static_cast<int>(index) < PalmUserCount(); ++index)
        names.push_back(PalmUserName(index));
    return names;
}

std::string PalmUserDirectory(const std::string& user) {
    TextBuffer name;
    name.Assign(user);
    TextBuffer directory;
    int size = static_cast<int>(kBufferSize);
    if (InstAideUserDirectory(name.text, directory.text, &size) <= 0) {
        ShowMessage(IDS_NO_USER_DIRECTORY, MB_OK);
        return std::string();
    }
    return directory.Take();
}
