// WriteWorkbook: the workbook globals and one worksheet of BIFF8 records in
// the "Workbook" stream of a compound file.
#include "Biff.h"
#include "BiffWriter.h"
#include "CompoundFileWriter.h"
#include "NumberFormats.h"
#include "Workbook.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>
#include <functional>

namespace workbook {
namespace {

using namespace biff;

// The cell formats (XF records) after the fifteen style formats: general
// first, then one per number format the cells may need.
constexpr std::uint16_t kStyleFormats = 15;
constexpr std::uint16_t kCellFormatNumbers[] = {formats::kGeneral, formats::kShortDate, formats::kTime,
                                                 formats::kDateTime, formats::kCurrency};

std::uint16_t CellFormatOf(std::uint16_t numberFormat) {
    for (std::uint16_t i = 0; i < std::size(kCellFormatNumbers); ++i)
        if (kCellFormatNumbers[i] == numberFormat) return kStyleFormats + i;
    return kStyleFormats;
}

struct SharedStrings {
    // Views of the sheet's own texts, each once, in the order of first use.
    std::vector<std::u16string_view> strings;
    // The string of every text cell, in the order the cells are written.
    std::vector<std::uint32_t> cellStrings;
    std::uint32_t references = 0;
    // At least the bytes of the table's records.
    std::size_t bytes = 0;
};

SharedStrings CollectStrings(const Sheet& sheet, const CellRange& used) {
    const auto forEachText = [&](const auto& take) {
        for (int row = sheet.RowFrom(used.firstRow); row <= used.lastRow; row = sheet.RowFrom(row + 1)) {
            const Sheet::RowSlots cells = sheet.Row(row);
            for (std::size_t column = used.firstColumn; column < cells.size(); ++column)
                if (cells[column].kind == CellKind::Text) take(sheet.View(cells[column]).text);
        }
    };
    SharedStrings shared;
    forEachText([&](std::u16string_view) { ++shared.references; });
    shared.cellStrings.reserve(shared.references);
    // Each text's string found by its hash in a table at most half full,
    // without a heap block per string.
    constexpr std::uint32_t kNone = ~std::uint32_t(0);
    std::vector<std::uint32_t> table(1024, kNone);
    const std::hash<std::u16string_view> hash;
    const auto slotOf = [&](std::u16string_view text) {
        std::size_t at = hash(text) & (table.size() - 1);
        while (table[at] != kNone && shared.strings[table[at]] != text) at = (at + 1) & (table.size() - 1);
        return at;
    };
    forEachText([&](std::u16string_view text) {
        std::size_t at = slotOf(text);
        if (table[at] == kNone) {
            if (2 * (shared.strings.size() + 1) > table.size()) {
                table.assign(2 * table.size(), kNone);
                for (std::uint32_t i = 0; i < shared.strings.size(); ++i) table[slotOf(shared.strings[i])] = i;
                at = slotOf(text);
            }
            table[at] = static_cast<std::uint32_t>(shared.strings.size());
            shared.strings.push_back(text);
            shared.bytes += 3 + 2 * text.size();
        }
        shared.cellStrings.push_back(table[at]);
    });
    // Every CONTINUE record's header and restated width.
    shared.bytes += (shared.bytes / (biff::kMaxRecordData - 2) + 1) * 5;
    return shared;
}

Bytes Data(std::initializer_list<unsigned> words) {
    Bytes data;
    data.reserve(64);  // every fixed-size record written here, without growing
    for (unsigned word : words) PutU16(data, word);
    return data;
}

void WriteBof(BiffWriter& writer, std::uint16_t substream) {
    Bytes data = Data({kVersion8, substream, 0x0DBB, 0x07CC});  // build and year of Excel 97
    PutU32(data, 0);                                             // file history
    PutU32(data, kVersion8 >> 8);                                // lowest version that reads it
    writer.Record(kBof, data);
}

void WriteFont(BiffWriter& writer) {
    // 10 points, no attributes, automatic colour, normal weight, Arial.
    Bytes data = Data({200, 0, 0x7FFF, 400, 0});
    PutU8(data, 0);  // underline
    PutU8(data, 0);  // family
    PutU8(data, 0);  // character set
    PutU8(data, 0);
    PutString(data, u"Arial", true);
    writer.Record(kFont, data);
}

// usedAttributes: for a cell format, which attributes it sets over its
// style's; for a style, which it leaves to the Normal style (all but the
// number format, as Excel writes them).
void WriteXf(BiffWriter& writer, std::uint16_t numberFormat, bool style, unsigned usedAttributes) {
    Bytes data = Data({0, numberFormat, style ? 0xFFF5u : 0x0001u});  // font 0; locked, parent style 0
    PutU8(data, 0x20);                            // aligned to the bottom
    PutU8(data, 0);                               // no rotation
    PutU8(data, 0);                               // no indent
    PutU8(data, usedAttributes);
    PutU32(data, 0);                              // no borders
    PutU32(data, 0);
    PutU16(data, 0x20C0);                         // default pattern colours
    writer.Record(kXf, data);
}

// The globals; returns where the sheet's stream offset is to be patched in.
std::size_t WriteGlobals(BiffWriter& writer, const SharedStrings& shared) {
    // Besides what readers need, the settings records Excel itself writes,
    // in its order: Excel is the strictest reader of these files.
    WriteBof(writer, kGlobalsSubstream);
    writer.Record(kInterfaceHdr, Data({1200}));
    writer.Record(kMms, Data({0}));
    writer.Record(kInterfaceEnd, {});
    writer.Record(kCodePage, Data({1200}));  // UTF-16
    writer.Record(kDsf, Data({0}));
    writer.Record(kTabId, Data({1}));
    writer.Record(kWindowProtect, Data({0}));
    writer.Record(kProtect, Data({0}));
    writer.Record(kPassword, Data({0}));
    writer.Record(kProt4Rev, Data({0}));
    writer.Record(kProt4RevPass, Data({0}));
    // Window position and size in twips, tabs shown, first sheet active.
    writer.Record(kWindow1, Data({0x0168, 0x001E, 0x3A5C, 0x23BE, 0x0038, 0, 0, 1, 0x0258}));
    writer.Record(kBackup, Data({0}));
    writer.Record(kHideObj, Data({0}));
    writer.Record(kDateMode, Data({0}));  // the 1900 date system
    writer.Record(kPrecision, Data({1}));
    writer.Record(kRefreshAll, Data({0}));
    writer.Record(kBookBool, Data({0}));
    for (int i = 0; i < 5; ++i) WriteFont(writer);  // font 4 is never referenced; readers expect it anyway
    constexpr unsigned kNumberFormatAttribute = 0x04, kAllButNumberFormat = 0xF4;
    for (std::uint16_t i = 0; i < kStyleFormats; ++i) WriteXf(writer, 0, true, i == 0 ? 0 : kAllButNumberFormat);
    for (std::uint16_t numberFormat : kCellFormatNumbers)
        WriteXf(writer, numberFormat, false, numberFormat == formats::kGeneral ? 0 : kNumberFormatAttribute);
    writer.Record(kStyle, Data({0x8000, 0xFF00}));  // "Normal", built in, on style format 0
    writer.Record(kUsesElfs, Data({0}));

    Bytes sheet;
    const std::size_t offsetAt = writer.Position() + 4;
    PutU32(sheet, 0);
    PutU16(sheet, 0);  // visible worksheet
    PutString(sheet, u"Sheet1", true);
    writer.Record(kBoundSheet, sheet);
    writer.Record(kCountry, Data({1, 1}));

    WriteSharedStrings(writer, shared.strings, shared.references);
    writer.Record(kEof, {});
    return offsetAt;
}

// A number as an RK value when it is one exactly: a 30-bit integer, or a
// double whose lower 34 bits are zero, each possibly divided by 100.
bool ToRk(double value, std::uint32_t& rk) {
    for (std::uint32_t hundredths : {0u, 1u}) {
        const double scaled = hundredths ? value * 100 : value;
        if (hundredths && scaled / 100 != value) continue;
        if (scaled == std::floor(scaled) && std::fabs(scaled) < (1 << 29)) {
            rk = (static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) << 2) | 2 | hundredths;
            return true;
        }
        std::uint64_t bits;
        std::memcpy(&bits, &scaled, sizeof bits);
        if ((bits & 0x3FFFFFFFFull) == 0) {
            rk = static_cast<std::uint32_t>(bits >> 32) | hundredths;
            return true;
        }
    }
    return false;
}

void WriteNumberCell(BiffWriter& writer, int row, int column, std::uint16_t format, double value) {
    SmallRecord data;
    data.U16(static_cast<unsigned>(row)).U16(static_cast<unsigned>(column)).U16(format);
    std::uint32_t rk;
    if (ToRk(value, rk)) {
        data.U32(rk).WriteTo(writer, kRk);
    } else {
        data.F64(value).WriteTo(writer, kNumber);
    }
}

// Writes the cell's record; a text cell takes the next of the cells' shared
// strings.
void WriteCell(BiffWriter& writer, int row, int column, const CellView& cell, const std::uint32_t*& nextString) {
    const auto r = static_cast<unsigned>(row), c = static_cast<unsigned>(column);
    switch (cell.kind) {
        case CellKind::Empty: break;
        case CellKind::Number: WriteNumberCell(writer, row, column, CellFormatOf(formats::kGeneral), cell.number); break;
        case CellKind::Money: WriteNumberCell(writer, row, column, CellFormatOf(formats::kCurrency), cell.number); break;
        case CellKind::Date:
            WriteNumberCell(writer, row, column, CellFormatOf(formats::DateFormatFor(cell.number)),
                            formats::SerialFromAutomationDate(cell.number));
            break;
        case CellKind::Text:
            SmallRecord().U16(r).U16(c).U16(kStyleFormats).U32(*nextString++).WriteTo(writer, kLabelSst);
            break;
        case CellKind::Boolean:
        case CellKind::Error:
            SmallRecord()
                .U16(r)
                .U16(c)
                .U16(kStyleFormats)
                .U8(static_cast<unsigned>(cell.number))
                .U8(cell.kind == CellKind::Error)
                .WriteTo(writer, kBoolErr);
            break;
    }
}

void WriteWorksheet(BiffWriter& writer, const Sheet& sheet, const CellRange& used, const SharedStrings& shared) {
    WriteBof(writer, kWorksheetSubstream);
    // Automatic calculation of up to 100 iterations, A1 references,
    // recalculation on saving, default row height and column width.
    writer.Record(kCalcMode, Data({1}));
    writer.Record(kCalcCount, Data({100}));
    writer.Record(kRefMode, Data({1}));
    writer.Record(kIteration, Data({0}));
    Bytes delta;
    PutF64(delta, 0.001);
    writer.Record(kDelta, delta);
    writer.Record(kSaveRecalc, Data({1}));
    writer.Record(kGuts, Data({0, 0, 0, 0}));
    writer.Record(kDefaultRowHeight, Data({0, 0x00FF}));
    writer.Record(kWsBool, Data({0x04C1}));
    writer.Record(kDefColWidth, Data({8}));
    Bytes dimensions;
    PutU32(dimensions, used.Empty() ? 0 : used.firstRow);
    PutU32(dimensions, used.Empty() ? 0 : used.lastRow + 1);
    PutU16(dimensions, used.Empty() ? 0 : used.firstColumn);
    PutU16(dimensions, used.Empty() ? 0 : used.lastColumn + 1);
    PutU16(dimensions, 0);
    writer.Record(kDimensions, dimensions);

    // Rows go in blocks of 32: the block's ROW records, then its cells.
    // Blocks without any row that holds cells are not written.
    constexpr int kBlockRows = 32;
    const std::uint32_t* nextString = shared.cellStrings.data();
    for (int first = sheet.RowFrom(used.firstRow); first <= used.lastRow;) {
        const int block = used.firstRow + (first - used.firstRow) / kBlockRows * kBlockRows;
        const int blockEnd = std::min(block + kBlockRows - 1, used.lastRow);
        for (int row = first; row <= blockEnd; row = sheet.RowFrom(row + 1)) {
            const Sheet::RowSlots cells = sheet.Row(row);
            int firstColumn = -1, lastColumn = -1;
            for (int column = used.firstColumn; column < static_cast<int>(cells.size()); ++column) {
                if (cells[column].kind == CellKind::Empty) continue;
                if (firstColumn < 0) firstColumn = column;
                lastColumn = column;
            }
            if (firstColumn < 0) continue;
            // Default height, no outline, default format.
            SmallRecord()
                .U16(static_cast<unsigned>(row))
                .U16(static_cast<unsigned>(firstColumn))
                .U16(static_cast<unsigned>(lastColumn + 1))
                .U16(0x00FF)
                .U16(0)
                .U16(0)
                .U16(0x0100)
                .U16(0x000F)
                .WriteTo(writer, kRow);
        }
        int row = first;
        for (; row <= blockEnd; row = sheet.RowFrom(row + 1)) {
            const Sheet::RowSlots cells = sheet.Row(row);
            for (int column = used.firstColumn; column < static_cast<int>(cells.size()); ++column)
                WriteCell(writer, row, column, sheet.View(cells[column]), nextString);
        }
        first = row;
    }
    // Gridlines, headings, zeros and outline symbols shown; the sheet selected and active.
    Bytes window = Data({0x06B6, 0, 0, 0x0040, 0, 0, 0});
    PutU32(window, 0);
    writer.Record(kWindow2, window);
    writer.Record(kEof, {});
}

}  // namespace

namespace {

// The file a part at a time; fileSize, if given, learns the file's length first.
void WriteWorkbookParts(const Sheet& sheet, const std::function<void(const std::uint8_t*, std::size_t)>& write,
                        const std::function<void(std::uint64_t)>& fileSize) {
    const CellRange used = sheet.UsedRange();
    const SharedStrings shared = CollectStrings(sheet, used);
    BiffWriter globals;
    globals.Reserve(4096 + shared.bytes);
    const std::size_t sheetOffsetAt = WriteGlobals(globals, shared);
    globals.Patch(sheetOffsetAt, static_cast<std::uint32_t>(globals.Position()));
    // The worksheet's length first, for the header, then its records on
    // their way to the file.
    BiffWriter counted = BiffWriter::Counting();
    WriteWorksheet(counted, sheet, used, shared);
    const std::uint64_t streamSize = globals.Position() + counted.Position();
    const Bytes header = CompoundFileHeader(streamSize);
    const Bytes tail = CompoundFileTail(u"Workbook", streamSize);
    const std::size_t padding = CompoundStreamPadding(streamSize);
    if (fileSize) fileSize(header.size() + streamSize + padding + tail.size());
    write(header.data(), header.size());
    const Bytes globalRecords = globals.Take();
    write(globalRecords.data(), globalRecords.size());
    BiffWriter cells(write);
    WriteWorksheet(cells, sheet, used, shared);
    cells.Flush();
    const Bytes zeros(padding, 0);
    write(zeros.data(), zeros.size());
    write(tail.data(), tail.size());
}

}  // namespace

void WriteWorkbook(const Sheet& sheet, const std::function<void(const std::uint8_t*, std::size_t)>& write) {
    WriteWorkbookParts(sheet, write, nullptr);
}

Bytes WriteWorkbook(const Sheet& sheet) {
    Bytes file;
    WriteWorkbookParts(
        sheet, [&file](const std::uint8_t* data, std::size_t size) { file.insert(file.end(), data, data + size); },
        [&file](std::uint64_t size) { file.reserve(static_cast<std::size_t>(size)); });
    return file;
}

}  // namespace workbook
