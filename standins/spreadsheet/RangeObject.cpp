#include "RangeObject.h"

#include "CellValues.h"
#include "SpreadsheetMembers.h"

#include <oleauto.h>

#include <string>

using namespace spreadsheet;

CRangeObject::CRangeObject(std::shared_ptr<WorkbookDocument> document, Area area, bool rowsOnly)
    : m_document(std::move(document)), m_area(area), m_rowsOnly(rowsOnly) {}

void CRangeObject::Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) {
    switch (member) {
    case kDefault:
        // Without an index the default member is the value.
        if (arguments.Count() == 0) {
            if (IsPut(flags)) return PutValue(*arguments.PutValue());
            return GetValue(result);
        }
        if (IsGet(flags)) return Item(arguments, result);
        break;
    case kValue:
        if (IsPut(flags)) return PutValue(*arguments.PutValue());
        if (IsGet(flags)) return GetValue(result);
        break;
    case kText:
        if (IsGet(flags)) {
            RequireOneCell();
            const std::wstring text = cellvalues::DisplayedText(
                m_document->Sheet().GetCell(m_area.firstRow - 1, m_area.firstColumn - 1));
            result.vt = VT_BSTR;
            result.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            return;
        }
        break;
    case kRows:
        if (IsGet(flags)) return ReturnObject(new CRangeObject(m_document, m_area, true), result);
        break;
    case kRow:
        if (IsGet(flags)) {
            result.vt = VT_I4;
            result.lVal = m_area.firstRow;
            return;
        }
        break;
    case kCount:
        if (IsGet(flags)) {
            result.vt = VT_I4;
            result.lVal = m_rowsOnly ? m_area.rows : m_area.rows * m_area.columns;
            return;
        }
        break;
    default:
        break;
    }
    RaiseError(DISP_E_MEMBERNOTFOUND);
}

void CRangeObject::Item(const CallArguments& arguments, VARIANT& result) const {
    Area item{0, 0, 1, 1};
    if (m_rowsOnly) {
        // Rows(n): the n-th row of the range, all its columns.
        item = {m_area.firstRow + arguments.LongAt(0, 1) - 1, m_area.firstColumn, 1, m_area.columns};
    } else if (arguments.Count() >= 2) {
        item.firstRow = m_area.firstRow + arguments.LongAt(0, 1) - 1;
        item.firstColumn = m_area.firstColumn + arguments.LongAt(1, 1) - 1;
    } else {
        // One index counts the cells row by row.
        const long index = arguments.LongAt(0, 1) - 1;
        if (index < 0) RaiseError(DISP_E_BADINDEX);
        item.firstRow = m_area.firstRow + static_cast<int>(index / m_area.columns);
        item.firstColumn = m_area.firstColumn + static_cast<int>(index % m_area.columns);
    }
    if (item.firstRow < 1 || item.firstRow > workbook::Sheet::kMaxRows || item.firstColumn < 1 ||
        item.firstColumn > workbook::Sheet::kMaxColumns)
        RaiseDescribed(L"Cell (" + std::to_wstring(item.firstRow) + L", " + std::to_wstring(item.firstColumn) +
                       L") lies outside the worksheet of 65,536 rows and 256 columns.");
    ReturnObject(new CRangeObject(m_document, item), result);
}

void CRangeObject::RequireOneCell() const {
    if (m_area.rows != 1 || m_area.columns != 1) RaiseDescribed(L"Only the value of a single cell is available.");
}

void CRangeObject::GetValue(VARIANT& result) const {
    RequireOneCell();
    cellvalues::ToValue(m_document->Sheet().GetCell(m_area.firstRow - 1, m_area.firstColumn - 1), result);
}

void CRangeObject::PutValue(const VARIANT& value) const {
    RequireOneCell();
    workbook::Cell cell;
    if (!cellvalues::FromValue(value, cell)) RaiseError(DISP_E_TYPEMISMATCH);
    const std::wstring refusal =
        cellvalues::StoreCell(m_document->Sheet(), m_area.firstRow - 1, m_area.firstColumn - 1, std::move(cell));
    if (!refusal.empty()) RaiseDescribed(refusal);
}
