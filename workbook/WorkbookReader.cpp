// ReadWorkbook: the "Workbook" stream of a compound file, its globals (shared
// strings, number formats, cell formats, date system, where the sheets start)
// and the cells of its first worksheet.
#include "Biff.h"
#include "BiffRecordReader.h"
#include "CompoundFileReader.h"
#include "ContinuedData.h"
#include "NumberFormats.h"
#include "Workbook.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <map>
#include <string_view>
#include <utility>

namespace workbook {
namespace {

using namespace biff;

// Larger inputs are refused before anything is read: no workbook of 65,536
// rows by 256 columns comes near it, and every offset stays far from overflow.
constexpr std::size_t kMaxFileSize = std::size_t(1) << 30;
// Charts and other objects inside a worksheet nest their own BOF..EOF.
constexpr int kMaxNesting = 16;
constexpr double kNumError = 0x24;    // #NUM!: what a stored NaN or infinity reads as
constexpr double kValueError = 0x0F;  // #VALUE!

struct Globals {
    // The shared strings, one after another in one run of characters.
    std::u16string stringCharacters;
    std::vector<std::pair<std::size_t, std::size_t>> strings;  // start, length
    std::map<std::uint16_t, std::u16string> patterns;
    std::vector<std::uint16_t> cellNumberFormats;  // by XF index
    std::vector<CellKind> cellKinds;               // by XF index, once the globals are read
    bool system1904 = false;
    bool haveSheet = false;
    std::uint32_t sheetOffset = 0;
};

std::string Hex(unsigned id) {
    static const char digits[] = "0123456789ABCDEF";
    return {'0', 'x', digits[id >> 12 & 15], digits[id >> 8 & 15], digits[id >> 4 & 15], digits[id & 15]};
}

// The record's data and every CONTINUE record right after it.
ContinuedData WithContinues(const BiffRecord& record, BiffRecordReader& records, std::string& error) {
    ContinuedData data;
    data.Add(record.data, record.size);
    BiffRecord next;
    while (records.NextIs(kContinue) && records.Next(next, error)) data.Add(next.data, next.size);
    return data;
}

bool ReadSharedStrings(ContinuedData data, Globals& globals) {
    std::uint32_t total, unique;
    if (!data.ReadU32(total) || !data.ReadU32(unique)) return false;
    // The count may claim more than the records hold; the strings present
    // are kept, and a cell asking for a missing one is the error.
    std::u16string text;
    for (std::uint32_t i = 0; i < unique && !data.AtEnd(); ++i) {
        if (!data.ReadString(text)) return false;
        globals.strings.emplace_back(globals.stringCharacters.size(), text.size());
        globals.stringCharacters += text;
    }
    return true;
}

bool CheckBof(const BiffRecord& record, std::uint16_t substream, std::string& error) {
    if (record.id != kBof || record.size < 4 || GetU16(record.data) != kVersion8) {
        error = record.id == kBof ? "a workbook older than Excel 97 (only BIFF8 workbooks are read)"
                                  : "the workbook stream does not start with a BOF record";
        return false;
    }
    if (GetU16(record.data + 2) != substream) {
        error = substream == kGlobalsSubstream ? "the workbook stream does not start with the workbook globals"
                                               : "the first worksheet's offset does not lead to a worksheet";
        return false;
    }
    return true;
}

bool ReadGlobals(const std::uint8_t* stream, std::size_t size, Globals& globals, std::string& error) {
    BiffRecordReader records(stream, size, 0);
    BiffRecord record;
    if (!records.Next(record, error)) {
        if (error.empty()) error = "the workbook stream is empty";
        return false;
    }
    if (!CheckBof(record, kGlobalsSubstream, error)) return false;
    for (;;) {
        if (!records.Next(record, error)) {
            if (error.empty()) error = "the workbook globals end without an EOF record";
            return false;
        }
        ContinuedData data;
        data.Add(record.data, record.size);
        switch (record.id) {
            case kEof:
                for (std::uint16_t format : globals.cellNumberFormats) {
                    const auto pattern = globals.patterns.find(format);
                    globals.cellKinds.push_back(formats::KindOfFormat(
                        format, pattern == globals.patterns.end() ? nullptr : &pattern->second));
                }
                if (!globals.haveSheet) error = "a workbook without a worksheet";
                return globals.haveSheet;
            case kFilePass: error = "the workbook is protected by a password"; return false;
            case kDateMode: globals.system1904 = record.size >= 2 && GetU16(record.data) == 1; break;
            case kFormat: {
                std::uint16_t index;
                std::u16string pattern;
                if (!data.ReadU16(index) || !data.ReadString(pattern)) {
                    error = "a damaged number format (FORMAT record)";
                    return false;
                }
                globals.patterns[index] = std::move(pattern);
                break;
            }
            case kXf:
                globals.cellNumberFormats.push_back(record.size >= 4 ? GetU16(record.data + 2) : 0);
                break;
            case kSst:
                if (!ReadSharedStrings(WithContinues(record, records, error), globals)) {
                    error = "the shared string table is damaged (a string runs past its records)";
                    return false;
                }
                if (!error.empty()) return false;
                break;
            case kBoundSheet:
                // The first sheet that is a worksheet (charts and macro sheets have other types).
                if (!globals.haveSheet && record.size >= 6 && record.data[5] == 0) {
                    globals.haveSheet = true;
                    globals.sheetOffset = GetU32(record.data);
                }
                break;
            default: break;
        }
    }
}

double RkValue(std::uint32_t rk) {
    double value;
    if (rk & 2) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return rk & 1 ? value / 100 : value;
}

class SheetBuilder {
public:
    SheetBuilder(const Globals& globals, Sheet& sheet) : m_globals(globals), m_sheet(sheet) {}

    bool Number(unsigned row, unsigned column, std::uint16_t xf, double value) {
        Cell cell;
        cell.number = value;
        cell.kind = xf < m_globals.cellKinds.size() ? m_globals.cellKinds[xf] : CellKind::Number;
        if (!std::isfinite(value)) {
            cell.kind = CellKind::Error;
            cell.number = kNumError;
        } else if (cell.kind == CellKind::Date && !formats::AutomationDateFromSerial(value, m_globals.system1904, cell.number)) {
            // No date has that serial: the number as it is.
            cell.kind = CellKind::Number;
            cell.number = value;
        }
        return Put(row, column, cell);
    }
    bool Text(unsigned row, unsigned column, std::u16string_view text) {
        if (column >= static_cast<unsigned>(Sheet::kMaxColumns)) {
            m_error = "a cell beyond the 256 columns of a worksheet";
        } else if (text.size() > static_cast<std::size_t>(Sheet::kMaxTextLength)) {
            m_error = "a text of more than 32,767 characters in row " + std::to_string(row + 1);
        } else if (!m_sheet.SetText(row, column, text)) {
            m_error = "a cell the sheet cannot hold in row " + std::to_string(row + 1);
        }
        return m_error.empty();
    }
    bool BoolErr(unsigned row, unsigned column, unsigned value, bool isError) {
        Cell cell;
        cell.kind = isError ? CellKind::Error : CellKind::Boolean;
        cell.number = isError ? value : value != 0;
        // An error value the format does not know reads as #VALUE!.
        if (isError && std::find(std::begin(kErrorCodes), std::end(kErrorCodes), cell.number) == std::end(kErrorCodes))
            cell.number = kValueError;
        return Put(row, column, cell);
    }
    const std::string& Error() const { return m_error; }

private:
    bool Put(unsigned row, unsigned column, const Cell& cell) {
        if (column >= static_cast<unsigned>(Sheet::kMaxColumns)) {
            m_error = "a cell beyond the 256 columns of a worksheet";
        } else if (!m_sheet.SetCell(row, column, cell)) {
            m_error = "a cell the sheet cannot hold in row " + std::to_string(row + 1);
        }
        return m_error.empty();
    }

    const Globals& m_globals;
    Sheet& m_sheet;
    std::string m_error;
};

bool ReadCells(const std::uint8_t* stream, std::size_t size, const Globals& globals, Sheet& sheet, std::string& error) {
    BiffRecordReader records(stream, size, globals.sheetOffset);
    BiffRecord record;
    if (globals.sheetOffset >= size || !records.Next(record, error)) {
        if (error.empty()) error = "the first worksheet's offset lies outside the workbook stream";
        return false;
    }
    if (!CheckBof(record, kWorksheetSubstream, error)) return false;
    SheetBuilder cells(globals, sheet);
    int nesting = 0;
    bool formulaText = false;  // a formula's text result follows in a STRING record
    unsigned formulaRow = 0, formulaColumn = 0;
    for (;;) {
        if (!records.Next(record, error)) {
            if (error.empty()) error = "the worksheet ends without an EOF record";
            return false;
        }
        const std::uint8_t* p = record.data;
        const std::size_t size = record.size;
        bool ok = true, fieldsPresent = true;
        if (record.id == kBof) {
            if (++nesting > kMaxNesting) {
                error = "objects nested too deep inside the worksheet";
                return false;
            }
            continue;
        }
        if (record.id == kEof) {
            if (nesting-- == 0) return true;
            continue;
        }
        if (nesting > 0) continue;
        switch (record.id) {
            case kNumber:
                fieldsPresent = size >= 14;
                ok = !fieldsPresent || cells.Number(GetU16(p), GetU16(p + 2), GetU16(p + 4), GetF64(p + 6));
                break;
            case kRk:
                fieldsPresent = size >= 10;
                ok = !fieldsPresent || cells.Number(GetU16(p), GetU16(p + 2), GetU16(p + 4), RkValue(GetU32(p + 6)));
                break;
            case kMulRk:
                // Row, first column, (format, RK) per cell, last column.
                fieldsPresent = size >= 6;
                for (std::size_t i = 0; fieldsPresent && ok && 4 + 6 * i + 6 <= size - 2; ++i)
                    ok = cells.Number(GetU16(p), GetU16(p + 2) + static_cast<unsigned>(i), GetU16(p + 4 + 6 * i),
                                      RkValue(GetU32(p + 6 + 6 * i)));
                break;
            case kLabelSst: {
                fieldsPresent = size >= 10;
                if (!fieldsPresent) break;
                const std::uint32_t index = GetU32(p + 6);
                if (index >= globals.strings.size()) {
                    error = "a text cell refers to shared string " + std::to_string(index) + " of " +
                            std::to_string(globals.strings.size());
                    return false;
                }
                const auto [start, length] = globals.strings[index];
                ok = cells.Text(GetU16(p), GetU16(p + 2), std::u16string_view(globals.stringCharacters).substr(start, length));
                break;
            }
            case kLabel:
            case kRString: {
                fieldsPresent = size >= 6;
                if (!fieldsPresent) break;
                ContinuedData data;
                data.Add(p + 6, size - 6);
                std::u16string text;
                fieldsPresent = data.ReadString(text);
                ok = !fieldsPresent || cells.Text(GetU16(p), GetU16(p + 2), std::move(text));
                break;
            }
            case kBoolErr:
                fieldsPresent = size >= 8;
                ok = !fieldsPresent || cells.BoolErr(GetU16(p), GetU16(p + 2), p[6], p[7] != 0);
                break;
            case kFormula: {
                // The cached result: a number, or a marker 0xFFFF in its top
                // bytes with the kind of result in its first byte.
                fieldsPresent = size >= 20;
                if (!fieldsPresent) break;
                const unsigned row = GetU16(p), column = GetU16(p + 2);
                formulaText = false;
                if (GetU16(p + 12) != 0xFFFF) {
                    ok = cells.Number(row, column, GetU16(p + 4), GetF64(p + 6));
                } else if (p[6] == 0) {
                    formulaText = true;
                    formulaRow = row;
                    formulaColumn = column;
                } else if (p[6] == 1 || p[6] == 2) {
                    ok = cells.BoolErr(row, column, p[8], p[6] == 2);
                } else if (p[6] == 3) {
                    ok = cells.Text(row, column, u"");
                }
                break;
            }
            case kString: {
                if (!formulaText) break;
                formulaText = false;
                std::u16string text;
                fieldsPresent = WithContinues(record, records, error).ReadString(text);
                if (!error.empty()) return false;
                ok = !fieldsPresent || cells.Text(formulaRow, formulaColumn, std::move(text));
                break;
            }
            default: break;
        }
        if (!fieldsPresent) {
            error = "a cell record shorter than its fields (record " + Hex(record.id) + ")";
            return false;
        }
        if (!ok) {
            error = cells.Error();
            return false;
        }
    }
}

}  // namespace

bool ReadWorkbook(const std::uint8_t* data, std::size_t size, Sheet& sheet, std::string& error) {
    sheet = Sheet();
    error.clear();
    if (size > kMaxFileSize) {
        error = "a file of more than 1 GiB, larger than any workbook this reads";
        return false;
    }
    CompoundFileReader file;
    Bytes stream;
    Globals globals;
    bool ok = file.Open(data, size, error);
    if (ok && !file.HasStream(u"Workbook")) {
        error = file.HasStream(u"Book") ? "an Excel 5.0/95 workbook; only Excel 97-2003 workbooks are read"
                                        : "a compound file without a workbook stream";
        ok = false;
    }
    const std::uint8_t* streamData = nullptr;
    std::size_t streamSize = 0;
    ok = ok && file.ViewStream(u"Workbook", stream, streamData, streamSize, error) &&
         ReadGlobals(streamData, streamSize, globals, error) && ReadCells(streamData, streamSize, globals, sheet, error);
    if (!ok) sheet = Sheet();
    return ok;
}

}  // namespace workbook
