#include "Workbook.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
    std::vector<Cell>& cells = RowToStore(row);
    if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(column + 1);
    cells[column] = std::move(cell);
    return true;
}

const std::vector<Cell>* Sheet::FindRow(int row) const {
    if (!m_rows.empty() && m_rows.rbegin()->first == row) return &m_rows.rbegin()->second;
    const auto found = m_rows.find(row);
    return found == m_rows.end() ? nullptr : &found->second;
}

std::vector<Cell>& Sheet::RowToStore(int row) {
    if (!m_rows.empty()) {
        const auto last = std::prev(m_rows.end());
        if (last->first == row) return last->second;
        if (last->first < row) {
            // The rows of a table are alike: room for as many cells as the
            // row before, so that the row is not copied as it grows.
            const std::size_t width = last->second.size();
            std::vector<Cell>& cells = m_rows.emplace_hint(m_rows.end(), row, std::vector<Cell>())->second;
            cells.reserve(width);
            return cells;
        }
    }
    return m_rows[row];
}

const Cell& Sheet::GetCell(int row, int column) const {
    const std::vector<Cell>* cells = FindRow(row);
    if (!cells || column < 0 || static_cast<std::size_t>(column) >= cells->size()) return kEmptyCell;
    return (*cells)[column];
}

const std::vector<Cell>& Sheet::GetRow(int row) const {
    static const std::vector<Cell> kNoCells;
    const std::vector<Cell>* cells = FindRow(row);
    return cells ? *cells : kNoCells;
}

int Sheet::RowEnd(int row) const {
    const std::vector<Cell>* cells = FindRow(row);
    return cells ? static_cast<int>(cells->size()) : 0;
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
