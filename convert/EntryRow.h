#pragma once
#include "FillupRecord.h"
#include "TableFile.h"

// Results of ReadEntryRow besides 0 (read) and -1 (end of the table).  The
// bad-row codes name the cell that failed; their messages are string-table
// texts at code + 32689.
constexpr int kEmptyRow = 1;  // every cell empty: skipped without a word
constexpr int kInvalidRefill = 102;
constexpr int kInvalidMileage = 103;
constexpr int kInvalidPrice = 104;
constexpr int kInvalidDate = 105;
constexpr int kInvalidInterval = 106;

// Reads the table's next row into record, in the columns the export writes:
// date, mileage, price, fill-up, kind, note, category and, for a recurring
// cost, end date (an empty cell: no end date) and interval (a whole number of
// months, 0..65535; an empty cell: 0).  Every field the row decides is set,
// so a record reused from row to row carries nothing over.
int ReadEntryRow(CTableFile& table, CFillupRecord& record);
