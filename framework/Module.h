#pragma once
#include <string>

// Full path of the running program's executable file.
std::string ModuleFilePath();
// The executable's file name without its extension ("RTImportExport").
std::string ApplicationName();
