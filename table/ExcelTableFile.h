#pragma once
#include "AutomationObject.h"
#include "TypedCellTableFile.h"

#include <string>

// A table file kept as a workbook by the spreadsheet application
// ("Excel.Application"), driven through automation: only the first sheet,
// cells addressed by row and column from 1.  Values travel typed (texts,
// integers, numbers, money, dates); reads choose between a cell's typed value
// and the text the application shows for it.  After OpenForRead row 1 is
// current, so a reader that advances before every row never sees row 1.
// Failed automation calls raise COleDispatchException or COleException; a
// row whose writing failed is cleared again, so that only whole rows are
// saved.  The workbook is closed on every path: a workbook still open when
// the table file goes is closed without saving.
class CExcelTableFile : public CTypedCellTableFile {
public:
    // Starts an instance of the application of its own.
    CExcelTableFile();
    ~CExcelTableFile() override;
    CExcelTableFile(const CExcelTableFile&) = delete;
    CExcelTableFile& operator=(const CExcelTableFile&) = delete;

    // 1 when the constructor could not start the application; every
    // operation then raises COleException with the reason.
    int StartFailed() const { return m_startFailed; }

    int OpenForWrite(std::string fileName) override;
    int OpenForRead(std::string fileName) override;
    int FinishWrite() override;
    int Close() override;

protected:
    void PutCellValue(CVariant value) override;
    CellContent GetCellValue() override;

private:
    void RequireApplication() const;
    void TakeFirstSheet();
    bool KnowsWorkbook97Format() const;
    CAutomationObject CurrentCell() const;
    void ClearRowSoFar() override;

    CAutomationObject m_application;
    CAutomationObject m_workbook;
    CAutomationObject m_worksheet;
    bool m_workbookOpen = false;  // added or opened, and not yet closed
    int m_startFailed = 0;
    long m_startStatus = 0;
};
