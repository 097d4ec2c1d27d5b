#pragma once
// Palm Desktop's install library, INSTAIDE.dll.  It exports these entries by
// ordinal only; the names below are this program's own and never reach the
// library (the import library made from InstAide.def.in binds them to the
// ordinals).  Linked at load time: without the library the program does not
// start.  All texts are ANSI.
#include <windows.h>

extern "C" {
// Ordinal 101: the number of handheld users; 0 or less when Palm Desktop
// cannot be used.
__declspec(dllimport) int WINAPI InstAideUserCount(void);
// Ordinal 102: the name of the user at index (from 0) into name, which holds
// *size bytes.
__declspec(dllimport) int WINAPI InstAideUserName(unsigned int index, char* name, short* size);
// Ordinal 103: queues the file at path for the user's next HotSync.
__declspec(dllimport) int WINAPI InstAideInstallFile(const char* user, const char* path);
// Ordinal 300: the user's Palm Desktop folder into directory, which holds
// *size bytes; greater than 0 when found.
__declspec(dllimport) int WINAPI InstAideUserDirectory(const char* user, char* directory, int* size);
}
