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

// The code page run's folder and file names ("Дорога", "Журнал"), spelled in
// the system's ANSI code page; empty where that code page cannot hold them.
// Where RT_CODE_PAGE names the code page the run must have, another one is
// an error, so that the run cannot pass by skipping.
std::string CyrillicFolderName();
std::string CyrillicFileName();
