#pragma once
#include "DispatchObject.h"
#include "WorkbookDocument.h"

#include <memory>

// The one worksheet of a workbook: Cells and UsedRange.
class CWorksheetObject : public CDispatchObject {
public:
    explicit CWorksheetObject(std::shared_ptr<WorkbookDocument> document) : m_document(std::move(document)) {}

protected:
    void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) override;

private:
    std::shared_ptr<WorkbookDocument> m_document;
};
