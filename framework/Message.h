#pragma once
// Messages to the user: string-table texts filled printf-style, shown in a
// message box.  Tests see and answer every message through one seam,
// ScopedMessageResponder; the program always shows the real box.
#include <functional>
#include <string>

std::string LoadResourceString(unsigned id);

// Shows text with the MB_* buttons and icon of type; returns the ID* of the
// button the user chose.
int ShowMessageText(const std::string& text, unsigned type);

namespace message_detail {
std::string FormatPrintf(const char* format, ...);
inline const char* PrintfArg(const std::string& text) { return text.c_str(); }
inline const char* PrintfArg(const char* text) { return text; }
inline int PrintfArg(int value) { return value; }
}  // namespace message_detail

// The string-table text id filled with args (texts for %s, ints for %d).
template <typename... Args>
std::string FormatResourceString(unsigned id, const Args&... args) {
    const std::string format = LoadResourceString(id);
    if constexpr (sizeof...(Args) == 0) return format;
    else return message_detail::FormatPrintf(format.c_str(), message_detail::PrintfArg(args)...);
}

template <typename... Args>
int ShowMessage(unsigned id, unsigned type, const Args&... args) {
    return ShowMessageText(FormatResourceString(id, args...), type);
}

struct ShownMessage {
    std::string text;
    unsigned type;  // MB_* buttons and icon
};

// While one exists, messages go to it instead of the screen; its answer is
// what the user would have clicked.  Restores the previous responder when it
// goes.
class ScopedMessageResponder {
public:
    using Responder = std::function<int(const ShownMessage&)>;
    explicit ScopedMessageResponder(Responder responder);
    ~ScopedMessageResponder();
    ScopedMessageResponder(const ScopedMessageResponder&) = delete;
    ScopedMessageResponder& operator=(const ScopedMessageResponder&) = delete;

private:
    Responder m_previous;
};
