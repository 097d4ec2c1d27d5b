#include "Workbook.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

namespace workbook {
namespace {

// Slots and text characters come in blocks of these many; a row's slots and
// a text's characters always lie in one block.
constexpr std::uint32_t kSlotBlockShift = 16;
constexpr std::uint32_t kSlotBlock = 1u << kSlotBlockShift;
constexpr std::uint32_t kTextBlockShift = 20;
constexpr std::size_t kTextBlock = std::size_t(1) << kTextBlockShift;
// Texts seen last, by their hash: a repeated text (a category, a kind) is
// kept once.
constexpr std::size_t kSeenTexts = 4096;
// Overwritten texts are dropped once they are this many characters and more
// than half of all.
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
    Slot slot;
    slot.kind = CellKind::Text;
    slot.length = static_cast<std::uint32_t>(text.size());
    slot.start = NewText(text);
    return Store(row, column, slot);
}

std::uint64_t Sheet::NewText(std::u16string_view text) {
    m_textCharacters += text.size();
    if (text.empty()) return 0;
    if (m_seenTexts.empty()) m_seenTexts.resize(kSeenTexts);
    SeenText& seen = m_seenTexts[std::hash<std::u16string_view>()(text) & (kSeenTexts - 1)];
    if (seen.length == text.size() && TextAt(seen.start, seen.length) == text) return seen.start;
    // A block never grows beyond the room it was made with, so that its
    // characters stay where they are (a text of the sheet's own included,
    // while it is copied).
    if (m_textBlocks.empty() || m_textBlocks.back().size() + text.size() > kTextBlock) {
        m_textBlocks.emplace_back();
        m_textBlocks.back().reserve(kTextBlock);
    }
    std::u16string& block = m_textBlocks.back();
    const std::uint64_t start = (static_cast<std::uint64_t>(m_textBlocks.size() - 1) << kTextBlockShift) + block.size();
    block.append(text);
    seen.start = start;
    seen.length = static_cast<std::uint32_t>(text.size());
    return start;
}

Sheet::Slot* Sheet::SlotsAt(std::uint32_t index) {
    return &m_slotBlocks[index >> kSlotBlockShift][index & (kSlotBlock - 1)];
}

const Sheet::Slot* Sheet::SlotsAt(std::uint32_t index) const {
    return &m_slotBlocks[index >> kSlotBlockShift][index & (kSlotBlock - 1)];
}

std::uint32_t Sheet::NewSlots(std::uint32_t count) {
    // The last block is full (or there is none), or the rest of it is too
    // small: a new block, and the rest of the last one stays unused.
    const auto blocksEnd = static_cast<std::uint32_t>(m_slotBlocks.size()) << kSlotBlockShift;
    if (m_slotCount == blocksEnd || (m_slotCount & (kSlotBlock - 1)) + count > kSlotBlock) {
        m_slotCount = blocksEnd;
        m_slotBlocks.emplace_back();
        // Room only: a slot's memory is first touched when it is used.
        m_slotBlocks.back().reserve(kSlotBlock);
    }
    const std::uint32_t first = m_slotCount;
    m_slotCount += count;
    m_slotBlocks.back().resize((m_slotCount - 1) % kSlotBlock + 1);
    return first;
}

bool Sheet::Store(int row, int column, const Slot& slot) {
    const auto at = static_cast<std::size_t>(row);
    const auto c = static_cast<std::uint32_t>(column);
    if (slot.kind == CellKind::Empty && (at >= m_rows.size() || c >= m_rows[at].size)) return true;
    if (at >= m_rows.size()) {
        if (m_rows.empty()) m_rows.reserve(kMaxRows);  // room only, never moved
        m_rows.resize(at + 1);
    }
    RowPlace& place = m_rows[at];
    if (c >= place.capacity) {
        // Room for the row's cells: as many as the row stored last, or
        // twice what it had, and the new one.
        const std::uint32_t capacity = std::min<std::uint32_t>(
            kMaxColumns, std::max({c + 1, place.capacity == 0 ? m_lastWidth : 2 * place.capacity}));
        const std::uint32_t first = NewSlots(capacity);
        if (place.size > 0) std::copy(SlotsAt(place.first), SlotsAt(place.first) + place.size, SlotsAt(first));
        place.first = first;
        place.capacity = capacity;
    }
    Slot* cells = SlotsAt(place.first);
    if (c >= place.size) place.size = c + 1;
    m_lastWidth = place.size;
    Slot& stored = cells[c];
    if (stored.kind == CellKind::Text) m_unusedTexts += stored.length;
    stored = slot;
    if (m_unusedTexts > kCompactAfter && m_unusedTexts > m_textCharacters / 2) CompactTexts();
    return true;
}

void Sheet::CompactTexts() {
    std::vector<std::u16string> blocks;
    blocks.swap(m_textBlocks);
    m_seenTexts.assign(m_seenTexts.size(), SeenText());
    m_textCharacters = 0;
    m_unusedTexts = 0;
    for (const RowPlace& place : m_rows) {
        if (place.size == 0) continue;
        Slot* cells = SlotsAt(place.first);
        for (std::uint32_t column = 0; column < place.size; ++column) {
            Slot& slot = cells[column];
            if (slot.kind != CellKind::Text) continue;
            const std::u16string& block = blocks[static_cast<std::size_t>(slot.start >> kTextBlockShift)];
            const auto offset = static_cast<std::size_t>(slot.start & (kTextBlock - 1));
            slot.start = NewText(std::u16string_view(block).substr(offset, slot.length));
        }
    }
}

Sheet::RowSlots Sheet::Row(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size() || m_rows[row].size == 0) return RowSlots(nullptr, 0);
    return RowSlots(SlotsAt(m_rows[row].first), m_rows[row].size);
}

std::u16string_view Sheet::TextAt(std::uint64_t start, std::uint32_t length) const {
    if (length == 0) return std::u16string_view();
    const std::u16string& block = m_textBlocks[static_cast<std::size_t>(start >> kTextBlockShift)];
    return std::u16string_view(block.data() + (start & (kTextBlock - 1)), length);
}

CellView Sheet::View(const Slot& slot) const {
    CellView view;
    view.kind = slot.kind;
    if (slot.kind == CellKind::Text) {
        view.text = TextAt(slot.start, slot.length);
    } else {
        view.number = slot.number;
    }
    return view;
}

CellView Sheet::ViewCell(int row, int column) const {
    const RowSlots cells = Row(row);
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size()) return CellView();
    return View(cells[column]);
}

Cell Sheet::GetCell(int row, int column) const {
    const CellView view = ViewCell(row, column);
    Cell cell;
    cell.kind = view.kind;
    cell.number = view.number;
    cell.text = view.text;
    return cell;
}

int Sheet::RowEnd(int row) const { return static_cast<int>(Row(row).size()); }

int Sheet::RowFrom(int row) const {
    for (std::size_t at = static_cast<std::size_t>(std::max(row, 0)); at < m_rows.size(); ++at)
        if (m_rows[at].size > 0) return static_cast<int>(at);
    return kMaxRows;
}

CellRange Sheet::UsedRange() const {
    CellRange range;
    range.firstRow = kMaxRows;
    range.firstColumn = kMaxColumns;
    for (int row = RowFrom(0); row < kMaxRows; row = RowFrom(row + 1)) {
        const RowSlots cells = Row(row);
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
