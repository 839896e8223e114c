#include "windows/FrmEmplacement.h"

#include "Accessibility.h"
#include "SmallDialogTesting.h"

#include <QPushButton>

namespace kvt {
namespace {

using test::child;
using test::onModal;
using SmallDialogsPicker = test::SmallDialogs;
using Act = std::function<void(QWidget &)>;

QPushButton &button(QWidget &picker, int position) {
    return child<QPushButton>(picker, ("TglInsAuto" + std::to_string(position)).c_str());
}

Act click(int position) {
    return [position](QWidget &p) {
        QTest::mouseClick(&button(p, position), Qt::LeftButton);
    };
}

// Keys pressed from the middle button.
Act keys(std::vector<Qt::Key> pressed) {
    return [pressed](QWidget &p) {
        button(p, 0).setFocus();
        for (Qt::Key key : pressed)
            QTest::keyClick(QApplication::focusWidget(), key);
    };
}

// The arrows move across the cross as the buttons lie, Tab in reading order; Enter and Space
// choose. Closing keeps the choice before.
TEST_F(SmallDialogsPicker, eachButtonChoosesItsPositionAndClosingKeepsThePreviousOne) {
    struct Row {
        const char *what;
        Act act;
        InsAutoTypePos expected;
    };
    const Row rows[] = {
        {"closed before any choice", keys({Qt::Key_Escape}), InsautoMilieu},
        {"above", click(1), InsAutoHaut},
        {"close box", [](QWidget &p) { p.close(); }, InsAutoHaut},
        {"below", click(2), InsAutoBas},
        {"left", click(3), InsAutoGauche},
        {"Escape", keys({Qt::Key_Escape}), InsAutoGauche},
        {"right", click(4), InsautoDroite},
        {"in place", click(0), InsautoMilieu},
        {"up, right, Enter", keys({Qt::Key_Up, Qt::Key_Right, Qt::Key_Return}), InsautoDroite},
        {"left, up, Space", keys({Qt::Key_Left, Qt::Key_Up, Qt::Key_Space}), InsAutoHaut},
        {"down twice, left", keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_Enter}),
         InsAutoGauche},
        {"Tab twice", keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return}), InsAutoBas},
    };
    for (const Row &row : rows) {
        onModal(row.act);
        EXPECT_EQ(main->getPosIns(), row.expected) << row.what;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << row.what;
    }
}

TEST_F(SmallDialogsPicker, tellsEachPositionInTheUsersLanguageAndTabsInReadingOrder) {
    struct Row {
        Langue language;
        const char *title;
        const char *inPlace;
        const char *below;
    };
    const Row rows[] = {
        {EN, "Result position", "In the cell itself (replaces the amount)", "In the cell below"},
        {FR, "Position du résultat", "Dans la cellule même (remplace le montant)",
         "Dans la cellule en dessous"}};
    for (const Row &row : rows) {
        sharedDG()->setLangue(row.language);
        onModal([&](QWidget &picker) {
            EXPECT_EQ(picker.windowTitle(), row.title);
            EXPECT_EQ(button(picker, 0).toolTip(), row.inPlace);
            EXPECT_EQ(button(picker, 2).accessibleName(), row.below);
            EXPECT_EQ(test::unnamedControls(picker), QStringList());
            button(picker, 0).setFocus();
            EXPECT_EQ(test::tabSequence(5),
                      QStringList({"TglInsAuto4", "TglInsAuto2", "TglInsAuto1", "TglInsAuto3",
                                   "TglInsAuto0"}));
            picker.close();
        });
        main->getPosIns();
    }
}

} // namespace
} // namespace kvt
