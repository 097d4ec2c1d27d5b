#pragma once
// What the Windows tests share: files read and written whole, and texts
// spelled by the user's locale straight from the system, to hold the
// program's output against.
#include <string>

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The user's short date, hour-and-minute time and list separator; empty when
// the locale cannot tell.
std::string LocaleDate(int year, int month, int day);
std::string LocaleTime(int hour, int minute);
std::string LocaleListSeparator();

// text in the system's ANSI code page; empty where it cannot hold it.  Where
// RT_CODE_PAGE names the code page a run must have, another one throws, so
// that the code page run cannot pass by skipping.
std::string InSystemCodePage(const wchar_t* text);
