#pragma once

#include "ui/GridControl.h"
#include "ui/ListControl.h"

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kvt::test {

// A list control without widgets: what the fillers leave in it, for tests to read.
class FakeList final : public ListControl {
public:
    void Clear() override {
        rows.clear();
        current = -1;
        text.clear();
    }
    void AddItem(const std::string &code, const std::string &name = {}) override {
        rows.push_back({code, name});
    }
    int ListCount() const override { return static_cast<int>(rows.size()); }
    std::string List(int index, int column = 0) const override {
        if (index < 0 || index >= ListCount() || column < 0 || column > 1)
            return {};
        const auto &row = rows[static_cast<std::size_t>(index)];
        return column == 0 ? row.first : row.second;
    }
    int ListIndex() const override { return current; }
    void setListIndex(int index) override {
        current = index >= 0 && index < ListCount() ? index : -1;
        text = List(current);
    }
    bool Selected(int index) const override { return index == current && index >= 0; }
    void setSelected(int index, bool selected) override {
        if (selected)
            setListIndex(index);
    }
    void setColumnCount(int count) override { columnCount = count; }
    void setColumnWidths(std::vector<double> points) override { columnWidths = std::move(points); }
    void setListWidth(double points) override { listWidth = points; }
    ListStyle Style() const override { return style; }
    void setStyle(ListStyle value) override { style = value; }
    bool Enabled() const override { return enabled; }
    void setEnabled(bool value) override { enabled = value; }
    std::string Text() const override { return text; }
    void setText(const std::string &value) override {
        if (style == ListStyle::DropDownCombo) {
            text = value;
            return;
        }
        for (int index = 0; index < ListCount(); ++index)
            if (List(index) == value)
                setListIndex(index);
    }

    std::vector<std::string> codes() const {
        std::vector<std::string> all;
        for (const auto &row : rows)
            all.push_back(row.first);
        return all;
    }

    std::vector<std::pair<std::string, std::string>> rows;
    int current = -1;
    std::string text;
    int columnCount = 0;
    std::vector<double> columnWidths;
    double listWidth = -1;
    ListStyle style = ListStyle::DropDownList;
    bool enabled = true;
};

// A grid without widgets: a cell outside the sizes throws, as the window's grid does.
class FakeGrid final : public GridControl {
public:
    struct Cell {
        std::string text;
        CellAlignment alignment = CellAlignment::Left;
        std::uint32_t colour = 0; // 0: the grid's own
    };

    int Rows() const override { return rows; }
    void setRows(int value) override { rows = value; }
    int Cols() const override { return cols; }
    void setCols(int value) override { cols = value; }
    int FixedRows() const override { return fixedRows; }
    void setFixedRows(int value) override { fixedRows = value; }
    int FixedCols() const override { return fixedCols; }
    void setFixedCols(int value) override { fixedCols = value; }
    std::string TextMatrix(int row, int col) const override { return cell(row, col).text; }
    void setTextMatrix(int row, int col, const std::string &text) override {
        cell(row, col).text = text;
    }
    CellAlignment cellAlignment(int row, int col) const override {
        return cell(row, col).alignment;
    }
    void setCellAlignment(int row, int col, CellAlignment alignment) override {
        cell(row, col).alignment = alignment;
    }
    std::uint32_t CellBackColor(int row, int col) const override {
        const std::uint32_t own = cell(row, col).colour;
        return own != 0 ? own : backColor;
    }
    void setCellBackColor(int row, int col, std::uint32_t colour) override {
        cell(row, col).colour = colour;
    }
    std::uint32_t BackColor() const override { return backColor; }
    void setBackColor(std::uint32_t colour) override { backColor = colour; }
    int ColWidth(int col) const override { return widths.count(col) ? widths.at(col) : -1; }
    void setColWidth(int col, int twips) override { widths[col] = twips; }
    int Row() const override { return currentRow; }
    void setRow(int value) override { currentRow = value; }
    int Col() const override { return currentCol; }
    void setCol(int value) override { currentCol = value; }
    void Clear() override { cells.clear(); }
    bool Enabled() const override { return enabled; }
    void setEnabled(bool value) override { enabled = value; }

    int rows = 0, cols = 0, fixedRows = 0, fixedCols = 0, currentRow = 0, currentCol = 0;
    std::uint32_t backColor = 0;
    bool enabled = true;
    std::map<int, int> widths;
    mutable std::map<std::pair<int, int>, Cell> cells;

private:
    Cell &cell(int r, int c) const {
        if (r < 0 || r >= rows || c < 0 || c >= cols)
            throw std::out_of_range("cell outside the grid");
        return cells[{r, c}];
    }
};

} // namespace kvt::test
