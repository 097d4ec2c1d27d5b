#pragma once
#include "Controls.h"
#include "TableFileFactory.h"
#include "TableFileMaker.h"

#include <string>

class AppSettings;

// Builds a complete new database for one car from a table's rows and writes
// it to databasePath.  Record 0 is the car record of the car's present
// database (previousDatabasePath, may be empty) taken over byte for byte, or
// a new one for carName; every good row becomes one record after it.  Bad
// rows are reported one by one with the choice to skip or abandon.  A table
// with more good rows than a database takes (65,534 besides the car record)
// is told and abandoned before the first row that would not fit.
// The number of rows imported when the file was written; 0 also when the
// user abandoned the import or the application was told to quit (no file is
// written then); -1 when the table could not be opened or the database file
// not written.
int ImportTable(const std::string& databasePath, const std::string& tablePath, const std::string& previousDatabasePath,
                const std::string& carName, const AppSettings& settings, CProgressCtrl* progress,
                const TableFileMaker& makeTable = CreateTableFileForRead);

// Tells the user that row rowNumber of tablePath is bad and why; true when
// the user chose to skip it and go on.
bool ReportRowError(int code, const std::string& tablePath, int rowNumber);
