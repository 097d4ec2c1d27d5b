#pragma once
#include "Workbook.h"

#include <memory>
#include <string>
#include <vector>

// One open workbook of the stand-in: the cells of its one worksheet and the
// file it belongs to.  Shared by the objects that reach it (workbook, sheets,
// worksheet, ranges); once closed, every one of them refuses to work on it.
//
// A workbook stays open until it is closed (Close, or Quit of its
// application), also when every reference to it has gone: the application
// keeps running with it, as the real one does.  OpenInProcess counts them.
class WorkbookDocument {
public:
    // An empty workbook with no file yet.
    static std::shared_ptr<WorkbookDocument> New();
    // Reads a workbook file; raises a described error naming the file when it
    // is missing or no workbook the stand-in can read.
    static std::shared_ptr<WorkbookDocument> Open(const std::wstring& path);
    // The workbooks added or opened in this process and not closed.
    static long OpenInProcess();

    // Writes the cells as an Excel 97-2003 workbook under a new name; refuses
    // (a described error) a file that exists, where the real application
    // would ask whether to replace it and wait for an answer.
    void SaveAs(const std::wstring& path);
    // Writes the cells to the workbook's own file.  A save that fails leaves
    // the file as it was.
    void Save();
    void Close();

    // The sheet, for reading and changing; raises when the workbook is closed.
    workbook::Sheet& Sheet();

private:
    WorkbookDocument() = default;
    void WriteFile(const std::wstring& path, bool replace);

    workbook::Sheet m_sheet;
    std::wstring m_path;
    bool m_closed = false;
};

// The workbooks one application instance has open.
using OpenWorkbooks = std::vector<std::shared_ptr<WorkbookDocument>>;
