#include "TestFiles.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string LocaleDate(int year, int month, int day) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    char buffer[100] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
    return buffer;
}

std::string LocaleTime(int hour, int minute) {
    SYSTEMTIME st = {};
    st.wYear = 2001;
    st.wMonth = 1;
    st.wDay = 1;
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    char buffer[100] = {};
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, buffer, sizeof buffer);
    return buffer;
}

std::string LocaleListSeparator() {
    char buffer[10] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, buffer, sizeof buffer);
    return buffer;
}

std::string InSystemCodePage(const wchar_t* text) {
    if (const char* wanted = std::getenv("RT_CODE_PAGE"); wanted && std::atoi(wanted) != static_cast<int>(GetACP()))
        throw std::runtime_error("the system's ANSI code page is " + std::to_string(GetACP()) + ", not " + wanted);
    char buffer[MAX_PATH] = {};
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, buffer, MAX_PATH, nullptr, &lost);
    return length > 0 && !lost ? buffer : "";
}
