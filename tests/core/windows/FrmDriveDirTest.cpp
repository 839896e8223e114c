#include "windows/FrmDriveDir.h"

#include "Accessibility.h"
#include "SmallDialogTesting.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <fstream>

namespace kvt {
namespace {

using test::child;
using test::onModal;
using Act = std::function<void(QWidget &)>;

// A tree "~": ~/alpha/inner, ~/alpha/a.txt, ~/beta, ~/f1.txt, ~/f2.txt.
class SmallDialogsFolders : public test::SmallDialogs {
protected:
    void SetUp() override {
        test::SmallDialogs::SetUp();
        std::filesystem::create_directories(dir.path() / "alpha" / "inner");
        std::filesystem::create_directories(dir.path() / "beta");
        for (const char *file : {"alpha/a.txt", "f2.txt", "f1.txt"})
            std::ofstream(dir.path() / file) << "x";
    }
    // A path as the tests write it, "~" for the tree, and back.
    QString shown(const std::string &path) const {
        return QString::fromStdString(path).replace(root, "~");
    }

    test::TempDir dir;
    const QString root = QDir(QString::fromStdString(dir.path().string())).canonicalPath();
};

// The entries of a list: Dir1's folder paths from `from` down, or File1's names.
QStringList entries(QWidget &chooser, const char *list, const QString &from = {}) {
    auto &widget = child<QListWidget>(chooser, list);
    QStringList texts;
    for (int i = 0; i < widget.count(); ++i)
        texts << (from.isEmpty() ? widget.item(i)->text()
                                 : widget.item(i)->data(Qt::UserRole).toString());
    return from.isEmpty() ? texts : texts.mid(texts.indexOf(from)).replaceInStrings(from, "~");
}

void typePath(QWidget &chooser, const QString &text) {
    auto &edit = child<QLineEdit>(chooser, "TxtPath");
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
    QTest::keyClick(&edit, Qt::Key_Return);
}

// Clicks a folder of Dir1, then double-clicks it or presses Enter on it.
void openFolder(QWidget &chooser, const QString &name, bool byKey = false) {
    auto &list = child<QListWidget>(chooser, "Dir1");
    const auto found = list.findItems(name, Qt::MatchEndsWith);
    ASSERT_FALSE(found.isEmpty()) << name.toStdString();
    const QPoint where = list.visualItemRect(found.first()).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, where);
    if (byKey)
        QTest::keyClick(&list, Qt::Key_Return);
    else
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, where);
}

// Only typing a path, or choosing a drive, moves the current path.
TEST_F(SmallDialogsFolders, listsFollowTheTypedPathTheOpenedFolderAndTheDriveButNotAMissingPath) {
    struct Step {
        const char *what;
        Act act;
        QStringList folders;
        QStringList files;
        const char *current;
    };
    const Step steps[] = {
        {"start", [](QWidget &) {}, {"~", "~/alpha", "~/beta"}, {"f1.txt", "f2.txt"}, "~"},
        {"typed",
         [](QWidget &w) { typePath(w, "alpha"); },
         {"~", "~/alpha", "~/alpha/inner"},
         {"a.txt"},
         "~/alpha"},
        {"missing",
         [&](QWidget &w) { typePath(w, root + "/missing"); },
         {"~", "~/alpha", "~/alpha/inner"},
         {"a.txt"},
         "~/alpha"},
        {"Enter on the parent",
         [&](QWidget &w) { openFolder(w, QFileInfo(root).fileName(), true); },
         {"~", "~/alpha", "~/beta"},
         {"f1.txt", "f2.txt"},
         "~/alpha"},
        {"double click", [](QWidget &w) { openFolder(w, "beta"); }, {"~", "~/beta"}, {}, "~/alpha"},
    };
    FolderChoice choice{"", root.toStdString()};
    windows::FrmDriveDir chooser(choice);
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
    EXPECT_EQ(chooser.windowTitle(), "Choose a folder");
    EXPECT_EQ(test::unnamedControls(chooser), QStringList());
    child(chooser, "Drive1").setFocus();
    EXPECT_EQ(test::tabSequence(6),
              QStringList({"TxtPath", "Dir1", "File1", "OKButton", "CancelButton", "Drive1"}));
    for (const Step &step : steps) {
        step.act(chooser);
        EXPECT_EQ(entries(chooser, "Dir1", root), step.folders) << step.what;
        EXPECT_EQ(entries(chooser, "File1"), step.files) << step.what;
        EXPECT_EQ(shown(choice.currentPath), step.current) << step.what;
        EXPECT_TRUE(chooser.isVisible()) << step.what; // Enter did not press OK
    }
    // A drive chosen from the open drive list, even the one shown already: its root.
    auto &drives = child<QComboBox>(chooser, "Drive1");
    QTest::keyClick(&drives, Qt::Key_F4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drives.view()->isVisible(); }));
    drives.view()->setCurrentIndex(drives.model()->index(drives.findData("/"), 0));
    QTest::keyClick(drives.view(), Qt::Key_Return);
    EXPECT_EQ(std::tuple(chooser.dirPath(), child<QLineEdit>(chooser, "TxtPath").text(),
                         choice.currentPath),
              std::tuple("/", "/", "/"));
}

TEST_F(SmallDialogsFolders, okKeepsTheFolderAndCancelEmptiesBothPaths) {
    struct Row {
        const char *what;
        Act act;
        const char *chosen;
        const char *current;
    };
    const auto press = [](const char *name) {
        return [name](QWidget &w) {
            QTest::keyClick(&child(w, name), Qt::Key_Return);
        };
    };
    const Row rows[] = {
        {"typed, then OK",
         [&](QWidget &w) {
             typePath(w, "alpha");
             press("OKButton")(w);
         },
         "~/alpha", "~/alpha"},
        {"opened, then OK",
         [&](QWidget &w) {
             openFolder(w, "beta");
             press("OKButton")(w);
         },
         "~/beta", "~"},
        {"Cancel", press("CancelButton"), "", ""},
        {"Escape", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_Escape); }, "", ""},
    };
    for (const Row &row : rows) {
        main->FrmDriveDir().setCurrentPath(root.toStdString());
        onModal(row.act);
        main->FrmDriveDir().Show();
        EXPECT_EQ(shown(main->FrmDriveDir().ChosenPath()), row.chosen) << row.what;
        EXPECT_EQ(shown(main->FrmDriveDir().CurrentPath()), row.current) << row.what;
    }
    // With no current path the chooser starts at home.
    onModal(press("OKButton"));
    main->FrmDriveDir().Show();
    EXPECT_EQ(main->FrmDriveDir().ChosenPath(), QDir::homePath().toStdString());
}

} // namespace
} // namespace kvt
