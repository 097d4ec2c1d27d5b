#pragma once
#include "Workbook.h"

#include <memory>
#include <string>
#include <vector>

// One open workbook of the stand-in: the cells of its one worksheet and the
// file it belongs to.  Shared by the objects that reach it (workbook, sheets,
// worksheet, ranges); once closed, every one of them refuses to work on it.
class WorkbookDocument {
public:
    // An empty workbook with no file yet.
    WorkbookDocument() = default;
    // Reads a workbook file; raises a described error naming the file when it
    // is missing or no workbook the stand-in can read.
    static std::shared_ptr<WorkbookDocument> Open(const std::wstring& path);

    // Writes the cells as an Excel 97-2003 workbook; raises a described error
    // naming the file when it cannot be written.
    void SaveAs(const std::wstring& path);
    void Save();
    void Close() { m_closed = true; }

    // The sheet, for reading and changing; raises when the workbook is closed.
    workbook::Sheet& Sheet();

private:
    workbook::Sheet m_sheet;
    std::wstring m_path;
    bool m_closed = false;
};

// The workbooks one application instance has open.
using OpenWorkbooks = std::vector<std::shared_ptr<WorkbookDocument>>;
