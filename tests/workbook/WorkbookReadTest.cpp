// ReadWorkbook on workbooks laid out as other programs write them, and on
// damaged files: every cell kind and record form the reader takes, and a
// clear error (with an empty sheet) for everything it cannot read.
#include "BiffWriter.h"
#include "CompoundFileWriter.h"
#include "Workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace workbook;

// Record data, little-endian.
struct Data {
    Bytes bytes;
    Data& U8(unsigned v) { PutU8(bytes, v); return *this; }
    Data& U16(unsigned v) { PutU16(bytes, v); return *this; }
    Data& U32(std::uint32_t v) { PutU32(bytes, v); return *this; }
    Data& F64(double v) { PutF64(bytes, v); return *this; }
    Data& Narrow(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); return *this; }
    Data& Wide(const std::u16string& s) { for (char16_t c : s) U16(c); return *this; }
    Data& Cell(unsigned row, unsigned column, unsigned xf = 15) { return U16(row).U16(column).U16(xf); }
};

struct Record {
    std::uint16_t id;
    Data data;
};

Data Bof(unsigned version, unsigned substream) { return Data().U16(version).U16(substream).U32(0).U32(0).U32(6); }

// Fifteen style formats, the general cell format 15 and then cell formats of
// the given number formats (16, 17, ...).
std::vector<Record> CellFormats(std::initializer_list<unsigned> numberFormats) {
    std::vector<Record> records;
    for (int i = 0; i < 16; ++i) records.push_back({0x00E0, Data().U16(0).U16(0).U16(i < 15 ? 0xFFF5 : 1).U16(0x20).U32(0).U32(0).U32(0x20C0)});
    for (unsigned format : numberFormats)
        records.push_back({0x00E0, Data().U16(0).U16(format).U16(1).U16(0x20).U32(0).U32(0).U32(0x20C0)});
    return records;
}

// A workbook stream of globals (after the BOF) and the first worksheet's
// records (after its BOF), in a compound file.
Bytes Workbook(std::vector<Record> globals, const std::vector<Record>& sheet, unsigned version = 0x0600,
               const std::u16string& streamName = u"Workbook") {
    BiffWriter writer;
    writer.Record(0x0809, Bof(version, 5).bytes);
    const std::size_t offsetAt = writer.Position() + 4;
    writer.Record(0x0085, Data().U32(0).U16(0).U8(6).U8(0).Narrow("Sheet1").bytes);
    for (const Record& r : globals) writer.Record(r.id, r.data.bytes);
    writer.Record(0x000A, {});
    writer.Patch(offsetAt, static_cast<std::uint32_t>(writer.Position()));
    writer.Record(0x0809, Bof(version, 0x10).bytes);
    for (const Record& r : sheet) writer.Record(r.id, r.data.bytes);
    return WriteCompoundFile(streamName, writer.Take());
}

std::string Read(const Bytes& file, Sheet& sheet) {
    std::string error;
    const bool read = ReadWorkbook(file.data(), file.size(), sheet, error);
    EXPECT_EQ(read, error.empty()) << error;
    if (!read) {
        EXPECT_TRUE(sheet.UsedRange().Empty());
    }
    return error;
}

const Record kEof{0x000A, {}};

struct Expected {
    int row, column;
    CellKind kind;
    double number;
    std::u16string text = {};
};

struct ReadCase {
    const char* name;
    std::vector<Record> globals, sheet;
    std::vector<Expected> cells;
};

std::vector<ReadCase> ReadCases() {
    const Data sst = Data().U32(4).U32(4)
                         .U16(3).U8(0).Narrow("abc")
                         .U16(2).U8(1).Wide(u"\u20AC\u00E9")
                         .U16(4).U8(0x0C).U16(1).U32(3).Narrow("rich").U32(0).Narrow("xyz")  // runs and phonetic data skipped
                         .U16(6).U8(0).Narrow("sp");  // cut at the seam, goes on 16 bits wide
    std::vector<ReadCase> cases = {
        {"numbers of every record form",
         CellFormats({}),
         {{0x0203, Data().Cell(0, 0).F64(0.1)},
          {0x027E, Data().Cell(0, 1).U32((1234u << 2) | 3)},  // 12.34 as hundredths of an integer
          {0x027E, Data().Cell(0, 2).U32(0x3FF00000)},          // 1.0 as the top of a double
          {0x027E, Data().Cell(0, 3).U32(static_cast<std::uint32_t>(-5) << 2 | 2)},
          {0x00BD, Data().U16(1).U16(2).U16(15).U32(7u << 2 | 2).U16(15).U32(0x3FE00001).U16(4)},  // MULRK: 7 and 0.5/100
          {0x0201, Data().Cell(2, 0)},                                   // BLANK
          {0x00BE, Data().U16(3).U16(0).U16(15).U16(15).U16(15).U16(2)},  // MULBLANK
          kEof},
         {{0, 0, CellKind::Number, 0.1}, {0, 1, CellKind::Number, 12.34}, {0, 2, CellKind::Number, 1},
          {0, 3, CellKind::Number, -5}, {1, 2, CellKind::Number, 7}, {1, 3, CellKind::Number, 0.005}}},
        {"texts: shared strings across a CONTINUE seam, LABEL, RSTRING",
         [&] {
             std::vector<Record> g = CellFormats({});
             g.push_back({0x00FC, sst});
             g.push_back({0x003C, Data().U8(1).Wide(u"lit\u20AC")});
             return g;
         }(),
         {{0x00FD, Data().Cell(0, 0).U32(0)},
          {0x00FD, Data().Cell(0, 1).U32(1)},
          {0x00FD, Data().Cell(0, 2).U32(2)},
          {0x00FD, Data().Cell(0, 3).U32(3)},
          {0x0204, Data().Cell(1, 0).U16(5).U8(0).Narrow("label")},
          {0x0204, Data().Cell(1, 1).U16(1).U8(1).Wide(u"\u20AC")},
          {0x00D6, Data().Cell(1, 2).U16(4).U8(0).Narrow("rich").U16(0)},
          kEof},
         {{0, 0, CellKind::Text, 0, u"abc"}, {0, 1, CellKind::Text, 0, u"\u20AC\u00E9"}, {0, 2, CellKind::Text, 0, u"rich"},
          {0, 3, CellKind::Text, 0, u"split\u20AC"}, {1, 0, CellKind::Text, 0, u"label"}, {1, 1, CellKind::Text, 0, u"\u20AC"},
          {1, 2, CellKind::Text, 0, u"rich"}}},
        {"formula results and BOOLERR",
         CellFormats({}),
         {{0x0006, Data().Cell(0, 0).F64(2.5).U16(0).U32(0).U16(0)},
          {0x0006, Data().Cell(0, 1).U8(0).U8(0).U32(0).U16(0xFFFF).U16(0).U32(0).U16(0)},
          {0x0221, Data().U16(0)},  // an ARRAY record may come before the STRING
          {0x0207, Data().U16(5).U8(0).Narrow("for")},
          {0x003C, Data().U8(1).Wide(u"m\u00E9")},
          {0x0006, Data().Cell(0, 2).U8(1).U8(0).U8(1).U8(0).U16(0).U16(0xFFFF).U16(0).U32(0).U16(0)},
          {0x0006, Data().Cell(0, 3).U8(2).U8(0).U8(0x07).U8(0).U16(0).U16(0xFFFF).U16(0).U32(0).U16(0)},
          {0x0006, Data().Cell(0, 4).U8(3).U8(0).U32(0).U16(0xFFFF).U16(0).U32(0).U16(0)},
          {0x0205, Data().Cell(1, 0).U8(1).U8(0)},
          {0x0205, Data().Cell(1, 1).U8(0x2A).U8(1)},
          {0x0205, Data().Cell(1, 2).U8(0x99).U8(1)},  // no such error value
          {0x0203, Data().Cell(2, 0).F64(std::nan(""))},
          kEof},
         {{0, 0, CellKind::Number, 2.5}, {0, 1, CellKind::Text, 0, u"form\u00E9"}, {0, 2, CellKind::Boolean, 1},
          {0, 3, CellKind::Error, 7}, {0, 4, CellKind::Text, 0, u""}, {1, 0, CellKind::Boolean, 1},
          {1, 1, CellKind::Error, 0x2A}, {1, 2, CellKind::Error, 0x0F}, {2, 0, CellKind::Error, 0x24}}},
        {"number formats: built-in and custom dates and currencies",
         [] {
             std::vector<Record> g;
             const char* patterns[] = {"dd.mm.yyyy", "[$\xE2\x82\xAC-407] #,##0.00", "0.00\" days\"", "[h]:mm",
                                       "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)", "[Red]0.00", "General"};
             for (unsigned i = 0; i < 7; ++i) {
                 Data d;
                 d.U16(164 + i);
                 if (i == 1) d.U16(15).U8(1).Wide(u"[$\u20AC-407] #,##0.00");
                 else d.U16(static_cast<unsigned>(std::string(patterns[i]).size())).U8(0).Narrow(patterns[i]);
                 g.push_back({0x041E, d});
             }
             for (Record& r : CellFormats({164, 165, 166, 167, 168, 169, 170, 14, 20, 7, 2, 50})) g.push_back(r);
             return g;
         }(),
         [] {
             std::vector<Record> s;
             for (unsigned xf = 16; xf < 28; ++xf) s.push_back({0x0203, Data().Cell(0, xf - 16, xf).F64(40000.5)});
             s.push_back({0x0203, Data().Cell(1, 0, 23).F64(1)});    // 1900-01-01
             s.push_back({0x0203, Data().Cell(1, 1, 23).F64(60)});   // the 29 February 1900 that never was
             s.push_back({0x0203, Data().Cell(1, 2, 23).F64(-1)});   // no date: stays a number
             s.push_back({0x0203, Data().Cell(1, 3, 99).F64(3)});    // a cell format that is not there
             s.push_back(kEof);
             return s;
         }(),
         {{0, 0, CellKind::Date, 40000.5}, {0, 1, CellKind::Money, 40000.5}, {0, 2, CellKind::Number, 40000.5},
          {0, 3, CellKind::Date, 40000.5}, {0, 4, CellKind::Money, 40000.5}, {0, 5, CellKind::Number, 40000.5},
          {0, 6, CellKind::Number, 40000.5}, {0, 7, CellKind::Date, 40000.5}, {0, 8, CellKind::Date, 40000.5},
          {0, 9, CellKind::Money, 40000.5}, {0, 10, CellKind::Number, 40000.5}, {0, 11, CellKind::Date, 40000.5},
          {1, 0, CellKind::Date, 2}, {1, 1, CellKind::Date, 61}, {1, 2, CellKind::Number, -1},
          {1, 3, CellKind::Number, 3}}},
        {"the 1904 date system, a chart inside the sheet, a chart sheet first",
         [] {
             std::vector<Record> g = CellFormats({14});
             g.insert(g.begin(), {0x0022, Data().U16(1)});
             g.insert(g.begin(), {0x0085, Data().U32(0).U16(0x0200).U8(0).U8(0)});  // a chart sheet
             return g;
         }(),
         {{0x0203, Data().Cell(0, 0, 16).F64(0)},
          {0x0809, Bof(0x0600, 0x20)},
          {0x0203, Data().Cell(5, 5).F64(9)},
          kEof,
          {0x0203, Data().Cell(0, 1, 16).F64(0.25)},
          kEof},
         {{0, 0, CellKind::Date, 1462}, {0, 1, CellKind::Date, 1462.25}}},
    };
    return cases;
}

TEST(WorkbookRead, TakesEveryCellForm) {
    for (const ReadCase& c : ReadCases()) {
        SCOPED_TRACE(c.name);
        Sheet sheet;
        ASSERT_EQ(Read(Workbook(c.globals, c.sheet), sheet), "");
        int found = 0;
        const CellRange used = sheet.UsedRange();
        for (int row = used.firstRow; row <= used.lastRow; ++row)
            for (int column = used.firstColumn; column <= used.lastColumn; ++column)
                found += sheet.GetCell(row, column).kind != CellKind::Empty;
        EXPECT_EQ(found, static_cast<int>(c.cells.size()));
        for (const Expected& e : c.cells) {
            const Cell& cell = sheet.GetCell(e.row, e.column);
            EXPECT_EQ(cell.kind, e.kind) << e.row << "," << e.column;
            EXPECT_EQ(cell.number, e.number) << e.row << "," << e.column;
            EXPECT_EQ(cell.text, e.text) << e.row << "," << e.column;
        }
    }
}

// Damage done to a good file of ours, found through its header.
struct Layout {
    Bytes file;
    std::size_t Sector(std::uint32_t n) const { return 512 + 512 * static_cast<std::size_t>(n); }
    std::size_t FatEntry(std::uint32_t n) const { return Sector(GetU32(&file[76])) + 4 * n; }
    std::size_t StreamEntry() const { return Sector(GetU32(&file[48])) + 128; }
};

Bytes Damaged(const std::function<void(Layout&)>& damage) {
    Sheet sheet;
    for (int row = 0; row < 400; ++row) sheet.SetCell(row, 0, {CellKind::Number, 0.1 * row, {}});
    Layout layout{WriteWorkbook(sheet)};
    damage(layout);
    return layout.file;
}

Bytes FromFile(const std::string& name) {
    std::ifstream in(std::string(WORKBOOK_TEST_FILES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(WorkbookRead, RefusesDamagedFilesClearly) {
    const std::vector<Record> formats = CellFormats({});
    struct Case {
        Bytes file;
        const char* error;
    } cases[] = {
        {{}, "no compound file header"},
        {Bytes{'P', 'K', 3, 4, 0, 0, 0, 0}, "Excel 2007"},
        {Damaged([](Layout& l) { l.file.resize(600); }), "FAT"},
        {Damaged([](Layout& l) { l.file.resize(l.file.size() / 2); }), "outside the file"},
        {Damaged([](Layout& l) { SetU32(l.file, 44, 0xFFFFFFFF); }), "more FAT sectors"},
        {Damaged([](Layout& l) { SetU32(l.file, l.FatEntry(3), 1); }), "loops"},
        {Damaged([](Layout& l) { SetU32(l.file, l.FatEntry(3), 0x7FFFFFFF); }), "leaves the file"},
        {Damaged([](Layout& l) { SetU32(l.file, l.StreamEntry() + 120, 0x7FFFFFF0); }), "longer than"},
        {Damaged([](Layout& l) { SetU32(l.file, l.StreamEntry() + 120, static_cast<std::uint32_t>(l.file.size() - 600)); }), "longer than its sector chain"},
        {Damaged([](Layout& l) { SetU32(l.file, 48, 0xFFFFFFFE); }), "root directory entry"},
        {Damaged([](Layout& l) { l.file[l.Sector(0) + 2] = 0xFF; l.file[l.Sector(0) + 3] = 0x7F; }), "runs past the end"},
        {Workbook(formats, {}, 0x0600, u"Book"), "Excel 5.0/95"},
        {Workbook(formats, {}, 0x0500), "older than Excel 97"},
        {Workbook({{0x002F, Data().U16(0)}}, {kEof}), "password"},
        {Workbook({{0x00FC, Data().U32(1).U32(1).U16(10).U8(0).Narrow("abc")}}, {kEof}), "shared string table"},
        {Workbook({{0x00FC, Data().U32(1).U32(1).U16(1).U8(8).U16(0xFFFF).Narrow("a")}}, {kEof}), "shared string table"},
        {Workbook(formats, {{0x00FD, Data().Cell(0, 0).U32(0)}, kEof}), "shared string 0 of 0"},
        {Workbook(formats, {{0x0203, Data().Cell(0, 0)}, kEof}), "shorter than its fields (record 0x0203)"},
        {Workbook(formats, {{0x0204, Data().Cell(0, 0).U16(9).U8(0).Narrow("short")}, kEof}), "shorter than its fields"},
        {Workbook(formats, {{0x0203, Data().Cell(0, 256).F64(1)}, kEof}), "256 columns"},
        {Workbook(formats, {{0x0204, Data().Cell(0, 0).U16(32768).U8(0).Narrow(std::string(32768, 'a'))}, kEof}),
         "more than 32,767"},
        {Workbook(formats, {{0x0203, Data().Cell(0, 0).F64(1)}}), "without an EOF"},
        {Workbook(formats, std::vector<Record>(17, Record{0x0809, Bof(0x0600, 0x20)})), "nested too deep"},
        {[&] {
             Bytes file = Workbook(formats, {kEof});
             file[512 + 20 + 4] = 0xFF;  // the worksheet's offset in BOUNDSHEET, beyond the stream
             file[512 + 20 + 7] = 0x7F;
             return file;
         }(),
         "outside the workbook stream"},
        {[&] {
             // The mini stream: a chain of mini sectors that loops.
             Bytes file = FromFile("calc-nine-columns.xls");
             Layout l{file};
             const std::size_t miniFat = l.Sector(GetU32(&file[60]));
             SetU32(file, miniFat + 4 * GetU32(&file[l.StreamEntry() + 116]), GetU32(&file[l.StreamEntry() + 116]));
             return file;
         }(),
         "loops"},
    };
    for (const Case& c : cases) {
        Sheet sheet;
        sheet.SetCell(0, 0, {CellKind::Number, 1, {}});
        EXPECT_NE(Read(c.file, sheet).find(c.error), std::string::npos) << "expected: " << c.error;
    }
}

}  // namespace
