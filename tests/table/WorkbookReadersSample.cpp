// Writes rows the way the export does (a heading, fill-ups with dates,
// numbers, money, kinds, notes and categories, a recurring cost of nine
// cells) into a workbook through the spreadsheet application and into a CSV
// file, and beside them the workbook's expected cells, one a line:
// row, column (from 0), kind (text, number, date) and value (a text's
// Windows-1252 bytes in hexadecimal, a number, a date's day serial).
//   workbook_readers_sample XLS CSV EXPECTED
// Exit 77 when no spreadsheet application is registered.
#include "CsvTableFile.h"
#include "ExcelTableFile.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

CalendarTime Day(int year, int month, int day) { return FromLocalFields({year, month, day, 0, 0, 0}); }

struct ExpectedCell {
    int row, column;
    std::string kind, value;
};

// Writes the rows into one table file; records what a workbook holds.
void WriteRows(CTableFile& table, std::vector<ExpectedCell>* expected) {
    int row = 0, column = 0;
    auto note = [&](const std::string& kind, const std::string& value) {
        if (expected && !(kind == "text" && value.empty())) expected->push_back({row, column, kind, value});
        ++column;
    };
    auto text = [&](const std::string& cell, const std::string& stored) {
        table.WriteString(cell);
        note("text", Hex(stored));
    };
    auto date = [&](CalendarTime t, int serial) {
        table.WriteDate(t);
        note("date", std::to_string(serial));
    };
    auto number = [&](double value, int decimals, const char* shown) {
        table.WriteNumber(value, decimals);
        note("number", shown);
    };
    auto money = [&](double value, const char* shown) {
        table.WriteCurrency(value);
        note("number", shown);
    };
    auto endRow = [&] {
        table.EndRow();
        ++row;
        column = 0;
    };

    for (const char* heading : {"Date", "Mileage (km)", "Price (\x80)", "Fill-up (l)",
                                "Partial Fill-up/Missing Fill-up/Recurring Cost", "Note", "Category",
                                "Recurring Cost End Date", "Recurring Cost Interval (months)"})
        text(heading, heading);
    endRow();

    date(Day(2020, 6, 30), 44012);
    number(123456 * 0.1, 1, "12345.6");
    money(1999 * -0.01, "-19.99");
    number(45123 * 0.001, 3, "45.123");
    text("p", "p");
    text("He said \"full\"; then\r\nnext line", "He said \"full\"; then\nnext line");
    text("Fuel", "Fuel");
    endRow();

    date(Day(2031, 12, 31), 48213);
    text("", "");
    money(4550 * 0.01, "45.5");
    text("", "");
    text("r", "r");
    text("Gr\xfc\xdf" "e \x80 20", "Gr\xfc\xdf" "e \x80 20");
    text("Insurance, car; yearly", "Insurance, car; yearly");
    date(Day(1970, 1, 1), 25569);
    table.WriteInt(12);
    note("number", "12");
    endRow();

    date(Day(2004, 2, 29), 38046);
    number(0.0, 1, "0");
    money(116 * 0.01, "1.16");
    number(4523 * 0.01, 2, "45.23");
    text("m", "m");
    text("'2005", "'2005");
    text("\x80", "\x80");
    endRow();
    table.FinishWrite();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: workbook_readers_sample XLS CSV EXPECTED\n");
        return 2;
    }
    OleInitialize(nullptr);
    int status = 0;
    {
        CExcelTableFile workbook;
        if (workbook.StartFailed()) {
            std::fprintf(stderr, "no spreadsheet application registered\n");
            status = 77;
        } else {
            std::vector<ExpectedCell> expected;
            workbook.OpenForWrite(argv[1]);
            WriteRows(workbook, &expected);
            CCsvTableFile csv;
            csv.SetSeparator(",");
            if (csv.OpenForWrite(argv[2]) != 0) return 1;
            WriteRows(csv, nullptr);
            FILE* out = std::fopen(argv[3], "wb");
            if (!out) return 1;
            for (const ExpectedCell& cell : expected)
                std::fprintf(out, "%d\t%d\t%s\t%s\n", cell.row, cell.column, cell.kind.c_str(), cell.value.c_str());
            std::fclose(out);
        }
    }
    OleUninitialize();
    return status;
}
