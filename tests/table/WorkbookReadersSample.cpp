// Writes rows the way the export does (a heading, fill-ups with dates,
// numbers, money, kinds, notes and categories, a recurring cost of nine
// cells) into a workbook (through the spreadsheet application when one is
// registered, else through the program's own workbook table file, which
// writes the same file) and into a CSV file, and beside them the workbook's expected cells, one a line, as the
// workbook checks against other programs take them: row, column (from 0),
// kind (text, number, money, date) and value (a text in UTF-8 with tab, line
// feed and backslash escaped; a number; a date's automation date).
//   workbook_readers_sample XLS CSV EXPECTED
#include "CsvTableFile.h"
#include "ExcelTableFile.h"
#include "WorkbookFileTableFile.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// A Windows-1252 text in UTF-8, escaped for one line.
std::string Escaped(const std::string& text) {
    const int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    std::string utf8(static_cast<std::size_t>(length) * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &utf8[0],
                                                             static_cast<int>(utf8.size()), nullptr, nullptr)));
    std::string out;
    for (char c : utf8) {
        if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
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
        note("text", Escaped(stored));
    };
    auto date = [&](CalendarTime t, int serial) {
        table.WriteDate(t);
        note("date", std::to_string(serial));
    };
    auto number = [&](double value, int decimals) {
        table.WriteNumber(value, decimals);
        note("number", Number(value));
    };
    // Money is kept in ten-thousandths: the amount comes back as the decimal
    // written here.
    auto money = [&](double value, const char* amount) {
        table.WriteCurrency(value);
        note("money", amount);
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
    number(123456 * 0.1, 1);
    money(1999 * -0.01, "-19.99");
    number(45123 * 0.001, 3);
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
    number(0.0, 1);
    money(116 * 0.01, "1.16");
    number(4523 * 0.01, 2);
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
        CExcelTableFile automation;
        CWorkbookFileTableFile own;
        CTableFile& workbook = automation.StartFailed() ? static_cast<CTableFile&>(own) : automation;
        {
            std::vector<ExpectedCell> expected;
            if (workbook.OpenForWrite(argv[1]) != 0) return 1;
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
