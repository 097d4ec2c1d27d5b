#include "UncaughtException.h"

#include "resource.h"
#include "Exception.h"
#include "Message.h"

#include <windows.h>

#include <exception>

namespace {
std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const CException& e) {
        return e.GetErrorMessage();
    } catch (...) {
        return std::string();
    }
}
}  // namespace

void ReportUncaughtException() noexcept {
    try {
        std::string text = CurrentExceptionText();
        if (text.empty()) text = LoadResourceString(IDS_INTERNAL_ERROR);
        ShowMessageText(text, MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Not even the message could be shown (out of memory): the window
        // still goes on.
    }
}
