#pragma once

#include "ui/GridControl.h"

#include <QTableWidget>
#include <cstdint>
#include <vector>

class QAbstractButton;

namespace kvt::windows {

// Colours as the library keeps them, red in the lowest byte (0x00BBGGRR).
QColor colourOf(std::uint32_t bgr);
std::uint32_t bgrOf(const QColor &colour);

// The library's grid control: a table whose fixed row and column are the table's own headers,
// so they stay in view while the cells scroll, cannot be selected, and name the columns and rows
// to screen readers. The header cell where both meet is painted on the table's corner. The
// cells are read only; the arrow keys move the current cell, Tab leaves the grid. The window
// that holds a grid gives it its accessible name.
class Grid final : public QTableWidget, public GridControl {
    Q_OBJECT
public:
    explicit Grid(QWidget *parent = nullptr);

    int Rows() const override;
    void setRows(int rows) override;
    int Cols() const override;
    void setCols(int cols) override;
    int FixedRows() const override { return mFixedRows; }
    void setFixedRows(int rows) override;
    int FixedCols() const override { return mFixedCols; }
    void setFixedCols(int cols) override;

    std::string TextMatrix(int row, int col) const override;
    void setTextMatrix(int row, int col, const std::string &text) override;
    CellAlignment cellAlignment(int row, int col) const override;
    void setCellAlignment(int row, int col, CellAlignment alignment) override;
    std::uint32_t CellBackColor(int row, int col) const override;
    void setCellBackColor(int row, int col, std::uint32_t colour) override;
    std::uint32_t BackColor() const override;
    void setBackColor(std::uint32_t colour) override;

    int ColWidth(int col) const override;
    void setColWidth(int col, int twips) override;

    int Row() const override;
    void setRow(int row) override;
    int Col() const override;
    void setCol(int col) override;

    void Clear() override;

    // The whole row of the current cell selected, from its header to the last column, and
    // scrolled into view; whether the selection is such a row.
    void selectWholeRow(int row);
    bool wholeRowSelected() const;
    // Exchanges rows first and second and columns first and second, headers, colours and
    // widths included: a square table whose rows and columns name the same things stays so.
    void swapRowsAndColumns(int first, int second);
    // Gives a column set to a width back its default one.
    void resetColWidth(int col);
    bool Enabled() const override { return isEnabled(); }
    void setEnabled(bool enabled) override { QTableWidget::setEnabled(enabled); }

    // Wide enough for every column and tall enough for every row, scroll bars aside.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Every cell of the grid, headers included, is one item: a body cell of the table, a header
    // section's item, or the corner.
    QTableWidgetItem *cellItem(int row, int col);
    // Changes one cell, creating it with the change already made when it is new.
    template<class Edit>
    void editCell(int row, int col, Edit &&edit);
    const QTableWidgetItem *cellItem(int row, int col) const;
    void checkCell(int row, int col) const;
    void checkCol(int col) const;
    void checkFixed(int fixed, int count, const char *what) const;
    void moveCurrent(int row, int col);
    [[noreturn]] void fail(const std::string &problem) const;
    // Rebuilds the table for new fixed counts, keeping every cell where it is in the grid.
    void reshape(int fixedRows, int fixedCols);
    void fillHeaders();
    void applyColumnWidths();
    void paintCorner();

    int mFixedRows = 0;
    int mFixedCols = 0;
    QTableWidgetItem mCorner;
    QAbstractButton *mCornerButton = nullptr;
    std::vector<int> mColTwips; // per grid column; 0 while never set
};

} // namespace kvt::windows
