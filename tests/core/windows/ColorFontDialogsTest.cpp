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
#include <sstream>
#include <stdexcept>

namespace kvt {
namespace {

const auto *const kApplication = testing::AddGlobalTestEnvironment(new test::WindowApplication);

constexpr int kLooks = 500; // every 10 ms: five seconds

// Acts on the next modal dialog of type Dialog as soon as it shows, as a user would, and closes
// it if the act did not.
template<class Dialog>
void whenShown(std::function<void(Dialog &)> act, int looksLeft = kLooks) {
    QTimer::singleShot(looksLeft == kLooks ? 0 : 10, [act = std::move(act), looksLeft] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (looksLeft > 0)
                whenShown<Dialog>(act, looksLeft - 1);
            return;
        }
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
    });
}

// Types a colour into the colour dialog's HTML field ("#rrggbb") and confirms with Enter, or
// cancels with Escape when colour is empty. Records the colour the dialog opened with.
void answerColorDialog(const QString &colour, QString *openedWith = nullptr) {
    whenShown<QColorDialog>([colour, openedWith](QColorDialog &dialog) {
        QLineEdit *field = nullptr;
        for (auto *label : dialog.findChildren<QLabel *>())
            if (label->text().contains("HTML"))
                field = qobject_cast<QLineEdit *>(label->buddy());
        ASSERT_NE(field, nullptr);
        if (openedWith)
            *openedWith = field->text();
        if (colour.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Escape);
            return;
        }
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, colour);
        QTest::keyClick(field, Qt::Key_Return);
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
    // The top byte is no colour; a cancel still gives the value back exactly.
    {"cancelledKeepsTheTopByte", static_cast<std::int32_t>(0x80336699u), "", "#996633",
     static_cast<std::int32_t>(0x80336699u)},
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
    std::pair<QAbstractItemView *, QModelIndex> entry(const QString &text) const {
        for (auto *list : dialog.findChildren<QAbstractItemView *>()) {
            const auto found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                    text, 1, Qt::MatchExactly);
            if (!found.isEmpty())
                return {list, found.front()};
        }
        throw std::runtime_error("no list holds " + text.toStdString());
    }
    void pick(const QString &text) const {
        const auto [list, index] = entry(text);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    void toggle(const QString &effect) const {
        for (auto *box : dialog.findChildren<QCheckBox *>())
            if (box->text().remove('&') == effect)
                QTest::keyClick(box, Qt::Key_Space);
    }
    QPushButton *button(const char *name) const { return dialog.findChild<QPushButton *>(name); }
};

// FontByDialog as a host calls it, with Cancel as given; the outcome as "cancel=... name size
// effects color".
std::string fontByDialog(KVTMain &facade, bool cancel, FontChoice c) {
    facade.FontByDialog(cancel, c.name, c.size, c.bold, c.italic, c.strike, c.underline, c.color);
    std::ostringstream out;
    out << "cancel=" << cancel << ' ' << c.name << ' ' << c.size << (c.bold ? " bold" : "")
        << (c.italic ? " italic" : "") << (c.strike ? " strike" : "")
        << (c.underline ? " underline" : "") << " 0x" << std::hex << c.color;
    return out.str();
}

// A FontChoice as literals.
struct Font {
    const char *name;
    float size;
    bool bold, italic, strike, underline;
    std::int32_t color;
};

struct FontCase {
    const char *name;
    bool cancel;
    Font given;
    std::function<void(const FontDialogParts &)> act;
    const char *outcome;
};

const FontCase kFonts[] = {
    {"confirmedWithChanges",
     false,
     {"DejaVu Sans", 10, false, false, false, false, 0x0000FF},
     [](const FontDialogParts &parts) {
         parts.pick("DejaVu Serif");
         parts.pick("Bold");
         parts.pick("14");
         parts.toggle("Strikeout");
         parts.toggle("Underline");
         answerColorDialog("#0000ff");
         QTest::mouseClick(parts.button("cmdColor"), Qt::LeftButton);
         QTest::mouseClick(parts.button("cmdOK"), Qt::LeftButton);
     },
     "cancel=0 DejaVu Serif 14 bold strike underline 0xff0000"},
    // Cancel passed true stays true on a confirm; a cancelled colour changes nothing, and a
    // fractional size left alone comes back as given. A plain font stays plain where the
    // family's first style listed is an italic.
    {"confirmedUnchangedKeepsCancelAsPassed",
     true,
     {"DejaVu Sans", 10.5f, false, false, true, false, 0x123456},
     [](const FontDialogParts &parts) {
         answerColorDialog({});
         QTest::mouseClick(parts.button("cmdColor"), Qt::LeftButton);
         QTest::keyClick(parts.entry("DejaVu Sans").first, Qt::Key_Return);
     },
     "cancel=1 DejaVu Sans 10.5 strike 0x123456"},
    {"confirmedBoldUnchanged",
     false,
     {"DejaVu Sans Mono", 12, true, false, false, true, 0},
     [](const FontDialogParts &parts) { QTest::mouseClick(parts.button("cmdOK"), Qt::LeftButton); },
     "cancel=0 DejaVu Sans Mono 12 bold underline 0x0"},
    {"cancelledWritesNothing",
     false,
     {"DejaVu Serif", 12, false, false, false, true, 0x00FF00},
     [](const FontDialogParts &parts) {
         parts.pick("DejaVu Sans");
         parts.toggle("Underline");
         QTest::keyClick(parts.entry("DejaVu Sans").first, Qt::Key_Escape);
     },
     "cancel=1 DejaVu Serif 12 underline 0xff00"},
};

TEST_F(Dialogs, fontDialogWritesBackTheConfirmedChoiceOnly) {
    for (const FontCase &row : kFonts) {
        SCOPED_TRACE(row.name);
        whenShown<QDialog>([&row](QDialog &dialog) { row.act(FontDialogParts{dialog}); });
        const Font &g = row.given;
        EXPECT_EQ(fontByDialog(*facade, row.cancel,
                               {g.name, g.size, g.bold, g.italic, g.strike, g.underline, g.color}),
                  row.outcome);
    }
}

// A control as a screen reader names it, or its object name when it is one of ours.
std::string nameOf(QWidget *control) {
    if (control->objectName().startsWith("cmd"))
        return control->objectName().toStdString();
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).toStdString();
}

struct FontDialogLanguage {
    const char *name;
    Langue language;
    const char *texts; // title, colour, OK and Cancel buttons
};

const FontDialogLanguage kLanguages[] = {
    {"English", EN, "Font|Colour...|OK|Cancel"},
    {"German", DE, "Schriftart|Farbe...|OK|Abbrechen"},
    {"French", FR, "Police|Couleur...|OK|Annuler"},
};

TEST_F(Dialogs, fontDialogSpeaksTheLanguageAndEveryControlIsNamedAndReachedByTab) {
    for (const FontDialogLanguage &row : kLanguages) {
        SCOPED_TRACE(row.name);
        sharedDG()->setLangue(row.language);
        QStringList texts;
        QStringList unnamed;
        std::string tabOrder;
        whenShown<QDialog>([&](QDialog &dialog) {
            FontDialogParts parts{dialog};
            texts << dialog.windowTitle() << parts.button("cmdColor")->text()
                  << parts.button("cmdOK")->text() << parts.button("cmdCancel")->text();
            unnamed = test::unnamedControls(dialog);
            // From the last button, around to the font choice; back from OK to the colour.
            parts.button("cmdCancel")->setFocus();
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                tabOrder += nameOf(QApplication::focusWidget()) + ", ";
            }
            parts.button("cmdOK")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            tabOrder += nameOf(QApplication::focusWidget());
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(fontByDialog(*facade, false, {"DejaVu Sans", 10}), "cancel=1 DejaVu Sans 10 0x0");
        EXPECT_EQ(texts.join('|').toStdString(), row.texts);
        EXPECT_EQ(unnamed.join(", ").toStdString(), "");
        EXPECT_EQ(tabOrder, "Font, Font style, Size, Strikeout, cmdColor");
    }
}

} // namespace
} // namespace kvt
