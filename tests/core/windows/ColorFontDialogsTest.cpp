#include "Accessibility.h"
#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "model/DG.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <tuple>

namespace kvt {
namespace {

const auto *const kApplication = testing::AddGlobalTestEnvironment(new test::WindowApplication);

// Acts on the next modal dialog of type Dialog as soon as it shows, as a user would, and closes
// it if the act did not.
constexpr int kLooks = 500; // every 10 ms: five seconds

template<class Dialog>
void whenShown(std::function<void(Dialog &)> act, int looksLeft = kLooks) {
    QTimer::singleShot(looksLeft == kLooks ? 0 : 10, [act = std::move(act), looksLeft] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            // Keys go where the user's focus is: in the active window.
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog))
                ADD_FAILURE() << "the dialog never became active";
            act(*dialog);
            // Every script ends the dialog: one still open missed a key or a click.
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        } else if (looksLeft > 0)
            whenShown<Dialog>(act, looksLeft - 1);
    });
}

std::string joined(const QStringList &texts) {
    return texts.join(", ").toStdString();
}

// A control as a screen reader names it, or its object name when it is one of ours.
QString nameOf(QWidget &control) {
    if (control.objectName().startsWith("cmd"))
        return control.objectName();
    return QAccessible::queryAccessibleInterface(&control)->text(QAccessible::Name).remove('&');
}

// The colour dialog's HTML field ("#rrggbb"), found by its label.
QLineEdit &htmlField(QColorDialog &dialog) {
    for (auto *label : dialog.findChildren<QLabel *>())
        if (label->text().contains("HTML"))
            return *qobject_cast<QLineEdit *>(label->buddy());
    throw std::runtime_error("the colour dialog has no HTML field");
}

// Types a colour into the open colour dialog and confirms it with Enter, or cancels with
// Escape when colour is empty. Records the colour the dialog opened with.
void answerColorDialog(const QString &colour, QString *openedWith = nullptr) {
    whenShown<QColorDialog>([colour, openedWith](QColorDialog &dialog) {
        QLineEdit &field = htmlField(dialog);
        if (openedWith)
            *openedWith = field.text();
        if (colour.isEmpty()) {
            QTest::keyClick(&field, Qt::Key_Escape);
            return;
        }
        QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&field, colour);
        QTest::keyClick(&field, Qt::Key_Return);
    });
}

class Dialogs : public test::FacadeFixture {
protected:
    void SetUp() override {
        FacadeFixture::SetUp();
        facade = startedFacade();
        sharedDG()->setLangue(EN);
    }
    void TearDown() override {
        facade.reset();
        FacadeFixture::TearDown();
    }
    std::unique_ptr<KVTMain> facade;
};

struct ColourCase {
    const char *name;
    std::int32_t given;
    QString typed; // empty: cancelled with Escape
    QString shownFirst;
    std::int32_t expected;
};

const ColourCase kColours[] = {
    {"redIsTheLowestByte", 0x0000FF, "", "#ff0000", 0x0000FF},
    {"confirmedBlue", 0x0000FF, "#0000ff", "#ff0000", 0xFF0000},
    {"confirmedMixed", 0x000000, "#123456", "#000000", 0x563412},
    {"confirmedUnchanged", 0x563412, "#123456", "#123456", 0x563412},
    {"cancelledGivesTheColourBack", 0x336699, "", "#996633", 0x336699},
    // The top byte is no colour; a cancel still gives the value back exactly.
    {"cancelledKeepsTheTopByte", static_cast<std::int32_t>(0x80000005u), "", "#050000",
     static_cast<std::int32_t>(0x80000005u)},
};

TEST_F(Dialogs, colourDialogGivesTheChosenColourOrTheGivenOne) {
    for (const ColourCase &row : kColours) {
        SCOPED_TRACE(row.name);
        QString shown;
        answerColorDialog(row.typed, &shown);
        EXPECT_EQ(facade->ColorByDialog(row.given), row.expected);
        EXPECT_EQ(shown, row.shownFirst);
    }
}

// The font dialog's parts, found as a user finds them: the lists by what they list, the
// effects by their captions, the added buttons by name.
struct FontDialogParts {
    QDialog &dialog;
    QAbstractItemView *listHolding(const QString &entry) const {
        for (auto *list : dialog.findChildren<QAbstractItemView *>())
            if (!list->model()
                     ->match(list->model()->index(0, 0), Qt::DisplayRole, entry, 1,
                             Qt::MatchExactly)
                     .isEmpty())
                return list;
        throw std::runtime_error("no list holds " + entry.toStdString());
    }
    QCheckBox *effect(const QString &caption) const {
        for (auto *box : dialog.findChildren<QCheckBox *>())
            if (box->text().remove('&') == caption)
                return box;
        throw std::runtime_error("no effect " + caption.toStdString());
    }
    QPushButton *button(const char *name) const { return dialog.findChild<QPushButton *>(name); }
    void pick(const QString &entry) const {
        QAbstractItemView *list = listHolding(entry);
        const QModelIndex index =
            list->model()
                ->match(list->model()->index(0, 0), Qt::DisplayRole, entry, 1, Qt::MatchExactly)
                .value(0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
};

// A FontChoice as literals.
struct Font {
    const char *name;
    float size;
    bool bold, italic, strike, underline;
    std::int32_t color;
};

struct FontCase {
    const char *name;
    bool cancelGiven;
    Font given;
    std::function<void(const FontDialogParts &)> act;
    bool cancelExpected;
    Font expected;
};

// FontByDialog as a host calls it; gives Cancel as it came back.
bool fontByDialog(KVTMain &facade, bool cancel, FontChoice &c) {
    facade.FontByDialog(cancel, c.name, c.size, c.bold, c.italic, c.strike, c.underline, c.color);
    return cancel;
}

// The choice's values in one printable value.
auto values(const FontChoice &c) {
    return std::tuple(c.name, c.size, c.bold, c.italic, c.strike, c.underline, c.color);
}
auto values(const Font &c) {
    return std::tuple(std::string(c.name), c.size, c.bold, c.italic, c.strike, c.underline,
                      c.color);
}

const FontCase kFonts[] = {
    {"confirmedWithChanges",
     false,
     {"DejaVu Sans", 10, false, false, false, false, 0x0000FF},
     [](const FontDialogParts &parts) {
         parts.pick("DejaVu Serif");
         parts.pick("Bold");
         parts.pick("14");
         QTest::keyClick(parts.effect("Strikeout"), Qt::Key_Space);
         QTest::keyClick(parts.effect("Underline"), Qt::Key_Space);
         answerColorDialog("#0000ff");
         QTest::mouseClick(parts.button("cmdColor"), Qt::LeftButton);
         QTest::mouseClick(parts.button("cmdOK"), Qt::LeftButton);
     },
     false,
     {"DejaVu Serif", 14, true, false, true, true, 0xFF0000}},
    // Cancel passed true stays true on a confirm; a cancelled colour changes nothing, and a
    // fractional size left alone comes back as given.
    {"confirmedUnchangedKeepsCancelAsPassed",
     true,
     {"DejaVu Sans Mono", 10.5f, true, false, true, false, 0x123456},
     [](const FontDialogParts &parts) {
         answerColorDialog({});
         QTest::mouseClick(parts.button("cmdColor"), Qt::LeftButton);
         QTest::keyClick(parts.listHolding("DejaVu Sans Mono"), Qt::Key_Return);
     },
     true,
     {"DejaVu Sans Mono", 10.5f, true, false, true, false, 0x123456}},
    {"cancelledWritesNothing",
     false,
     {"DejaVu Serif", 12, false, false, false, true, 0x00FF00},
     [](const FontDialogParts &parts) {
         parts.pick("DejaVu Sans");
         QTest::keyClick(parts.effect("Underline"), Qt::Key_Space);
         QTest::keyClick(parts.listHolding("DejaVu Sans"), Qt::Key_Escape);
     },
     true,
     {"DejaVu Serif", 12, false, false, false, true, 0x00FF00}},
    {"cancelButton",
     false,
     {"DejaVu Serif", 12, true, false, false, false, 0},
     [](const FontDialogParts &parts) {
         parts.pick("DejaVu Sans");
         QTest::mouseClick(parts.button("cmdCancel"), Qt::LeftButton);
     },
     true,
     {"DejaVu Serif", 12, true, false, false, false, 0}},
};

TEST_F(Dialogs, fontDialogWritesBackTheConfirmedChoiceOnly) {
    for (const FontCase &row : kFonts) {
        SCOPED_TRACE(row.name);
        whenShown<QDialog>([&row](QDialog &dialog) { row.act(FontDialogParts{dialog}); });
        const Font &g = row.given;
        FontChoice choice{g.name, g.size, g.bold, g.italic, g.strike, g.underline, g.color};
        EXPECT_EQ(fontByDialog(*facade, row.cancelGiven, choice), row.cancelExpected);
        EXPECT_EQ(values(choice), values(row.expected));
    }
}

struct FontDialogLanguage {
    const char *name;
    Langue language;
    QString title;
    QString colour;
    QString ok;
    QString cancel;
};

const FontDialogLanguage kLanguages[] = {
    {"English", EN, "Font", "Colour...", "OK", "Cancel"},
    {"German", DE, "Schriftart", "Farbe...", "OK", "Abbrechen"},
    {"French", FR, "Police", "Couleur...", "OK", "Annuler"},
};

TEST_F(Dialogs, fontDialogTextsComeFromTheCatalogueAndEveryControlIsNamed) {
    for (const FontDialogLanguage &row : kLanguages) {
        SCOPED_TRACE(row.name);
        sharedDG()->setLangue(row.language);
        QStringList texts;
        QStringList unnamed;
        whenShown<QDialog>([&](QDialog &dialog) {
            FontDialogParts parts{dialog};
            texts << dialog.windowTitle() << parts.button("cmdColor")->text()
                  << parts.button("cmdOK")->text() << parts.button("cmdCancel")->text();
            unnamed = test::unnamedControls(dialog);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        FontChoice choice{"DejaVu Sans", 10};
        fontByDialog(*facade, false, choice);
        EXPECT_EQ(joined(texts), joined({row.title, row.colour, row.ok, row.cancel}));
        EXPECT_EQ(joined(unnamed), "");
    }
}

TEST_F(Dialogs, tabGoesThroughTheFontChoiceThenTheAddedButtons) {
    QStringList order;
    whenShown<QDialog>([&](QDialog &dialog) {
        FontDialogParts parts{dialog};
        parts.button("cmdCancel")->setFocus();
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << nameOf(*QApplication::focusWidget());
        }
        parts.button("cmdOK")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        order << nameOf(*QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    FontChoice choice{"DejaVu Sans", 10};
    fontByDialog(*facade, false, choice);
    EXPECT_EQ(joined(order), "Font, Font style, Size, Strikeout, cmdColor");
}

} // namespace
} // namespace kvt
