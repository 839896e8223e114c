#include "windows/TwoColumnList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kvt::windows {
namespace {

using Form = TwoColumnList::Form;
using Selection = TwoColumnList::Selection;

// A shown window holding one list of four currencies, none current.
struct Shown {
    explicit Shown(TwoColumnList::Options options) {
        list = new TwoColumnList(QStringLiteral("lstTest"), &window, options);
        (new QVBoxLayout(&window))->addWidget(list->widget());
        for (const auto &[code, name] : {std::pair{"EUR", "Euro"},
                                         {"USD", "US dollar"},
                                         {"GBP", "Pound sterling"},
                                         {"CHF", "Swiss franc"}})
            list->AddItem(code, name);
        window.show();
    }
    QWidget window;
    TwoColumnList *list;
};

// Filled, no entry is current. Steps: c<n> makes entry n current, s<n> selects it, d<n>
// deselects it; then the entries selected, as 1 for each.
TEST(TwoColumnList, holdsItsEntriesAndSelectsAsItsFormAllows) {
    const struct {
        TwoColumnList::Options options;
        const char *steps;
        int current;
        const char *selected;
    } rows[] = {
        {{Form::Combo}, "c2", 2, "0010"},
        {{Form::Combo}, "s1d1", -1, "0000"},
        {{Form::Combo}, "c1c4", -1, "0000"},
        {{Form::List, Selection::Single}, "s0s2", 2, "0010"},
        {{Form::List, Selection::Multiple}, "s0s3c1", 1, "1001"},
        {{Form::List, Selection::Extended}, "s0s1d0", -1, "0100"},
    };
    for (const auto &row : rows) {
        Shown shown(row.options);
        TwoColumnList &list = *shown.list;
        EXPECT_EQ(TwoColumnList::of(list.widget()), &list);
        EXPECT_EQ(list.ListIndex(), -1);
        const std::vector<std::string> cells = {list.List(0), list.List(1, 1), list.List(3),
                                                list.List(4), list.List(-1),   list.List(0, 2)};
        EXPECT_EQ(cells, (std::vector<std::string>{"EUR", "US dollar", "CHF", "", "", ""}));
        EXPECT_EQ(listLookup(list, "GBP"), 2);
        for (const char *step = row.steps; *step; step += 2) {
            const int index = step[1] - '0';
            if (step[0] == 'c')
                list.setListIndex(index);
            else
                list.setSelected(index, step[0] == 's');
        }
        EXPECT_EQ(list.ListIndex(), row.current) << row.steps;
        std::string selected;
        for (int index = 0; index < list.ListCount(); ++index)
            selected += list.Selected(index) ? '1' : '0';
        EXPECT_EQ(selected, row.selected) << row.steps;
        list.Clear();
        EXPECT_EQ(list.ListCount(), 0);
        EXPECT_EQ(list.ListIndex(), -1);
    }
}

// Offscreen windows have 96 dots to the inch: 50 points are 67 pixels, 200 points 267.
TEST(TwoColumnList, opensItsComboListAsWideAsAsked) {
    const struct {
        double listWidth;
        int atLeast, atMost;
    } rows[] = {{200, 267, 400}, {0, 0, 120}};
    for (const auto &row : rows) {
        Shown shown({Form::Combo});
        shown.list->setColumnWidths({50});
        shown.list->setListWidth(row.listWidth);
        QComboBox &combo = *shown.list->comboBox();
        combo.setFixedWidth(120);
        combo.showPopup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return combo.view()->isVisible(); }));
        EXPECT_EQ(static_cast<QTreeView *>(combo.view())->columnWidth(0), 67);
        EXPECT_GE(combo.view()->width(), row.atLeast) << row.listWidth;
        EXPECT_LE(combo.view()->width(), row.atMost) << row.listWidth;
        combo.hidePopup();
    }
}

// A combo switches its style while it lives: typed text is kept only while it may be typed, and
// a choice shows only its entries. Steps: the style, then what setText is given.
TEST(TwoColumnList, switchesBetweenTypingAndChoosing) {
    const struct {
        std::vector<ListStyle> styles;
        const char *given;
        const char *shown;
        bool typing; // keys reach a line edit
    } rows[] = {
        {{ListStyle::DropDownCombo}, "X.X9", "X.X9", true},
        {{ListStyle::DropDownCombo, ListStyle::DropDownList}, "X.X9", "", false},
        {{ListStyle::DropDownCombo, ListStyle::DropDownList}, "GBP", "GBP", false},
        {{ListStyle::DropDownList, ListStyle::DropDownCombo}, "abc", "abc", true},
    };
    for (const auto &row : rows) {
        Shown shown({Form::Combo});
        TwoColumnList &list = *shown.list;
        for (const ListStyle style : row.styles)
            list.setStyle(style);
        list.setText(std::string(row.given));
        EXPECT_EQ(list.Style(), row.styles.back()) << row.given;
        EXPECT_EQ(list.Text(), row.shown) << row.given;
        EXPECT_EQ(list.comboBox()->lineEdit() != nullptr, row.typing) << row.given;
        list.setEnabled(false);
        EXPECT_FALSE(list.Enabled());
        EXPECT_FALSE(list.comboBox()->isEnabled());
    }
}

TEST(TwoColumnList, movesWithTheKeyboardAndTellsTheChange) {
    const struct {
        Form form;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        int expected;
    } rows[] = {
        {Form::Combo, {{Qt::Key_Down, {}}}, 2},
        {Form::Combo, {{Qt::Key_G, {}}}, 2},
        {Form::Combo, {{Qt::Key_F4, {}}, {Qt::Key_Up, {}}, {Qt::Key_Return, {}}}, 0},
        {Form::Combo,
         {{Qt::Key_Down, Qt::AltModifier}, {Qt::Key_End, {}}, {Qt::Key_Return, {}}},
         3},
        {Form::List, {{Qt::Key_Down, {}}}, 2},
        {Form::List, {{Qt::Key_C, {}}}, 3},
    };
    for (const auto &row : rows) {
        Shown shown({row.form});
        TwoColumnList &list = *shown.list;
        shown.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
        list.widget()->setFocus();
        list.setListIndex(1);
        const QSignalSpy changes(&list, &TwoColumnList::changed);
        QComboBox *combo = list.comboBox();
        for (const auto &[key, modifiers] : row.keys) {
            // Once the combo's list is open, the keys go to it.
            const bool open = combo && combo->view()->isVisible();
            QTest::keyClick(open ? combo->view() : list.widget(), key, modifiers);
            if (key == Qt::Key_F4 || modifiers == Qt::AltModifier) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return combo->view()->isVisible(); }));
            }
        }
        EXPECT_EQ(list.ListIndex(), row.expected) << row.keys.front().first;
        EXPECT_EQ(list.text().toStdString(), list.List(row.expected));
        EXPECT_GE(changes.count(), 1);
        EXPECT_FALSE(combo && combo->view()->isVisible());
    }
}

} // namespace
} // namespace kvt::windows
