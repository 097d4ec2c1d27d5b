#pragma once
// The file-type filters of the Import and Export file dialogs and what the
// commands read from them.
#include "TrackerExport.h"

#include <optional>
#include <string>

// "Name|pattern|" pairs from the string table and a closing "|": workbooks
// (which the program writes and reads with or without the spreadsheet
// application), then CSV, then all files.
std::string BuildFileFilter();

// The Export dialog's filter: the same entries, then the tracker profiles
// ("LubeLogger records", "Fuel log for other trackers"; both *.csv).
std::string BuildExportFileFilter();

// The tracker profile of export filter entry index (1-based), or none for the
// table file entries.
std::optional<TrackerProfile> TrackerProfileForFilter(int index);

// The 1-based filter to preselect for the last file's name, or 0 for none:
// by its last three characters in any case ("xls" 1, "csv" 2, else 3).
int InitialFilterIndex(const std::string& fileName);

// The pattern of entry index (1-based) of filter; empty when there is none.
// The file dialog reports the entry the user chose by its index.
std::string FilterPattern(const std::string& filter, int index);

// The extension an export adds to a name typed without one, for the chosen
// pattern: ".xls", ".csv" or ".prc" when the pattern holds "*.xls", "*.csv"
// or "*.prc" (in that order of preference), else none.
std::string ExtensionForPattern(const std::string& pattern);

// Whether the file name (after its last path separator) has an extension.
bool HasExtension(const std::string& path);
