#pragma once
// Palm Desktop's install library, INSTAIDE.dll, as this program calls it.
// The library exports these entries by ordinal only; the names below are
// this program's own.  The library is loaded when first needed (see
// InstAideLibrary.h); where it cannot be found every entry answers as a
// Palm Desktop without users would: a result of -1 and an empty text.  All
// texts are ANSI.

// Ordinal 101: the number of handheld users; 0 or less when Palm Desktop
// cannot be used.
int InstAideUserCount();
// Ordinal 102: the name of the user at index (from 0) into name, which holds
// *size bytes.
int InstAideUserName(unsigned int index, char* name, short* size);
// Ordinal 103: queues the file at path for the user's next HotSync.
int InstAideInstallFile(const char* user, const char* path);
// Ordinal 300: the user's Palm Desktop folder into directory, which holds
// *size bytes; greater than 0 when found.
int InstAideUserDirectory(const char* user, char* directory, int* size);
