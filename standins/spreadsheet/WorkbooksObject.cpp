#include "WorkbooksObject.h"

#include "SpreadsheetMembers.h"
#include "WorkbookObject.h"

using namespace spreadsheet;

void CWorkbooksObject::Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) {
    std::shared_ptr<WorkbookDocument> document;
    if (member == kAdd && IsMethod(flags)) {
        document = WorkbookDocument::New();
    } else if (member == kOpen && IsMethod(flags)) {
        document = WorkbookDocument::Open(arguments.TextAt(0));
    } else if (member == kCount && IsGet(flags)) {
        result.vt = VT_I4;
        result.lVal = static_cast<LONG>(m_openWorkbooks->size());
        return;
    } else {
        RaiseError(DISP_E_MEMBERNOTFOUND);
    }
    m_openWorkbooks->push_back(document);
    ReturnObject(new CWorkbookObject(document, m_openWorkbooks), result);
}
