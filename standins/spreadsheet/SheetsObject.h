#pragma once
#include "DispatchObject.h"
#include "WorkbookDocument.h"

#include <memory>

// A workbook's sheets: the stand-in's workbooks have one, Sheets(1).
class CSheetsObject : public CDispatchObject {
public:
    explicit CSheetsObject(std::shared_ptr<WorkbookDocument> document) : m_document(std::move(document)) {}

protected:
    void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) override;

private:
    std::shared_ptr<WorkbookDocument> m_document;
};
