#include "WorksheetObject.h"

#include "RangeObject.h"
#include "SpreadsheetMembers.h"

using namespace spreadsheet;

void CWorksheetObject::Member(DISPID member, WORD flags, const CallArguments&, VARIANT& result) {
    if (!IsGet(flags)) RaiseError(DISP_E_MEMBERNOTFOUND);
    if (member == kCells) {
        m_document->Sheet();  // a closed workbook's sheet has no cells
        return ReturnObject(new CRangeObject(m_document, {1, 1, workbook::Sheet::kMaxRows, workbook::Sheet::kMaxColumns}),
                            result);
    }
    if (member == kUsedRange) {
        // An empty sheet's used range is its first cell, as in the application.
        const workbook::CellRange used = m_document->Sheet().UsedRange();
        const CRangeObject::Area area =
            used.Empty() ? CRangeObject::Area{1, 1, 1, 1}
                         : CRangeObject::Area{used.firstRow + 1, used.firstColumn + 1, used.lastRow - used.firstRow + 1,
                                              used.lastColumn - used.firstColumn + 1};
        return ReturnObject(new CRangeObject(m_document, area), result);
    }
    RaiseError(DISP_E_MEMBERNOTFOUND);
}
