#pragma once
#include "TableFile.h"

#include <memory>
#include <string>

class AppSettings;

// The table file for a file name, already open: a workbook for a name ending
// in ".xls" (through the spreadsheet application when it can be started,
// else the program's own), a CSV file for any other name, with the list
// separator of the settings (and, for writing, its exportnocr option).  None
// when the file cannot be opened, after telling the user "Error: Can't read
// file ...".
std::unique_ptr<CTableFile> CreateTableFileForWrite(std::string fileName, const AppSettings& settings);
std::unique_ptr<CTableFile> CreateTableFileForRead(std::string fileName, const AppSettings& settings);

// Whether the name ends in ".xls", ASCII letters compared without case.
bool IsExcelFileName(std::string fileName);

// Whether the spreadsheet application ("Excel.Application") can be started:
// starts it, tells it to quit, and answers.  OLE must be initialised on the
// calling thread.
bool IsExcelAvailable();
