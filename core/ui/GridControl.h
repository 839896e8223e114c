#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <string>

namespace kvt {

// How a cell's text sits in its cell; always centred vertically.
enum class CellAlignment { Left, Centre, Right };

// A grid of the library's windows as the code that fills it sees it: Rows x Cols cells of text
// addressed from (0, 0), the first FixedRows rows and FixedCols columns being headers that
// stay in view and cannot be selected; a current cell (Row, Col) among the others, which is
// also the selection.
// Colours hold red in the lowest byte (0x00BBGGRR); widths are in twips (1440 to the inch).
// A cell, row or column outside the grid, or a count that does not fit, is a kvt::Error.
class KVT_EXPORT GridControl {
public:
    virtual ~GridControl() = default;

    virtual int Rows() const = 0;
    virtual void setRows(int rows) = 0;
    virtual int Cols() const = 0;
    virtual void setCols(int cols) = 0;
    // At most one fixed row and one fixed column: the headers the library's grids have. Fewer
    // rows or columns than fixed ones lower the fixed ones with them.
    virtual int FixedRows() const = 0;
    virtual void setFixedRows(int rows) = 0;
    virtual int FixedCols() const = 0;
    virtual void setFixedCols(int cols) = 0;

    virtual std::string TextMatrix(int row, int col) const = 0;
    virtual void setTextMatrix(int row, int col, const std::string &text) = 0;
    virtual CellAlignment cellAlignment(int row, int col) const = 0;
    virtual void setCellAlignment(int row, int col, CellAlignment alignment) = 0;
    // A cell's own background, or else the grid's: BackColor for a cell, the headers' colour for
    // a header.
    virtual std::uint32_t CellBackColor(int row, int col) const = 0;
    virtual void setCellBackColor(int row, int col, std::uint32_t colour) = 0;
    // The background of the cells that are not headers.
    virtual std::uint32_t BackColor() const = 0;
    virtual void setBackColor(std::uint32_t colour) = 0;

    virtual int ColWidth(int col) const = 0;
    virtual void setColWidth(int col, int twips) = 0;

    // The current cell, never a header; (FixedRows, FixedCols) while no cell is current.
    virtual int Row() const = 0;
    virtual void setRow(int row) = 0;
    virtual int Col() const = 0;
    virtual void setCol(int col) = 0;

    // Empties every cell and drops its alignment and colour; the sizes stay.
    virtual void Clear() = 0;
    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace kvt
