#include "Workbook.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

namespace workbook {
namespace {

// Overwritten texts are dropped once they are this many characters and more
// than the texts still held.
constexpr std::size_t kCompactAfter = std::size_t(1) << 20;

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

bool Inside(int row, int column) { return row >= 0 && row < Sheet::kMaxRows && column >= 0 && column < Sheet::kMaxColumns; }

}  // namespace

bool Sheet::SetCell(int row, int column, const Cell& cell) {
    if (!Inside(row, column) || !Holdable(cell)) return false;
    if (cell.kind == CellKind::Text) return SetText(row, column, cell.text);
    Slot slot;
    slot.kind = cell.kind;
    if (cell.kind != CellKind::Empty) slot.number = cell.number;
    return Store(row, column, slot);
}

bool Sheet::SetText(int row, int column, std::u16string_view text) {
    if (!Inside(row, column) || text.size() > static_cast<std::size_t>(kMaxTextLength)) return false;
    const std::less<const char16_t*> before;
    if (!text.empty() && !before(text.data(), m_texts.data()) && before(text.data(), m_texts.data() + m_texts.size())) {
        // A text of this sheet's own, which the append may move.
        const std::u16string copy(text);
        return SetText(row, column, copy);
    }
    Slot slot;
    slot.kind = CellKind::Text;
    slot.length = static_cast<std::uint32_t>(text.size());
    slot.start = m_texts.size();
    m_texts.append(text);
    return Store(row, column, slot);
}

bool Sheet::Store(int row, int column, const Slot& slot) {
    if (slot.kind == CellKind::Empty && static_cast<std::size_t>(column) >= static_cast<std::size_t>(RowEnd(row)))
        return true;
    std::vector<Slot>& cells = RowToStore(row);
    if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(column + 1);
    Slot& stored = cells[column];
    if (stored.kind == CellKind::Text) m_unusedTexts += stored.length;
    stored = slot;
    if (m_unusedTexts > kCompactAfter && m_unusedTexts > m_texts.size() / 2) CompactTexts();
    return true;
}

void Sheet::CompactTexts() {
    std::u16string kept;
    kept.reserve(m_texts.size() - m_unusedTexts);
    for (auto& [row, cells] : m_rows) {
        for (Slot& slot : cells) {
            if (slot.kind != CellKind::Text) continue;
            const std::uint64_t start = kept.size();
            kept.append(m_texts, static_cast<std::size_t>(slot.start), slot.length);
            slot.start = start;
        }
    }
    m_texts = std::move(kept);
    m_unusedTexts = 0;
}

const std::vector<Sheet::Slot>* Sheet::FindRow(int row) const {
    if (!m_rows.empty() && m_rows.rbegin()->first == row) return &m_rows.rbegin()->second;
    const auto found = m_rows.find(row);
    return found == m_rows.end() ? nullptr : &found->second;
}

std::vector<Sheet::Slot>& Sheet::RowToStore(int row) {
    if (!m_rows.empty()) {
        const auto last = std::prev(m_rows.end());
        if (last->first == row) return last->second;
        if (last->first < row) {
            // The rows of a table are alike: room for as many cells as the
            // row before, so that the row is not copied as it grows.
            const std::size_t width = last->second.size();
            std::vector<Slot>& cells = m_rows.emplace_hint(m_rows.end(), row, std::vector<Slot>())->second;
            cells.reserve(width);
            return cells;
        }
    }
    return m_rows[row];
}

CellView Sheet::View(const Slot& slot) const {
    CellView view;
    view.kind = slot.kind;
    if (slot.kind == CellKind::Text)
        view.text = std::u16string_view(m_texts).substr(static_cast<std::size_t>(slot.start), slot.length);
    else
        view.number = slot.number;
    return view;
}

CellView Sheet::ViewCell(int row, int column) const {
    const std::vector<Slot>* cells = FindRow(row);
    if (!cells || column < 0 || static_cast<std::size_t>(column) >= cells->size()) return CellView();
    return View((*cells)[column]);
}

Cell Sheet::GetCell(int row, int column) const {
    const CellView view = ViewCell(row, column);
    Cell cell;
    cell.kind = view.kind;
    cell.number = view.number;
    cell.text = view.text;
    return cell;
}

int Sheet::RowEnd(int row) const {
    const std::vector<Slot>* cells = FindRow(row);
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
