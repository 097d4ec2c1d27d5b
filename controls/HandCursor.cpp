#include "HandCursor.h"

#include <string>

namespace {
HCURSOR& Shared() {
    static HCURSOR cursor = nullptr;
    return cursor;
}

// The help viewer's hand, which every Windows of old carried; copied so that
// it outlives the module.
HCURSOR CopyHelpViewerHand() {
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(folder) + "\\winhlp32.exe";
    // Only its resources are wanted: no code of it is mapped to run.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return nullptr;
    HCURSOR hand = nullptr;
    if (HCURSOR resource = LoadCursorA(module, MAKEINTRESOURCEA(106)))
        hand = reinterpret_cast<HCURSOR>(CopyIcon(reinterpret_cast<HICON>(resource)));
    FreeLibrary(module);
    return hand;
}
}  // namespace

namespace HandCursor {
HCURSOR Get() { return Shared(); }

HCURSOR Load() {
    HCURSOR& cursor = Shared();
    if (cursor != nullptr) return cursor;
    cursor = CopyHelpViewerHand();
    // Where the help viewer is a stub without the cursor, the system's own
    // hand still shows the user a link.
    if (cursor == nullptr) cursor = LoadCursorA(nullptr, IDC_HAND);
    return cursor;
}
}  // namespace HandCursor
