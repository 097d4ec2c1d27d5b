#include "Workbook.h"

#include <algorithm>
#include <cmath>

namespace workbook {
namespace {

const Cell kEmptyCell;

bool Holdable(const Cell& cell) {
    switch (cell.kind) {
        case CellKind::Empty: return true;
        case CellKind::Number:
        case CellKind::Money: return std::isfinite(cell.number);
        case CellKind::Date:
            return (cell.number >= 0 && cell.number < 1) ||
                   (cell.number >= Sheet::kFirstDay && cell.number < Sheet::kEndOfDays);
        case CellKind::Boolean: return cell.number == 0 || cell.number == 1;
        case CellKind::Error:
            return std::find(std::begin(kErrorCodes), std::end(kErrorCodes), cell.number) != std::end(kErrorCodes);
        case CellKind::Text: return cell.text.size() <= static_cast<std::size_t>(Sheet::kMaxTextLength);
    }
    return false;
}

}  // namespace

bool Sheet::SetCell(int row, int column, Cell cell) {
    if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns || !Holdable(cell)) return false;
    if (cell.kind != CellKind::Text) cell.text.clear();
    if (cell.kind == CellKind::Empty) {
        cell.number = 0;
        if (static_cast<std::size_t>(row) >= m_rows.size() || static_cast<std::size_t>(column) >= m_rows[row].size())
            return true;
    }
    if (static_cast<std::size_t>(row) >= m_rows.size()) m_rows.resize(row + 1);
    std::vector<Cell>& cells = m_rows[row];
    if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(column + 1);
    cells[column] = std::move(cell);
    return true;
}

const Cell& Sheet::GetCell(int row, int column) const {
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= m_rows.size() ||
        static_cast<std::size_t>(column) >= m_rows[row].size())
        return kEmptyCell;
    return m_rows[row][column];
}

int Sheet::RowEnd(int row) const {
    return row < 0 || static_cast<std::size_t>(row) >= m_rows.size() ? 0 : static_cast<int>(m_rows[row].size());
}

CellRange Sheet::UsedRange() const {
    CellRange range;
    range.firstRow = kMaxRows;
    range.firstColumn = kMaxColumns;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        const std::vector<Cell>& cells = m_rows[row];
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (cells[column].kind == CellKind::Empty) continue;
            range.firstRow = std::min(range.firstRow, static_cast<int>(row));
            range.lastRow = static_cast<int>(row);
            range.firstColumn = std::min(range.firstColumn, static_cast<int>(column));
            range.lastColumn = std::max(range.lastColumn, static_cast<int>(column));
        }
    }
    if (range.lastRow < 0) return CellRange();
    return range;
}

}  // namespace workbook
