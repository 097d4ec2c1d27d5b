#pragma once
#include "DispatchObject.h"
#include "WorkbookDocument.h"

#include <memory>

// The workbooks of one application instance: Add, Open and Count.
class CWorkbooksObject : public CDispatchObject {
public:
    explicit CWorkbooksObject(std::shared_ptr<OpenWorkbooks> openWorkbooks) : m_openWorkbooks(std::move(openWorkbooks)) {}

protected:
    void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) override;

private:
    std::shared_ptr<OpenWorkbooks> m_openWorkbooks;
};
