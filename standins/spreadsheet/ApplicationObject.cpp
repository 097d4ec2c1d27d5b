#include "ApplicationObject.h"

#include "SpreadsheetMembers.h"
#include "WorkbooksObject.h"

#include <oleauto.h>

using namespace spreadsheet;

namespace {
// The object model's level: file formats by number are known.
const wchar_t kVersionText[] = L"16.0";
}  // namespace

void CApplicationObject::Member(DISPID member, WORD flags, const CallArguments&, VARIANT& result) {
    if (member == kWorkbooks && IsGet(flags)) return ReturnObject(new CWorkbooksObject(m_openWorkbooks), result);
    if (member == kVersion && IsGet(flags)) {
        result.vt = VT_BSTR;
        result.bstrVal = SysAllocString(kVersionText);
        return;
    }
    if (member == kQuit && IsMethod(flags)) {
        // Quitting closes every workbook without saving it.
        for (const auto& document : *m_openWorkbooks) document->Close();
        m_openWorkbooks->clear();
        return;
    }
    RaiseError(DISP_E_MEMBERNOTFOUND);
}
