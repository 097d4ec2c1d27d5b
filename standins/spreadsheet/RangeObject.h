#pragma once
#include "DispatchObject.h"
#include "WorkbookDocument.h"

#include <memory>

// A rectangle of cells of a worksheet (1-based, as the application counts),
// or the rows of one (Rows): the whole sheet for Cells, the filled cells
// for UsedRange, one cell for Cells(row, column).  Value and Text work on
// single cells.
class CRangeObject : public CDispatchObject {
public:
    struct Area {
        int firstRow, firstColumn, rows, columns;
    };
    CRangeObject(std::shared_ptr<WorkbookDocument> document, Area area, bool rowsOnly = false);

protected:
    void Member(DISPID member, WORD flags, const CallArguments& arguments, VARIANT& result) override;

private:
    void Item(const CallArguments& arguments, VARIANT& result) const;
    void RequireOneCell() const;
    void GetValue(VARIANT& result) const;
    void PutValue(const VARIANT& value) const;

    std::shared_ptr<WorkbookDocument> m_document;
    Area m_area;
    bool m_rowsOnly;
};
