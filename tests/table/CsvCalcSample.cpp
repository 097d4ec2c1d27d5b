// Writes a CSV file the way the export does (a heading row, fill-up rows with
// dates, numbers, money, kinds, notes and categories, recurring-cost rows of
// nine cells) with the separator given, and beside it the cells a
// spreadsheet must show for it: one line per row, cells separated by tabs,
// each cell's ANSI bytes in hexadecimal.
//   csv_calc_sample CSV-PATH EXPECTED-PATH SEPARATOR
#include "CsvTableFile.h"
#include "TestFiles.h"

#include <windows.h>

#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: csv_calc_sample CSV-PATH EXPECTED-PATH SEPARATOR\n");
        return 2;
    }
    std::vector<std::vector<std::string>> expected;
    CCsvTableFile table;
    table.SetSeparator(argv[3]);
    if (table.OpenForWrite(argv[1]) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    auto text = [&](const std::string& cell, const std::string& shown) {
        table.WriteString(cell);
        expected.back().push_back(shown);
    };
    auto row = [&] { expected.emplace_back(); };

    row();
    for (const char* heading : {"Date", "Mileage (km)", "Price (\x80)", "Fill-up (l)",
                                "Partial Fill-up/Missing Fill-up/Recurring Cost", "Note", "Category",
                                "Recurring Cost End Date", "Recurring Cost Interval (months)"})
        text(heading, heading);
    table.EndRow();

    row();
    table.WriteDate(Day(2020, 6, 30));
    expected.back().push_back(LocaleDate(2020, 6, 30));
    table.WriteNumber(123456 * 0.1, 1);
    table.WriteCurrency(1999 * -0.01);
    table.WriteNumber(45123 * 0.001, 3);
    expected.back().insert(expected.back().end(), {"12345.6", "-19.99", "45.123"});
    text("p", "p");
    text("He said \"full\"; then, left\r\nnext line", "He said \"full\"; then, left\nnext line");
    text("Fuel", "Fuel");
    table.EndRow();

    row();
    table.WriteDate(Day(2031, 12, 31));
    expected.back().push_back(LocaleDate(2031, 12, 31));
    text("", "");
    table.WriteCurrency(45.5);
    expected.back().push_back("45.50");
    text("", "");
    text("r", "r");
    text("tab\there \"\"", "tab\there \"\"");
    text("Insurance, car; yearly", "Insurance, car; yearly");
    table.WriteDate(Day(1970, 1, 1));
    expected.back().push_back(LocaleDate(1970, 1, 1));
    table.WriteInt(12);
    expected.back().push_back("12");
    table.EndRow();

    row();
    table.WriteDate(Day(2004, 2, 29));
    expected.back().push_back(LocaleDate(2004, 2, 29));
    table.WriteNumber(0.0, 1);
    table.WriteNumber(4523 * 0.01, 2);
    table.WriteInt(-3);
    expected.back().insert(expected.back().end(), {"0.0", "45.23", "-3"});
    text("m", "m");
    text("\x80 20 \xe4\xf6\xfc", "\x80 20 \xe4\xf6\xfc");
    table.EndRow();
    table.FinishWrite();

    FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 1;
    for (const auto& cells : expected) {
        for (std::size_t i = 0; i < cells.size(); ++i) std::fprintf(out, "%s%s", i ? "\t" : "", Hex(cells[i]).c_str());
        std::fprintf(out, "\n");
    }
    std::fclose(out);
    return 0;
}
