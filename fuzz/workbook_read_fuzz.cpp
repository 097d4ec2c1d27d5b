// Fuzz target of the workbook reader, in memory.  A file that does not read
// must say why; a file that reads must write, and its copy read back with the
// same cells.
#include "Workbook.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    workbook::Sheet sheet;
    std::string error;
    if (!workbook::ReadWorkbook(data, size, sheet, error)) {
        if (error.empty() || !sheet.UsedRange().Empty()) std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> copy = workbook::WriteWorkbook(sheet);
    workbook::Sheet again;
    if (!workbook::ReadWorkbook(copy.data(), copy.size(), again, error)) std::abort();
    const workbook::CellRange used = sheet.UsedRange();
    const workbook::CellRange usedAgain = again.UsedRange();
    if (used.firstRow != usedAgain.firstRow || used.lastRow != usedAgain.lastRow ||
        used.firstColumn != usedAgain.firstColumn || used.lastColumn != usedAgain.lastColumn)
        std::abort();
    // Rows that hold cells in either sheet; the rest are empty in both.
    const auto rowFrom = [&](int row) { return std::min(sheet.RowFrom(row), again.RowFrom(row)); };
    for (int row = rowFrom(used.firstRow); row <= used.lastRow; row = rowFrom(row + 1)) {
        for (int column = used.firstColumn; column < std::max(sheet.RowEnd(row), again.RowEnd(row)); ++column) {
            const workbook::Cell& a = sheet.GetCell(row, column);
            const workbook::Cell& b = again.GetCell(row, column);
            if (a.kind != b.kind || a.number != b.number || a.text != b.text) std::abort();
        }
    }
    return 0;
}
