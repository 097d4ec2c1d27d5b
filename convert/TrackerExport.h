#pragma once
// One car's log in the CSV layouts that today's fuel trackers import: UTF-8,
// commas, one heading row, one kind of record per file.  The database is only
// read; amounts stay in the car's own units and currency.
#include "Controls.h"

#include <string>
#include <vector>

enum class TrackerProfile {
    LubeLogger,  // fill-ups, " - services" (one-off costs), " - taxes" (recurring costs)
    Trackers     // fill-ups and " - costs", for importers that map columns by heading name
};

struct TrackerExportSummary {
    std::vector<std::string> files;  // every file written, the named one first
    bool miles = false;
    bool gallons = false;
    std::string currencySymbol;      // Windows-1252, as the car record holds it
    std::string currencyCode;
    // Fill-ups the tracker would refuse (no positive price or odometer),
    // written to the costs file instead.
    int fillupsAsCosts = 0;
};

// Splits the records: a recurring cost, a one-off cost (no recurring flag,
// fill amount 0) or a fill-up; every record lands in exactly one file, and a
// file that would hold no rows is not written.  decimalComma writes "," as the
// decimal point (for a server whose culture reads numbers so).  0 when the run
// ended, also after a reported write error; -1 when the database could not be
// read (reported).
int ExportForTracker(const std::string& databasePath, const std::string& tablePath, TrackerProfile profile,
                     bool decimalComma, CProgressCtrl* progress, TrackerExportSummary& summary);

// The path of a file written beside tablePath: suffix before its extension.
std::string CompanionPath(const std::string& tablePath, const std::string& suffix);

// What the user is told after the run: the files, the car's units and
// currency, and the fill-ups written as costs.
std::string TrackerExportStatus(const TrackerExportSummary& summary);
