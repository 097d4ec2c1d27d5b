#pragma once
#include <string>

// The operating system's own text for an error code, without a trailing line end.
std::string SystemErrorText(unsigned long code);
// The calling thread's last error code (GetLastError on Windows, errno elsewhere).
unsigned long LastSystemError();
