#pragma once

#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "model/DG.h"
#include "support/WindowDriving.h"
#include "windows/Grid.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <string>

// What the tests of the control panel share: the facade that shows it and the user's gestures.
namespace kvt::test {

using windows::Grid;

[[maybe_unused]] inline testing::Environment *const kPanelWindows =
    testing::AddGlobalTestEnvironment(new WindowApplication);

// Shows the panel through the facade and acts on it once it is there; true when it showed.
inline bool whileShown(KVTMain &main, std::function<void(QWidget &)> act, bool *result = nullptr) {
    const WhenModal driver(std::move(act));
    const bool saved = main.ShowCP();
    if (result)
        *result = saved;
    return driver.acted();
}

// A click near the left edge, on the text of a check box or option that its row widens.
inline void click(QWidget &window, const char *name) {
    QWidget &button = child<QAbstractButton>(window, name);
    QTest::mouseClick(&button, Qt::LeftButton, {},
                      QPoint(std::min(button.width() / 2, 8), button.height() / 2));
}

inline void press(QWidget &window, const char *name, Qt::Key key) {
    QWidget &control = child(window, name);
    control.setFocus();
    QTest::keyClick(&control, key);
}

inline void typeInto(QLineEdit &field, const char *text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClicks(&field, text);
}

// Selects a tab as the user does, with a click on its tab.
inline void showTab(QWidget &panel, int tab) {
    QTabBar &bar = *child<QTabWidget>(panel, "TabCP").tabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(tab).center());
}

inline QToolButton &position(QWidget &panel, int index) {
    return *panel.findChildren<QToolButton *>(QStringLiteral("TglInsAuto")).at(index);
}

inline bool applyEnabled(QWidget &panel) {
    return child<QPushButton>(panel, "CmdApply").isEnabled();
}

inline std::string onOff(bool value) {
    return value ? "1" : "0";
}

inline Grid &gridOf(QWidget &panel, const char *name) {
    return child<Grid>(panel, name);
}

class Panel : public FacadeFixture {
protected:
    // A facade converting BEF to FRF with legal rounding, in English.
    std::unique_ptr<KVTMain> started() {
        auto main = startedFacade();
        DG &dg = *sharedDG();
        dg.setLangue(EN);
        dg.setDeviseFrom("BEF");
        dg.setDeviseTo("FRF");
        dg.setMethodeArondi(Legal);
        main->CPTranslate();
        return main;
    }
};

// Clicks a cell of the grid (row and column counted with the headers), scrolled into view.
inline void clickCell(Grid &grid, int row, int col) {
    QTableWidgetItem *cell = grid.item(row - 1, col - 1);
    grid.scrollToItem(cell);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualItemRect(cell).center());
}

} // namespace kvt::test
