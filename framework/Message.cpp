#include "Message.h"

#include "Module.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <utility>
#include <vector>

namespace {
ScopedMessageResponder::Responder& CurrentResponder() {
    static ScopedMessageResponder::Responder responder;
    return responder;
}
}  // namespace

std::string LoadResourceString(unsigned id) {
    // With a zero buffer size LoadStringA cannot hand out a pointer (that is
    // the wide version's trick), so grow a buffer until the text fits.
    std::vector<char> buffer(256);
    for (;;) {
        int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) return std::string();
        if (static_cast<std::size_t>(length) < buffer.size() - 1) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

int ShowMessageText(const std::string& text, unsigned type) {
    if (CurrentResponder()) return CurrentResponder()(ShownMessage{text, type});
    return MessageBoxA(GetActiveWindow(), text.c_str(), ApplicationName().c_str(), type);
}

namespace message_detail {
std::string FormatPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return result;
}
}  // namespace message_detail

ScopedMessageResponder::ScopedMessageResponder(Responder responder)
    : m_previous(std::exchange(CurrentResponder(), std::move(responder))) {}

ScopedMessageResponder::~ScopedMessageResponder() { CurrentResponder() = std::move(m_previous); }
