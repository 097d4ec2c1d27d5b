#pragma once
#include <windows.h>

// The link controls' one hand cursor, shared by all of them and kept until
// the process ends.  Load() loads it unless it exists (a failed load is tried
// again next time); Get() is null until a load succeeded.
namespace HandCursor {
HCURSOR Get();
HCURSOR Load();
}  // namespace HandCursor
