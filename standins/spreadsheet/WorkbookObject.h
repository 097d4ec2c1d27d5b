#pragma once
#include "DispatchObject.h"
#include "WorkbookDocument.h"

#include <memory>

// One open workbook: Sheets, Save, SaveAs and Close.
class CWorkbookObject : public CDispatchObject {
public:
    CWorkbookObject(std::shared_ptr<WorkbookDocument> document, std::shared_ptr<OpenWorkbooks> openWorkbooks)
        : m_document(std::move(document)), m_openWorkbooks(std::move(openWorkbooks)) {}

protected:
    void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) override;

private:
    void SaveAs(const CallArguments& arguments);
    void Close(const CallArguments& arguments);

    std::shared_ptr<WorkbookDocument> m_document;
    std::shared_ptr<OpenWorkbooks> m_openWorkbooks;
};
