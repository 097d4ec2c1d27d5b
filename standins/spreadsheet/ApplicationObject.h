#pragma once
#include "DispatchObject.h"
#include "WorkbookDocument.h"

#include <memory>

// One instance of the spreadsheet application: Workbooks, Version, Quit.
// Each instance has workbooks of its own, as each start of the application
// does.
class CApplicationObject : public CDispatchObject {
public:
    CApplicationObject() : m_openWorkbooks(std::make_shared<OpenWorkbooks>()) {}

protected:
    void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) override;

private:
    std::shared_ptr<OpenWorkbooks> m_openWorkbooks;
};
