// The workbook codec from the command line, for the checks against other
// spreadsheet programs:
//   workbook_tool sample OUT.xls   writes a workbook laid out like the
//                                  program's export (nine columns) and
//                                  prints its cells
//   workbook_tool strings OUT.xls  the same for a sheet of many texts
//   workbook_tool dump IN.xls      prints the cells our reader finds
// Cells print one a line: row, column (both 0-based), kind and value,
// separated by tabs; texts as UTF-8 with backslash, tab and line feed escaped
// as \\, \t and \n; numbers with 17 significant digits.
#include "WorkbookSamples.h"
#include "Workbook.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const char* KindName(workbook::CellKind kind) {
    using workbook::CellKind;
    switch (kind) {
        case CellKind::Empty: return "empty";
        case CellKind::Number: return "number";
        case CellKind::Date: return "date";
        case CellKind::Money: return "money";
        case CellKind::Text: return "text";
        case CellKind::Boolean: return "boolean";
        case CellKind::Error: return "error";
    }
    return "?";
}

std::string Utf8Escaped(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c < 0x80) out += static_cast<char>(c);
        else if (c < 0x800) out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        else if (c < 0x10000)
            out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        else
            out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                    static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    return out;
}

void Print(const workbook::Sheet& sheet) {
    const workbook::CellRange used = sheet.UsedRange();
    for (int row = used.firstRow; row <= used.lastRow; ++row) {
        for (int column = used.firstColumn; column <= used.lastColumn; ++column) {
            const workbook::Cell& cell = sheet.GetCell(row, column);
            if (cell.kind == workbook::CellKind::Empty) continue;
            std::printf("%d\t%d\t%s\t", row, column, KindName(cell.kind));
            if (cell.kind == workbook::CellKind::Text) std::printf("%s\n", Utf8Escaped(cell.text).c_str());
            else std::printf("%.17g\n", cell.number);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc == 3 ? argv[1] : "";
    if (command == "sample" || command == "strings") {
        const workbook::Sheet sheet = command == "sample" ? NineColumnSample() : SharedStringsSample();
        const std::vector<std::uint8_t> bytes = workbook::WriteWorkbook(sheet);
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        Print(sheet);
        return 0;
    }
    if (command == "dump") {
        std::ifstream in(argv[2], std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        workbook::Sheet sheet;
        std::string error;
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", argv[2]);
            return 1;
        }
        if (!workbook::ReadWorkbook(bytes.data(), bytes.size(), sheet, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
            return 1;
        }
        Print(sheet);
        return 0;
    }
    std::fprintf(stderr, "usage: workbook_tool sample|strings OUT.xls | dump IN.xls\n");
    return 2;
}
