#include "windows/Grid.h"

#include "WindowTesting.h"
#include "support/ErrorMatchers.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace kvt {
namespace {

const testing::Environment *const kApplication =
    testing::AddGlobalTestEnvironment(new test::WindowApplication);

using windows::Grid;

std::string cellName(int row, int col) {
    return std::to_string(row) + "," + std::to_string(col);
}

// A grid of the rate table's shape: a fixed row and column around the cells, each cell holding
// its own address.
void fillRateShape(Grid &grid, int rows, int cols) {
    grid.setRows(rows);
    grid.setCols(cols);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            grid.setTextMatrix(row, col, cellName(row, col));
    grid.setFixedRows(1);
    grid.setFixedCols(1);
}

TEST(Grid, fixedRowAndColumnBecomeHeadersAndKeepTheirCells) {
    Grid grid;
    grid.setObjectName("FlexTaux");
    fillRateShape(grid, 4, 3);
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "0,2");
    EXPECT_EQ(grid.verticalHeaderItem(2)->text(), "3,0");
    EXPECT_EQ(grid.item(0, 0)->text(), "1,1");
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(grid.TextMatrix(row, col), cellName(row, col));
    grid.setFixedCols(0); // the column comes back as cells
    EXPECT_EQ(grid.item(2, 0)->text(), "3,0");
    grid.setRows(1);
    EXPECT_EQ(std::pair(grid.Rows(), grid.rowCount()), std::pair(1, 0));

    using test::ThrowsError;
    EXPECT_THAT([&] { grid.TextMatrix(1, 0); },
                ThrowsError(err::PositionOutOfRange, {"FlexTaux", "(1, 0)"}));
    EXPECT_THAT([&] { grid.setFixedRows(2); },
                ThrowsError(err::PositionOutOfRange, {"2 fixed rows"}));
    EXPECT_THAT([&] { grid.setRow(0); }, ThrowsError(err::PositionOutOfRange, {"header"}));
}

TEST(Grid, columnWidthsInTwipsAreScreenPixels) {
    struct Row {
        int col;
        int twips;
        int pixels; // at the offscreen screen's 96 dots per inch
    };
    const Row rows[] = {{0, 1050, 70}, {1, 1500, 100}, {2, 2400, 160}, {3, 4000, 267}};
    Grid grid;
    fillRateShape(grid, 3, 4);
    for (const Row &row : rows)
        grid.setColWidth(row.col, row.twips);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    for (const Row &row : rows) {
        EXPECT_EQ(grid.ColWidth(row.col), row.twips);
        EXPECT_EQ(row.col == 0 ? grid.verticalHeader()->width() : grid.columnWidth(row.col - 1),
                  row.pixels);
    }
}

// Colours hold red in the lowest byte; the test looks at what the grid paints.
TEST(Grid, cellColoursAndAlignmentArePaintedUntilCleared) {
    struct Row {
        int row;
        int col;
        std::uint32_t colour;
        QColor painted;
    };
    const Row rows[] = {{1, 1, 0x0000FF, QColor(255, 0, 0)},
                        {2, 2, 0xFF0000, QColor(0, 0, 255)},
                        {2, 1, 0xC0C0C0, QColor(192, 192, 192)}}; // the grid's own colour
    Grid grid;
    fillRateShape(grid, 4, 3);
    grid.setBackColor(0xC0C0C0);
    grid.setCellBackColor(1, 1, 0x0000FF);
    grid.setCellBackColor(2, 2, 0xFF0000);
    grid.setCellAlignment(2, 1, CellAlignment::Right);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.setRow(3); // the current cell is highlighted: away from the cells looked at
    const QImage image = grid.viewport()->grab().toImage();
    for (const Row &row : rows) {
        EXPECT_EQ(grid.CellBackColor(row.row, row.col), row.colour);
        const QRect cell = grid.visualItemRect(grid.item(row.row - 1, row.col - 1));
        EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(2, 2)), row.painted);
    }
    EXPECT_EQ(grid.item(1, 0)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    grid.Clear();
    EXPECT_EQ(std::tuple(grid.CellBackColor(1, 1), grid.cellAlignment(2, 1), grid.Rows()),
              std::tuple(0xC0C0C0u, CellAlignment::Left, 4));
}

TEST(Grid, keysMoveTheCurrentCellWhichNeverEntersTheHeadersAndTabLeaves) {
    struct Step {
        Qt::Key key;
        int row;
        int col;
    };
    const Step steps[] = {{Qt::Key_Down, 2, 1}, {Qt::Key_Right, 2, 2}, {Qt::Key_Right, 2, 2},
                          {Qt::Key_Up, 1, 2},   {Qt::Key_Up, 1, 2},    {Qt::Key_Left, 1, 1},
                          {Qt::Key_Left, 1, 1}, {Qt::Key_Down, 2, 1}};
    QWidget window;
    auto *grid = new Grid(&window);
    auto *after = new QPushButton("after", &window);
    (new QVBoxLayout(&window))->addWidget(grid);
    window.layout()->addWidget(after);
    fillRateShape(*grid, 4, 3);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    grid->setRow(1);
    grid->setCol(1);
    grid->setFocus();
    for (const Step &step : steps) {
        QTest::keyClick(grid, step.key);
        EXPECT_EQ(std::pair(grid->Row(), grid->Col()), std::pair(step.row, step.col)) << step.key;
        EXPECT_EQ(grid->selectedItems(), QList{grid->currentItem()});
    }
    QHeaderView *header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(std::pair(grid->Row(), grid->Col()), std::pair(2, 1));
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
}

} // namespace
} // namespace kvt
