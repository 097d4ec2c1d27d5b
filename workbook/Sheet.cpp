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
        if (static_cast<std::size_t>(column) >= static_cast<std::size_t>(RowEnd(row))) return true;
    }
    std::vector<Cell>& cells = m_rows[row];
    if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(column + 1);
    cells[column] = std::move(cell);
    return true;
}

const Cell& Sheet::GetCell(int row, int column) const {
    const auto found = m_rows.find(row);
    if (found == m_rows.end() || column < 0 || static_cast<std::size_t>(column) >= found->second.size())
        return kEmptyCell;
    return found->second[column];
}

const std::vector<Cell>& Sheet::GetRow(int row) const {
    static const std::vector<Cell> kNoCells;
    const auto found = m_rows.find(row);
    return found == m_rows.end() ? kNoCells : found->second;
}

int Sheet::RowEnd(int row) const {
    const auto found = m_rows.find(row);
    return found == m_rows.end() ? 0 : static_cast<int>(found->second.size());
}

int Sheet::RowFrom(int row) const {
    const auto found = m_rows.lower_bound(row);
    return found == m_rows.end() ? kMaxRows : found->first;
}

CellRange Sheet::UsedRange() const {
    CellRange range;
    range.firstRow = kMaxRows;
    range.firstColumn = kMaxColumns;
    for (const auto& [row, cells] : m_rows) {
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (cells[column].kind == CellKind::Empty) continue;
            range.firstRow = std::min(range.firstRow, row);
            range.lastRow = row;
            range.firstColumn = std::min(range.firstColumn, static_cast<int>(column));
            range.lastColumn = std::max(range.lastColumn, static_cast<int>(column));
        }
    }
    if (range.lastRow < 0) return CellRange();
    return range;
}

}  // namespace workbook
