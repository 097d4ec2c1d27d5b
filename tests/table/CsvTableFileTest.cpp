// The CSV table file over real files, with the locale functions of the
// running system: every test holds in any user locale (the test command runs
// them in English and in German).
#include "CsvTableFile.h"

#include "Exception.h"
#include "FillingDisk.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string TempPath(const std::string& name) { return testing::TempDir() + "csv-" + name; }

// The bytes a table file writes when rows() drives it.
std::string Written(const std::string& separator, int lineFeedFlag,
                    const std::function<void(CCsvTableFile&)>& rows) {
    const std::string path = TempPath("written.csv");
    CCsvTableFile table;
    table.SetSeparator(separator);
    table.SetLineFeedFlag(lineFeedFlag);
    EXPECT_EQ(table.OpenForWrite(path), 0);
    rows(table);
    EXPECT_EQ(table.FinishWrite(), 0);
    return ReadFileBytes(path);
}

// A table file open for reading the given bytes.
// Each on a file of its own, so that earlier readers may stay open.
std::unique_ptr<CCsvTableFile> Reader(const std::string& bytes, const std::string& separator) {
    static int count = 0;
    const std::string path = TempPath("read" + std::to_string(++count) + ".csv");
    WriteFileBytes(path, bytes);
    auto table = std::make_unique<CCsvTableFile>();
    table->SetSeparator(separator);
    EXPECT_EQ(table->OpenForRead(path), 0);
    return table;
}

std::vector<std::string> ReadCells(CTableFile& table, int count) {
    std::vector<std::string> cells;
    for (int i = 0; i < count; ++i) {
        std::string cell = "untouched";
        EXPECT_EQ(table.ReadString(cell), 0);
        cells.push_back(cell);
    }
    return cells;
}

using Strings = std::vector<std::string>;


CalendarTime LocalMidnight(int year, int month, int day) { return FromLocalFields({year, month, day, 0, 0, 0}); }

// One cell of text read back as a date: the result and the value.
std::pair<int, CalendarTime> ReadDateCell(const std::string& text) {
    auto table = Reader("\"" + text + "\"\r\n", ";");
    EXPECT_EQ(table->NextRow(), 0);
    CalendarTime value = 12345;
    const int result = table->ReadDate(value);
    return {result, value};
}


}  // namespace

TEST(CsvWrite, EveryByteOfTheRows) {
    auto rows = [](CCsvTableFile& t) {
        t.WriteString("a\"b");
        t.WriteString("x\r\ny");
        t.WriteNumber(2.5, 1);
        t.WriteNumber(2.5, 2);
        t.WriteNumber(2.5, 3);
        t.WriteNumber(2.5, 4);
        t.WriteInt(-3);
        t.WriteCurrency(-19.99);
        EXPECT_EQ(t.EndRow(), 0);
        t.WriteString("");
        t.EndRow();
        // The values of an exported fill-up: stored integers times the factors.
        t.WriteNumber(123456 * 0.1, 1);
        t.WriteNumber(4523 * 0.01, 2);
        t.WriteNumber(45123 * 0.001, 3);
        t.WriteCurrency(1999 * -0.01);
        t.WriteInt(INT_MIN);
        t.EndRow();
        EXPECT_EQ(t.GetRow(), 3);
    };
    const std::string tail = "\"\"\r\n\"12345.6\";\"45.23\";\"45.123\";\"-19.99\";\"-2147483648\"\r\n";
    EXPECT_EQ(Written(";", 0, rows),
              "\"a\"\"b\";\"x\ny\";\"2.5\";\"2.50\";\"2.500\";\"\";\"-3\";\"-19.99\"\r\n" + tail);
    EXPECT_EQ(Written(";", 1, rows),
              "\"a\"\"b\";\"x y\";\"2.5\";\"2.50\";\"2.500\";\"\";\"-3\";\"-19.99\"\r\n" + tail);
}

TEST(CsvWrite, TheSeparatorGoesWholeBetweenCellsLongCellsWholeAndAnUnendedRowToo) {
    const std::string longText(20000, 'n');
    EXPECT_EQ(Written(", ", 0,
                      [&](CCsvTableFile& t) {
                          t.WriteString("a");
                          t.WriteString("b");
                          t.EndRow();
                          t.WriteString(longText);
                          t.WriteInt(1);
                          t.EndRow();
                          t.WriteString("not ended");
                      }),
              "\"a\", \"b\"\r\n\"" + longText + "\", \"1\"\r\n\"not ended\"");
    {
        CCsvTableFile table;  // goes without FinishWrite
        ASSERT_EQ(table.OpenForWrite(TempPath("unfinished.csv")), 0);
        table.WriteString("kept");
    }
    EXPECT_EQ(ReadFileBytes(TempPath("unfinished.csv")), "\"kept\"");
}

TEST(CsvWrite, OpeningEmptiesAnOldFileAndKeepsOtherWritersOut) {
    const std::string path = TempPath("old.csv");
    WriteFileBytes(path, std::string(5000, 'o') + "\r\n");
    {
        CCsvTableFile table;
        table.SetSeparator(",");
        ASSERT_EQ(table.OpenForWrite(path), 0);
        CFile other;
        EXPECT_FALSE(other.Open(path, CFile::Mode::CreateTruncate));
        EXPECT_TRUE(other.Open(path, CFile::Mode::Read));
        other.Close();
        table.WriteString("new");
        table.EndRow();
        table.FinishWrite();
    }
    EXPECT_EQ(ReadFileBytes(path), "\"new\"\r\n");

    const std::string readPath = TempPath("shared.csv");
    WriteFileBytes(readPath, "x\r\n");
    CCsvTableFile reader;
    ASSERT_EQ(reader.OpenForRead(readPath), 0);
    CFile other;
    EXPECT_FALSE(other.Open(readPath, CFile::Mode::CreateTruncate));
    EXPECT_TRUE(other.Open(readPath, CFile::Mode::Read));

    CCsvTableFile nowhere;
    EXPECT_EQ(nowhere.OpenForWrite(TempPath("no such folder\\x.csv")), -1);
    EXPECT_EQ(nowhere.OpenForRead(TempPath("missing.csv")), -1);
}

// Rows go to the system a buffer at a time; wherever the disk fills, in the
// last buffer or in one handed over mid-run, the file ends with the last row
// that reached it whole, the error is raised once, and finishing still works.
TEST(CsvWrite, AFullDiskLeavesTheFileCutBackToItsLastWholeRow) {
    const std::string path = TempPath("full.csv");
    auto rowText = [](int row) { return "\"row " + std::to_string(row) + "\";\"" + std::string(row % 50, 'x') + "\"\r\n"; };
    const int rows = 4000;  // about 150 KB: the first buffers are handed over mid-run
    std::string all;
    for (int row = 1; row <= rows; ++row) all += rowText(row);
    for (std::size_t room : {std::size_t{0}, std::size_t{30}, std::size_t{40000}, std::size_t{70000},
                             all.size() - 3}) {
        CCsvTableFile table(std::make_unique<CFillingDiskFile>(room));
        table.SetSeparator(";");
        ASSERT_EQ(table.OpenForWrite(path), 0);
        int errors = 0;
        for (int row = 1; row <= rows && errors == 0; ++row) {
            try {
                table.WriteString("row " + std::to_string(row));
                table.WriteString(std::string(row % 50, 'x'));
                table.EndRow();
            } catch (const CException&) {
                ++errors;
            }
        }
        try {
            table.FinishWrite();
        } catch (const CException& e) {
            EXPECT_FALSE(e.GetErrorMessage().empty());
            ++errors;
        }
        EXPECT_EQ(errors, 1) << room;
        const std::string written = ReadFileBytes(path);
        const std::size_t lastRowEnd = room < 2 ? std::string::npos : all.rfind("\r\n", room - 2);
        const std::size_t kept = lastRowEnd == std::string::npos ? 0 : lastRowEnd + 2;
        EXPECT_EQ(written.size(), kept) << room;
        EXPECT_EQ(written, all.substr(0, kept)) << room;
    }
}

TEST(CsvRead, RowsAndCellsInOrder) {
    auto table = Reader("a;b\r\n\"a\"\"b\"\r\n\"x;\ny\";2\r\n\r\n\"a\"b;c;d\r\nlast", ";");
    EXPECT_EQ(table->GetRow(), 0);
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 4), (Strings{"a", "b", "", ""}));
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 1), Strings{"a\"b"});
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 3), (Strings{"x;\ny", "2", ""}));
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 2), (Strings{"", ""}));
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 1), Strings{"a\"b;c;d"});
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 2), (Strings{"last", ""}));
    EXPECT_EQ(table->GetRow(), 6);
    EXPECT_EQ(table->NextRow(), -1);
    EXPECT_EQ(table->NextRow(), -1);
    EXPECT_EQ(table->GetRow(), 6);
    EXPECT_EQ(table->Close(), 0);
}

TEST(CsvRead, LinesComeFromTheLineReaderWithItsCut) {
    // The line rules themselves are the dialect's (CsvLine tests); here: the
    // file feeds them byte by byte, to its end.
    EXPECT_EQ(Reader("", ";")->NextRow(), -1);
    const std::string x9998(9998, 'x');
    auto table = Reader(x9998 + "\r\nz\r\n", ";");
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 1), Strings{x9998 + "\r"});
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(ReadCells(*table, 1), Strings{"\nz"});
    EXPECT_EQ(table->NextRow(), -1);
}

TEST(CsvRead, NumbersWithTheCConversionsWhateverTheLocale) {
    auto table = Reader("\"12,5\";\"abc\";\"2.5\";\"-19.99\";\"-3\";\"99999999999\";\" 7x\";\"12\";;\"4.9\"\r\n", ";");
    ASSERT_EQ(table->NextRow(), 0);
    double number = -1;
    EXPECT_EQ(table->ReadDouble(number), 0);
    EXPECT_EQ(number, 12.0);
    EXPECT_EQ(table->ReadDouble(number), 0);
    EXPECT_EQ(number, 0.0);
    EXPECT_EQ(table->ReadDouble(number), 0);
    EXPECT_EQ(number, 2.5);
    EXPECT_EQ(table->ReadCurrency(number), 0);
    EXPECT_EQ(number, -19.99);
    int integer = 0;
    EXPECT_EQ(table->ReadInt(integer), 0);
    EXPECT_EQ(integer, -3);
    EXPECT_EQ(table->ReadInt(integer), 0);
    EXPECT_EQ(integer, INT_MAX);
    EXPECT_EQ(table->ReadInt(integer), 0);
    EXPECT_EQ(integer, 7);
    std::int32_t kept = 7;
    EXPECT_EQ(table->ReadLong(kept), 0);
    EXPECT_EQ(kept, 12);
    EXPECT_EQ(table->ReadLong(kept), 0);  // an empty cell reads as 0
    EXPECT_EQ(kept, 0);
    EXPECT_EQ(table->ReadInt(integer), 0);
    EXPECT_EQ(integer, 4);
}

TEST(CsvRead, ProgressInUnitsOf256Bytes) {
    auto table = Reader(std::string(998, 'p') + "\r\n", ";");
    EXPECT_EQ(table->GetProgressMax(), 3);
    EXPECT_EQ(table->GetProgressPos(), 0);
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(table->GetProgressPos(), 3);
    EXPECT_EQ(Reader(std::string(255, 'p'), ";")->GetProgressMax(), 0);
    EXPECT_EQ(Reader(std::string(256, 'p'), ";")->GetProgressMax(), 1);
}

TEST(CsvDates, TheYearWindowOfReadDate) {
    EXPECT_EQ(ReadDateCell(LocaleDate(1970, 1, 1)), std::make_pair(0, LocalMidnight(1970, 1, 1)));
    EXPECT_EQ(ReadDateCell(LocaleDate(2031, 12, 31)), std::make_pair(0, LocalMidnight(2031, 12, 31)));
    EXPECT_EQ(ReadDateCell(" " + LocaleDate(2004, 2, 29) + "\t"), std::make_pair(0, LocalMidnight(2004, 2, 29)));
    EXPECT_EQ(ReadDateCell(LocaleDate(2032, 1, 1)).first, -1);
    EXPECT_EQ(ReadDateCell(LocaleDate(1925, 6, 15)), std::make_pair(0, LocalMidnight(2025, 6, 15)));
    EXPECT_EQ(ReadDateCell(LocaleDate(1950, 3, 1)).first, -1);  // as 2050
    EXPECT_EQ(ReadDateCell(LocaleDate(1931, 12, 31)), std::make_pair(0, LocalMidnight(2031, 12, 31)));
    EXPECT_EQ(ReadDateCell(LocaleDate(1932, 1, 1)).first, -1);
    EXPECT_EQ(ReadDateCell(LocaleDate(1870, 1, 1)), std::make_pair(0, LocalMidnight(1970, 1, 1)));
    // 1800 to 1869 come out as 1900 to 1969: exact where a calendar time
    // reaches, rejected before its first local midnight.
    EXPECT_EQ(ReadDateCell(LocaleDate(1869, 12, 31)), std::make_pair(0, LocalMidnight(1969, 12, 31)));
    EXPECT_EQ(ReadDateCell(LocaleDate(1804, 2, 29)), std::make_pair(0, LocalMidnight(1904, 2, 29)));
    EXPECT_LT(LocalMidnight(1904, 2, 29), 0);
    EXPECT_EQ(ReadDateCell(LocaleDate(1801, 1, 1)).first, -1);
    EXPECT_EQ(ReadDateCell(LocaleDate(1800, 1, 1)).first, -1);
    EXPECT_EQ(ReadDateCell(LocaleDate(1799, 12, 31)).first, -1);
    EXPECT_EQ(ReadDateCell(LocaleDate(2100, 1, 1)).first, -1);
    EXPECT_EQ(ReadDateCell("   ").first, -2);
    EXPECT_EQ(ReadDateCell("").first, -2);
    EXPECT_EQ(ReadDateCell("no date").first, -1);

    // The cell is consumed whatever the result; a missing cell is empty.
    auto table = Reader("\"soon\";\"\";\"" + LocaleDate(2001, 5, 6) + "\"\r\n", ";");
    ASSERT_EQ(table->NextRow(), 0);
    CalendarTime value = 0;
    EXPECT_EQ(table->ReadDate(value), -1);
    EXPECT_EQ(table->ReadDate(value), -2);
    EXPECT_EQ(table->ReadDate(value), 0);
    EXPECT_EQ(value, LocalMidnight(2001, 5, 6));
    EXPECT_EQ(table->ReadDate(value), -2);
    EXPECT_EQ(table->ReadTime(value), -2);
}

TEST(CsvDates, DatesWrittenInTheLocaleReadBackAsTheSameDays) {
    std::vector<LocalTimeFields> days;
    for (int year = 1970; year <= 2031; ++year)
        for (int month = 1; month <= 12; month += 1 + year % 3) days.push_back({year, month, 1 + year % 28, 0, 0, 0});
    days.push_back({2000, 2, 29, 0, 0, 0});
    days.push_back({2031, 12, 31, 0, 0, 0});
    // Late in the evening: the cell holds the local day, not the UTC one.
    days.push_back({2020, 6, 30, 23, 30, 0});
    days.push_back({2021, 1, 1, 0, 30, 0});
    const std::string path = TempPath("dates.csv");
    {
        CCsvTableFile table;
        table.SetSeparator(LocaleListSeparator());
        ASSERT_EQ(table.OpenForWrite(path), 0);
        for (const auto& day : days) {
            table.WriteDate(FromLocalFields(day));
            table.WriteString("x");
            table.EndRow();
        }
        table.FinishWrite();
    }
    CCsvTableFile table;
    table.SetSeparator(LocaleListSeparator());
    ASSERT_EQ(table.OpenForRead(path), 0);
    for (const auto& day : days) {
        ASSERT_EQ(table.NextRow(), 0);
        std::string text;
        table.ReadString(text);
        EXPECT_EQ(text, LocaleDate(day.year, day.month, day.day));
    }
    ASSERT_EQ(table.Close(), 0);
    ASSERT_EQ(table.OpenForRead(path), 0);
    for (const auto& day : days) {
        ASSERT_EQ(table.NextRow(), 0);
        CalendarTime value = 0;
        ASSERT_EQ(table.ReadDate(value), 0) << day.year << "-" << day.month << "-" << day.day;
        EXPECT_EQ(value, LocalMidnight(day.year, day.month, day.day));
        std::string x;
        table.ReadString(x);
        EXPECT_EQ(x, "x");
    }
    EXPECT_EQ(table.NextRow(), -1);
}

TEST(CsvDates, TimesAreHourAndMinuteReadBackOnToday) {
    const std::string path = TempPath("times.csv");
    std::string bytes = Written(";", 0, [](CCsvTableFile& t) {
        t.WriteTime(FromLocalFields({2001, 2, 3, 14, 35, 50}));
        t.WriteTime(FromLocalFields({1960, 7, 8, 0, 5, 0}));
        t.EndRow();
    });
    EXPECT_EQ(bytes, "\"" + LocaleTime(14, 35) + "\";\"" + LocaleTime(0, 5) + "\"\r\n");
    auto table = Reader(bytes + "\" \";\"later\"\r\n", ";");
    ASSERT_EQ(table->NextRow(), 0);
    const LocalTimeFields today = ToLocalFields(CurrentCalendarTime());
    CalendarTime value = 0;
    ASSERT_EQ(table->ReadTime(value), 0);
    EXPECT_EQ(value, FromLocalFields({today.year, today.month, today.day, 14, 35, 0}));
    ASSERT_EQ(table->ReadTime(value), 0);
    EXPECT_EQ(value, FromLocalFields({today.year, today.month, today.day, 0, 5, 0}));
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(table->ReadTime(value), -2);
    EXPECT_EQ(table->ReadTime(value), -1);
}
