// Sheets written by WriteWorkbook and read back by ReadWorkbook, and what a
// sheet accepts.
#include "WorkbookSamples.h"
#include "Workbook.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <tuple>
#include <string>
#include <vector>

namespace {

using namespace workbook;

struct Placed {
    int row, column;
    Cell cell;
};

Cell Make(CellKind kind, double number, std::u16string text = {}) { return {kind, number, std::move(text)}; }
Cell Text(std::u16string text) { return Make(CellKind::Text, 0, std::move(text)); }

Sheet SheetOf(const std::vector<Placed>& cells) {
    Sheet sheet;
    for (const Placed& p : cells) EXPECT_TRUE(sheet.SetCell(p.row, p.column, p.cell)) << p.row << "," << p.column;
    return sheet;
}

Sheet ReadBack(const Sheet& written) {
    const std::vector<std::uint8_t> file = WriteWorkbook(written);
    Sheet read;
    std::string error;
    EXPECT_TRUE(ReadWorkbook(file.data(), file.size(), read, error)) << error;
    return read;
}

void ExpectSameCells(const Sheet& expected, const Sheet& actual) {
    const CellRange used = expected.UsedRange();
    const CellRange got = actual.UsedRange();
    EXPECT_EQ(std::make_tuple(used.firstRow, used.lastRow, used.firstColumn, used.lastColumn),
              std::make_tuple(got.firstRow, got.lastRow, got.firstColumn, got.lastColumn));
    int differences = 0;
    for (int row = used.firstRow; row <= used.lastRow && differences < 5; ++row) {
        for (int column = used.firstColumn; column <= used.lastColumn; ++column) {
            const Cell& a = expected.GetCell(row, column);
            const Cell& b = actual.GetCell(row, column);
            if (a.kind == b.kind && a.number == b.number && a.text == b.text) continue;
            ADD_FAILURE() << "row " << row << " column " << column << ": kind " << int(b.kind) << " number "
                          << b.number << " text length " << b.text.size() << ", expected kind " << int(a.kind)
                          << " number " << a.number << " text length " << a.text.size();
            ++differences;
        }
    }
}

std::vector<Placed> Column(int rows, const std::function<Cell(int)>& cellOf) {
    std::vector<Placed> cells;
    for (int row = 0; row < rows; ++row) cells.push_back({row, 0, cellOf(row)});
    return cells;
}

std::u16string Repeated(std::u16string piece, std::size_t length) {
    std::u16string text;
    while (text.size() < length) text += piece;
    text.resize(length);
    return text;
}

struct RoundTripCase {
    const char* name;
    std::vector<Placed> cells;
};

std::vector<RoundTripCase> RoundTripCases() {
    std::vector<RoundTripCase> cases = {
        {"every kind of cell",
         {{0, 0, Make(CellKind::Number, 42)},         // a 30-bit integer
          {0, 1, Make(CellKind::Number, -12.34)},     // hundredths of an integer
          {0, 2, Make(CellKind::Number, 0.5)},        // a double with a short mantissa
          {0, 3, Make(CellKind::Number, 0.1)},        // a full double
          {0, 4, Make(CellKind::Number, 1e300)},
          {0, 5, Make(CellKind::Number, -536870912)},  // just outside the 30-bit integers
          {0, 6, Make(CellKind::Number, 1.0 / 3)},
          {1, 0, Make(CellKind::Money, 45.5)},
          {1, 1, Make(CellKind::Money, -19.99)},
          {1, 2, Make(CellKind::Money, 1234567.8912)},
          {2, 0, Make(CellKind::Date, 44012)},        // 2020-06-30
          {2, 1, Make(CellKind::Date, 0.6076388888888888)},  // 14:35 alone
          {2, 2, Make(CellKind::Date, 44012.25)},
          {2, 3, Make(CellKind::Date, 2)},            // 1900-01-01, before the 1900 system's missing leap day
          {2, 4, Make(CellKind::Date, 60)},           // 1900-02-28
          {2, 5, Make(CellKind::Date, 61)},           // 1900-03-01
          {2, 6, Make(CellKind::Date, 2958465.5)},    // 9999-12-31 noon
          {3, 0, Text(u"Fuel")},
          {3, 1, Make(CellKind::Boolean, 1)},
          {3, 2, Make(CellKind::Boolean, 0)}}},
        {"texts: euro sign, accented letters, empty, line feeds, quotes, repeats",
         {{0, 0, Text(u"Price (\u20AC)")},
          {0, 1, Text(u"Gr\u00FC\u00DFe \u00E0 \u00C9l\u00E8ve")},
          {0, 2, Text(u"")},
          {0, 3, Text(u"He said \"full\"\nnext line\r\n\ttab")},
          {0, 4, Text(u"Fuel")},
          {1, 4, Text(u"Fuel")},
          {1, 5, Text(u"\u0000 \uFFFF")}}},
        {"texts of 32,767 characters, 8- and 16-bit",
         {{0, 0, Text(Repeated(u"abc\u00E9", Sheet::kMaxTextLength))},
          {1, 0, Text(Repeated(u"x\u20AC", Sheet::kMaxTextLength))},
          {2, 0, Text(u"after")}}},
        {"a sheet that does not start at A1", {{70, 200, Make(CellKind::Number, 1)}, {71, 255, Text(u"last column")}}},
        {"65,536 rows", Column(Sheet::kMaxRows, [](int row) { return Make(CellKind::Number, row * 0.25); })},
        // Over 109 FAT sectors: the FAT's sector list goes on in the DIFAT.
        {"a file larger than the header's FAT list covers",
         Column(120, [](int row) { return Text(Repeated(u"\u20AC" + std::u16string(1, u'a' + row % 26) + char16_t(u'0' + row / 26), Sheet::kMaxTextLength)); })},
        {"an empty sheet", {}},
    };
    std::vector<Placed> errors;
    for (int code : kErrorCodes) errors.push_back({0, static_cast<int>(errors.size()), Make(CellKind::Error, code)});
    cases.push_back({"every error value", errors});
    return cases;
}

TEST(WorkbookRoundTrip, CellsComeBackAsWritten) {
    for (const RoundTripCase& c : RoundTripCases()) {
        SCOPED_TRACE(c.name);
        const Sheet sheet = SheetOf(c.cells);
        ExpectSameCells(sheet, ReadBack(sheet));
    }
}

TEST(WorkbookRoundTrip, SamplesComeBackAsWritten) {
    for (const Sheet& sheet : {NineColumnSample(), SharedStringsSample()}) ExpectSameCells(sheet, ReadBack(sheet));
}

TEST(Sheet, RefusesWhatNoWorkbookCellHolds) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        int row, column;
        Cell cell;
        bool stored;
    } cases[] = {
        {-1, 0, Make(CellKind::Number, 1), false},
        {0, -1, Make(CellKind::Number, 1), false},
        {Sheet::kMaxRows, 0, Make(CellKind::Number, 1), false},
        {0, Sheet::kMaxColumns, Make(CellKind::Number, 1), false},
        {Sheet::kMaxRows - 1, Sheet::kMaxColumns - 1, Make(CellKind::Number, 1), true},
        {0, 0, Make(CellKind::Number, nan), false},
        {0, 0, Make(CellKind::Money, -inf), false},
        {0, 0, Make(CellKind::Date, -0.5), false},
        {0, 0, Make(CellKind::Date, 1.5), false},  // 1899-12-31: the 1900 system reads it as a time of day
        {0, 0, Make(CellKind::Date, Sheet::kEndOfDays), false},
        {0, 0, Make(CellKind::Date, 0), true},
        {0, 0, Make(CellKind::Boolean, 2), false},
        {0, 0, Make(CellKind::Error, 3), false},
        {0, 0, Text(std::u16string(Sheet::kMaxTextLength + 1, u'a')), false},
        {0, 0, Text(std::u16string(Sheet::kMaxTextLength, u'a')), true},
    };
    for (const Case& c : cases) {
        Sheet sheet;
        EXPECT_EQ(sheet.SetCell(c.row, c.column, c.cell), c.stored) << c.row << "," << c.column << " kind "
                                                                    << int(c.cell.kind) << " " << c.cell.number;
        EXPECT_EQ(sheet.UsedRange().Empty(), !c.stored);
    }
}

TEST(Sheet, UsedRangeFollowsCellsSetAndCleared) {
    Sheet sheet;
    EXPECT_TRUE(sheet.UsedRange().Empty());
    EXPECT_EQ(sheet.GetCell(5, 5).kind, CellKind::Empty);
    sheet.SetCell(3, 4, Text(u"a"));
    sheet.SetCell(9, 1, Make(CellKind::Number, 2));
    sheet.SetCell(12, 7, Make(CellKind::Number, 3));
    CellRange used = sheet.UsedRange();
    EXPECT_EQ(std::make_tuple(used.firstRow, used.lastRow, used.firstColumn, used.lastColumn),
              std::make_tuple(3, 12, 1, 7));
    sheet.SetCell(12, 7, Cell());
    sheet.SetCell(3, 4, Make(CellKind::Number, 4, u"kept only by texts"));
    used = sheet.UsedRange();
    EXPECT_EQ(std::make_tuple(used.firstRow, used.lastRow, used.firstColumn, used.lastColumn),
              std::make_tuple(3, 9, 1, 4));
    EXPECT_EQ(sheet.GetCell(3, 4).text, u"");
    EXPECT_EQ(sheet.GetCell(12, 7).kind, CellKind::Empty);
    EXPECT_EQ(std::make_tuple(sheet.RowEnd(3), sheet.RowEnd(4), sheet.RowEnd(-1), sheet.RowEnd(Sheet::kMaxRows)),
              std::make_tuple(5, 0, 0, 0));
}

TEST(Sheet, KeepsEveryCellThroughRewritesInAnyOrder) {
    // Cells set in no order over rows that outgrow their room, texts long
    // enough to fill many blocks and to be dropped and compacted when
    // overwritten, and texts copied from the sheet's own cells; each cell
    // checked against a plain record of what was set last.
    Sheet sheet;
    std::map<std::pair<int, int>, Cell> expected;
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int step = 0; step < 20000; ++step) {
        const int row = static_cast<int>(next(40)), column = static_cast<int>(next(step < 10000 ? 12 : 256));
        Cell cell;
        switch (next(4)) {
            case 0: cell = Make(CellKind::Number, step); break;
            case 1: cell = Cell(); break;
            case 2: cell = Text(std::u16string(next(8) == 0 ? 20000 + next(12000) : next(30), char16_t(u'a' + step % 26))); break;
            default: cell = sheet.GetCell(static_cast<int>(next(40)), static_cast<int>(next(12))); break;
        }
        if (cell.kind == CellKind::Text && next(2) == 0) {
            // The text as the sheet keeps it, not a copy.
            const CellView view = sheet.ViewCell(row, column);
            if (view.kind == CellKind::Text) cell.text = view.text;
            ASSERT_TRUE(sheet.SetText(row, column, view.kind == CellKind::Text ? view.text : cell.text));
        } else {
            ASSERT_TRUE(sheet.SetCell(row, column, cell));
        }
        expected[{row, column}] = cell;
    }
    int differences = 0;
    for (const auto& [at, cell] : expected) {
        const Cell got = sheet.GetCell(at.first, at.second);
        if (got.kind != cell.kind || got.number != (cell.kind == CellKind::Empty ? 0 : cell.number) || got.text != cell.text)
            ++differences;
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
