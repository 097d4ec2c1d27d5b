#pragma once
#include "Controls.h"
#include "TableFileMaker.h"
#include "TableFileFactory.h"

#include <string>

class AppSettings;

// Writes one car's database as a table: a heading row naming the nine
// columns with the car's units and currency, then one row per fill-up or
// recurring cost in database order.  0 when the run ended; -1 when the
// database could not be read or no table file was made;
// kExportWriteFailed when a write error was reported (the rows written
// before it stay, when the file could still be finished).
constexpr int kExportWriteFailed = -2;
int ExportDatabase(const std::string& databasePath, const std::string& tablePath, const AppSettings& settings,
                   CProgressCtrl* progress, const TableFileMaker& makeTable = CreateTableFileForWrite);
