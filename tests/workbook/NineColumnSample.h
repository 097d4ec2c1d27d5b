#pragma once
#include "Workbook.h"

// A sheet laid out like the program's export: a heading row and rows of
// nine columns (date, mileage, price, volume, kind, note, category, end date,
// interval) with dates, numbers with decimals, money, and texts with the euro
// sign, accented letters, quotes and line feeds.
workbook::Sheet NineColumnSample();
