#pragma once
#include "Workbook.h"

// Sheets for the round trips and the checks against other programs.

// A sheet laid out like the program's export: a heading row and rows of
// nine columns (date, mileage, price, volume, kind, note, category, end date,
// interval) with dates, numbers with decimals, money, and texts with the euro
// sign, accented letters, quotes and line feeds.
workbook::Sheet NineColumnSample();

// A column of 6,000 texts, 3,000 of them different and some of 5,000
// characters and more in 16 bits: a shared string table of many CONTINUE
// records, with texts cut at their seams.
workbook::Sheet SharedStringsSample();
