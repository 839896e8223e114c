#include "windows/Grid.h"

#include "model/Error.h"
#include "windows/WindowLayout.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QPaintEvent>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace kvt::windows {

namespace {

constexpr Qt::Alignment kVertical = Qt::AlignVCenter;

Qt::Alignment qtAlignment(CellAlignment alignment) {
    switch (alignment) {
    case CellAlignment::Centre:
        return Qt::AlignHCenter | kVertical;
    case CellAlignment::Right:
        return Qt::AlignRight | kVertical;
    case CellAlignment::Left:
        break;
    }
    return Qt::AlignLeft | kVertical;
}

CellAlignment cellAlignmentOf(const QTableWidgetItem &item) {
    const auto alignment = Qt::Alignment(item.data(Qt::TextAlignmentRole).toInt());
    if (alignment & Qt::AlignHCenter)
        return CellAlignment::Centre;
    if (alignment & Qt::AlignRight)
        return CellAlignment::Right;
    return CellAlignment::Left;
}

// A cell as the grid makes it: empty, left-aligned, selectable unless it is a header.
QTableWidgetItem *newCell() {
    auto *cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    cell->setTextAlignment(qtAlignment(CellAlignment::Left));
    return cell;
}

struct CellContent {
    QString text;
    QVariant alignment;
    QBrush background;
};

} // namespace

QColor colourOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

std::uint32_t bgrOf(const QColor &colour) {
    return static_cast<std::uint32_t>(colour.red())
           | (static_cast<std::uint32_t>(colour.green()) << 8)
           | (static_cast<std::uint32_t>(colour.blue()) << 16);
}

Grid::Grid(QWidget *parent)
    : QTableWidget(parent) {
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    // Tab moves on to the window's next control; the arrow keys move within the grid.
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setVisible(false);
    }
    mCorner.setTextAlignment(qtAlignment(CellAlignment::Left));
    mCornerButton = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (mCornerButton)
        mCornerButton->installEventFilter(this);
}

void Grid::fail(const std::string &problem) const {
    throw Error(err::PositionOutOfRange,
                "The grid \"" + objectName().toStdString() + "\" " + problem + ".");
}

void Grid::checkCell(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        fail("has no cell (" + std::to_string(row) + ", " + std::to_string(col) + "): it has "
             + std::to_string(Rows()) + " rows and " + std::to_string(Cols()) + " columns");
}

void Grid::checkCol(int col) const {
    if (col < 0 || col >= Cols())
        fail("has no column " + std::to_string(col) + ": it has " + std::to_string(Cols())
             + " columns");
}

void Grid::checkFixed(int fixed, int count, const char *what) const {
    if (fixed < 0 || fixed > 1 || fixed > count)
        fail(std::string("cannot have ") + std::to_string(fixed) + " fixed " + what + ": at most "
             + (count < 1 ? "0" : "1") + " of its " + std::to_string(count));
}

int Grid::Rows() const {
    return rowCount() + mFixedRows;
}

int Grid::Cols() const {
    return columnCount() + mFixedCols;
}

void Grid::setRows(int rows) {
    if (rows < 0)
        fail("cannot have " + std::to_string(rows) + " rows");
    if (rows < mFixedRows) {
        mFixedRows = rows;
        horizontalHeader()->setVisible(false);
    }
    setRowCount(rows - mFixedRows);
    fillHeaders();
}

void Grid::setCols(int cols) {
    if (cols < 0)
        fail("cannot have " + std::to_string(cols) + " columns");
    if (cols < mFixedCols) {
        mFixedCols = cols;
        verticalHeader()->setVisible(false);
    }
    setColumnCount(cols - mFixedCols);
    mColTwips.resize(static_cast<std::size_t>(cols), 0);
    fillHeaders();
    applyColumnWidths();
}

void Grid::setFixedRows(int rows) {
    checkFixed(rows, Rows(), "rows");
    if (rows != mFixedRows)
        reshape(rows, mFixedCols);
}

void Grid::setFixedCols(int cols) {
    checkFixed(cols, Cols(), "columns");
    if (cols != mFixedCols)
        reshape(mFixedRows, cols);
}

void Grid::reshape(int fixedRows, int fixedCols) {
    const int rows = Rows();
    const int cols = Cols();
    std::vector<CellContent> cells;
    cells.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            const QTableWidgetItem *cell = cellItem(row, col);
            cells.push_back(cell ? CellContent{cell->text(), cell->data(Qt::TextAlignmentRole),
                                               cell->background()}
                                 : CellContent{});
        }

    clear();
    mFixedRows = fixedRows;
    mFixedCols = fixedCols;
    setRowCount(rows - fixedRows);
    setColumnCount(cols - fixedCols);
    mCorner = QTableWidgetItem();
    mCorner.setTextAlignment(qtAlignment(CellAlignment::Left));
    fillHeaders();
    auto content = cells.begin();
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col, ++content) {
            if (content->text.isEmpty() && !content->alignment.isValid()
                && content->background.style() == Qt::NoBrush)
                continue;
            QTableWidgetItem *cell = cellItem(row, col);
            cell->setText(content->text);
            if (content->alignment.isValid())
                cell->setData(Qt::TextAlignmentRole, content->alignment);
            cell->setBackground(content->background);
        }
    horizontalHeader()->setVisible(fixedRows > 0);
    verticalHeader()->setVisible(fixedCols > 0);
    applyColumnWidths();
    if (mCornerButton)
        mCornerButton->update();
}

// Without an item of its own a header section shows its number.
void Grid::fillHeaders() {
    for (int col = 0; col < columnCount(); ++col)
        if (!horizontalHeaderItem(col))
            setHorizontalHeaderItem(col, newCell());
    for (int row = 0; row < rowCount(); ++row)
        if (!verticalHeaderItem(row))
            setVerticalHeaderItem(row, newCell());
}

QTableWidgetItem *Grid::cellItem(int row, int col) {
    checkCell(row, col);
    if (row < mFixedRows && col < mFixedCols)
        return &mCorner;
    if (row < mFixedRows)
        return horizontalHeaderItem(col - mFixedCols);
    if (col < mFixedCols)
        return verticalHeaderItem(row - mFixedRows);
    QTableWidgetItem *cell = item(row - mFixedRows, col - mFixedCols);
    if (!cell) {
        cell = newCell();
        setItem(row - mFixedRows, col - mFixedCols, cell);
    }
    return cell;
}

// A new cell enters the table with its content, and while the grid is hidden (as it is while
// it is filled) no view watches: both spare the model's change signal per cell and edit, which
// dominate the filling of a large table.
template<class Edit>
void Grid::editCell(int row, int col, Edit &&edit) {
    checkCell(row, col);
    const bool body = row >= mFixedRows && col >= mFixedCols;
    if (body && !item(row - mFixedRows, col - mFixedCols)) {
        auto *cell = newCell();
        edit(*cell);
        setItem(row - mFixedRows, col - mFixedCols, cell);
        return;
    }
    const QSignalBlocker quiet(isVisible() || !body ? nullptr : model());
    edit(*cellItem(row, col));
    if (row < mFixedRows && col < mFixedCols && mCornerButton)
        mCornerButton->update();
}

// Null for a cell never written to.
const QTableWidgetItem *Grid::cellItem(int row, int col) const {
    checkCell(row, col);
    if (row < mFixedRows && col < mFixedCols)
        return &mCorner;
    if (row < mFixedRows)
        return horizontalHeaderItem(col - mFixedCols);
    if (col < mFixedCols)
        return verticalHeaderItem(row - mFixedRows);
    return item(row - mFixedRows, col - mFixedCols);
}

std::string Grid::TextMatrix(int row, int col) const {
    const QTableWidgetItem *cell = cellItem(row, col);
    return cell ? cell->text().toStdString() : std::string();
}

void Grid::setTextMatrix(int row, int col, const std::string &text) {
    editCell(row, col, [&](QTableWidgetItem &cell) { cell.setText(QString::fromStdString(text)); });
}

CellAlignment Grid::cellAlignment(int row, int col) const {
    const QTableWidgetItem *cell = cellItem(row, col);
    return cell ? cellAlignmentOf(*cell) : CellAlignment::Left;
}

void Grid::setCellAlignment(int row, int col, CellAlignment alignment) {
    editCell(row, col,
             [&](QTableWidgetItem &cell) { cell.setTextAlignment(qtAlignment(alignment)); });
}

std::uint32_t Grid::CellBackColor(int row, int col) const {
    const QTableWidgetItem *cell = cellItem(row, col);
    if (cell && cell->background().style() != Qt::NoBrush)
        return bgrOf(cell->background().color());
    if (row < mFixedRows || col < mFixedCols)
        return bgrOf(palette().color(QPalette::Button));
    return BackColor();
}

void Grid::setCellBackColor(int row, int col, std::uint32_t colour) {
    editCell(row, col, [&](QTableWidgetItem &cell) { cell.setBackground(colourOf(colour)); });
}

std::uint32_t Grid::BackColor() const {
    return bgrOf(palette().color(QPalette::Base));
}

void Grid::setBackColor(std::uint32_t colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colourOf(colour));
    setPalette(colours);
}

int Grid::ColWidth(int col) const {
    checkCol(col);
    if (const int twips = mColTwips[static_cast<std::size_t>(col)]; twips > 0)
        return twips;
    const int pixels =
        col < mFixedCols ? verticalHeader()->sizeHint().width() : columnWidth(col - mFixedCols);
    return static_cast<int>(std::lround(pixelsToTwips(*this, pixels)));
}

void Grid::setColWidth(int col, int twips) {
    checkCol(col);
    if (twips <= 0)
        fail("cannot make column " + std::to_string(col) + " " + std::to_string(twips)
             + " twips wide");
    mColTwips[static_cast<std::size_t>(col)] = twips;
    applyColumnWidths();
}

void Grid::applyColumnWidths() {
    QHeaderView *rowHeader = verticalHeader();
    rowHeader->setMinimumWidth(0);
    rowHeader->setMaximumWidth(QWIDGETSIZE_MAX);
    for (int col = 0; col < Cols(); ++col) {
        const int twips = mColTwips[static_cast<std::size_t>(col)];
        if (twips <= 0)
            continue;
        const int pixels = twipsToPixels(*this, twips);
        if (col < mFixedCols)
            rowHeader->setFixedWidth(pixels);
        else
            setColumnWidth(col - mFixedCols, pixels);
    }
}

int Grid::Row() const {
    return currentRow() < 0 ? mFixedRows : currentRow() + mFixedRows;
}

int Grid::Col() const {
    return currentColumn() < 0 ? mFixedCols : currentColumn() + mFixedCols;
}

void Grid::setRow(int row) {
    moveCurrent(row, Col());
}

void Grid::setCol(int col) {
    moveCurrent(Row(), col);
}

void Grid::moveCurrent(int row, int col) {
    checkCell(row, col);
    if (row < mFixedRows || col < mFixedCols)
        fail("cannot make its header cell (" + std::to_string(row) + ", " + std::to_string(col)
             + ") the current cell");
    setCurrentCell(row - mFixedRows, col - mFixedCols);
}

void Grid::Clear() {
    clearContents();
    for (int col = 0; col < columnCount(); ++col)
        setHorizontalHeaderItem(col, newCell());
    for (int row = 0; row < rowCount(); ++row)
        setVerticalHeaderItem(row, newCell());
    mCorner = QTableWidgetItem();
    mCorner.setTextAlignment(qtAlignment(CellAlignment::Left));
    if (mCornerButton)
        mCornerButton->update();
}

void Grid::selectWholeRow(int row) {
    checkCell(row, 0);
    if (row < mFixedRows || columnCount() == 0)
        return;
    const int bodyRow = row - mFixedRows;
    const int bodyCol = std::max(currentColumn(), 0);
    setCurrentCell(bodyRow, bodyCol, QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(model()->index(bodyRow, 0), model()->index(bodyRow, columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    scrollTo(model()->index(bodyRow, bodyCol));
}

bool Grid::wholeRowSelected() const {
    const int bodyRow = currentRow();
    return bodyRow >= 0 && selectionModel()->isRowSelected(bodyRow, QModelIndex());
}

void Grid::swapRowsAndColumns(int first, int second) {
    checkCell(first, first);
    checkCell(second, second);
    if (first < std::max(mFixedRows, mFixedCols) || second < std::max(mFixedRows, mFixedCols)
        || first == second)
        return;
    const auto swapItems = [this](int row1, int col1, int row2, int col2) {
        QTableWidgetItem *one = takeItem(row1, col1);
        QTableWidgetItem *other = takeItem(row2, col2);
        if (other)
            setItem(row1, col1, other);
        if (one)
            setItem(row2, col2, one);
    };
    const int row1 = first - mFixedRows, row2 = second - mFixedRows;
    const int col1 = first - mFixedCols, col2 = second - mFixedCols;
    for (int col = 0; col < columnCount(); ++col)
        swapItems(row1, col, row2, col);
    for (int row = 0; row < rowCount(); ++row)
        swapItems(row, col1, row, col2);
    QTableWidgetItem *rowHeader = takeVerticalHeaderItem(row1);
    setVerticalHeaderItem(row1, takeVerticalHeaderItem(row2));
    setVerticalHeaderItem(row2, rowHeader);
    QTableWidgetItem *colHeader = takeHorizontalHeaderItem(col1);
    setHorizontalHeaderItem(col1, takeHorizontalHeaderItem(col2));
    setHorizontalHeaderItem(col2, colHeader);
    std::swap(mColTwips[static_cast<std::size_t>(first)],
              mColTwips[static_cast<std::size_t>(second)]);
    const int defaultWidth = horizontalHeader()->defaultSectionSize();
    setColumnWidth(col1, defaultWidth);
    setColumnWidth(col2, defaultWidth);
    applyColumnWidths();
}

void Grid::resetColWidth(int col) {
    checkCol(col);
    mColTwips[static_cast<std::size_t>(col)] = 0;
    if (col >= mFixedCols)
        setColumnWidth(col - mFixedCols, horizontalHeader()->defaultSectionSize());
    applyColumnWidths();
}

QSize Grid::sizeHint() const {
    int width = 2 * frameWidth();
    int height = 2 * frameWidth();
    if (verticalHeader()->isVisibleTo(this))
        width += std::clamp(verticalHeader()->sizeHint().width(), verticalHeader()->minimumWidth(),
                            verticalHeader()->maximumWidth());
    if (horizontalHeader()->isVisibleTo(this))
        height += horizontalHeader()->sizeHint().height();
    for (int col = 0; col < columnCount(); ++col)
        width += columnWidth(col);
    for (int row = 0; row < rowCount(); ++row)
        height += rowHeight(row);
    return {width, height};
}

// The corner is the header cell where the fixed row and column meet.
bool Grid::eventFilter(QObject *watched, QEvent *event) {
    if (watched != mCornerButton || event->type() != QEvent::Paint)
        return QTableWidget::eventFilter(watched, event);
    paintCorner();
    return true;
}

void Grid::paintCorner() {
    QStylePainter painter(mCornerButton);
    QStyleOptionHeader option;
    option.initFrom(mCornerButton);
    option.rect = mCornerButton->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = mCorner.text();
    option.textAlignment = Qt::Alignment(mCorner.data(Qt::TextAlignmentRole).toInt());
    if (mCorner.background().style() != Qt::NoBrush) {
        option.palette.setBrush(QPalette::Button, mCorner.background());
        option.palette.setBrush(QPalette::Window, mCorner.background());
    }
    painter.drawControl(QStyle::CE_Header, option);
}

} // namespace kvt::windows
