#include "SheetsObject.h"

#include "SpreadsheetMembers.h"
#include "WorksheetObject.h"

using namespace spreadsheet;

void CSheetsObject::Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) {
    if (!IsGet(flags)) RaiseError(DISP_E_MEMBERNOTFOUND);
    if (member == kDefault) {
        if (arguments.LongAt(0, 0) != 1) RaiseDescribed(L"Subscript out of range: the workbook has one sheet.");
        m_document->Sheet();
        return ReturnObject(new CWorksheetObject(m_document), result);
    }
    if (member == kCount) {
        result.vt = VT_I4;
        result.lVal = 1;
        return;
    }
    RaiseError(DISP_E_MEMBERNOTFOUND);
}
