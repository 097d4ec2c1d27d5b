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
