#include "WorkbookObject.h"

#include "SheetsObject.h"
#include "SpreadsheetMembers.h"

#include <algorithm>
#include <string>

using namespace spreadsheet;

namespace {
// The file formats the stand-in writes, all as an Excel 97-2003 workbook:
// the 97-2003 workbook itself and the older "normal workbook" number.
constexpr long kNormalWorkbookFormat = -4143;
}  // namespace

void CWorkbookObject::Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) {
    switch (member) {
    case kSheets:
        if (!IsGet(flags)) break;
        m_document->Sheet();
        return ReturnObject(new CSheetsObject(m_document), result);
    case kSave:
        if (!IsMethod(flags)) break;
        return m_document->Save();
    case kSaveAs:
        if (!IsMethod(flags)) break;
        return SaveAs(arguments);
    case kClose:
        if (!IsMethod(flags)) break;
        return Close(arguments);
    default:
        break;
    }
    RaiseError(DISP_E_MEMBERNOTFOUND);
}

void CWorkbookObject::SaveAs(const CallArguments& arguments) {
    const std::wstring path = arguments.TextAt(0);
    const long format = arguments.LongAt(1, kNormalWorkbookFormat);
    if (format != kWorkbook97Format && format != kNormalWorkbookFormat)
        RaiseDescribed(L"File format " + std::to_wstring(format) +
                       L" cannot be written here: only Excel 97-2003 workbooks (56).");
    m_document->SaveAs(path);
}

void CWorkbookObject::Close(const CallArguments& arguments) {
    // Close(SaveChanges, FileName): saved first only when asked to; there is
    // nobody to ask.
    if (arguments.BoolAt(0, false)) {
        if (arguments.At(1))
            m_document->SaveAs(arguments.TextAt(1));
        else
            m_document->Save();
    }
    m_document->Sheet();  // closing a closed workbook fails
    m_document->Close();
    auto& open = *m_openWorkbooks;
    open.erase(std::remove(open.begin(), open.end(), m_document), open.end());
}
