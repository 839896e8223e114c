#include "FrmDebug.h"
#include "MainDebug.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace kvt::tracer {
namespace {

// Answers the save dialog with queued paths; nothing left means the user cancelled.
class ScriptedFileChooser final : public SaveFileChooser {
public:
    std::optional<QString> saveFileName(const QString &suggested) override {
        suggestions.push_back(suggested);
        if (answers.empty())
            return std::nullopt;
        QString answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<QString> answers;
    std::vector<QString> suggestions;
};

// One application for all cases, ended after the last one while Qt is still whole.
class Application final : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_trace_window";
        static char *argv[] = {name, nullptr};
        mApp = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { mApp.reset(); }

private:
    std::unique_ptr<QApplication> mApp;
};
testing::Environment *const application = testing::AddGlobalTestEnvironment(new Application);

class TraceWindow : public testing::Test {
public:
    QTreeWidget &treeWidget() { return *window.findChild<QTreeWidget *>("TreeDebug"); }
    QString shownText() { return window.findChild<QLineEdit *>("txtDebug")->text(); }
    void click(const char *buttonName) { window.findChild<QPushButton *>(buttonName)->click(); }
    QTreeWidgetItem *itemOfLast() { return window.itemOf(window.tree().lastLine()); }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const BoxRequest &box : boxes->shown()) {
            EXPECT_EQ(box.icon, BoxIcon::Critical) << box.text;
            texts.push_back(box.text);
        }
        return texts;
    }

    std::shared_ptr<ScriptedMessageBoxes> boxes = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedFileChooser> files = std::make_shared<ScriptedFileChooser>();
    FrmDebug window{TraceDialogs{boxes, files}};
};

TEST_F(TraceWindow, clickingALineShowsItsFullText) {
    const std::string longText(300, 'x');
    window.tree().FctBegin("Conversion de 1 EUR en BEF");
    window.tree().Msg(0, longText);
    window.show();
    treeWidget().expandAll();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTreeWidgetItem *message = itemOfLast();
    // Near the start of the line: a long line's centre lies beyond the viewport.
    QTest::mouseClick(treeWidget().viewport(), Qt::LeftButton, {},
                      treeWidget().visualItemRect(message).topLeft() + QPoint(30, 5));
    EXPECT_EQ(shownText().toStdString(), longText);
    QTreeWidgetItem *function = treeWidget().topLevelItem(0);
    QTest::mouseClick(treeWidget().viewport(), Qt::LeftButton, {},
                      treeWidget().visualItemRect(function).topLeft() + QPoint(30, 5));
    EXPECT_EQ(shownText(), "Conversion de 1 EUR en BEF");
}

TEST_F(TraceWindow, eachLineShowsTheIconOfItsKind) {
    struct Row {
        const char *reports;
        std::function<void(TraceTree &)> report;
        std::vector<const char *> icons; // of the lines added, in order
    };
    const Row rows[] = {
        {"function", [](TraceTree &t) { t.FctBegin("f"); }, {kIconFunction}},
        {"message", [](TraceTree &t) { t.Msg(1, "m"); }, {kIconInfo}},
        {"error", [](TraceTree &t) { t.Error(1, "e"); }, {kIconError}},
        {"end with end word",
         [](TraceTree &t) { t.FctEnd(1, "Taux = 2"); },
         {kIconInfo, kIconClock}},
        {"outer message closing an inner function",
         [](TraceTree &t) {
             t.FctBegin("g");
             t.Msg(0, "m");
         },
         {kIconFunction, kIconError, kIconClock, kIconInfo}},
    };
    window.tree().FctBegin("outer");
    for (const Row &row : rows) {
        const LineId before = window.tree().lastLine();
        row.report(window.tree());
        std::vector<qint64> shown;
        std::vector<qint64> expected;
        for (LineId line = before + 1; line <= window.tree().lastLine(); ++line) {
            ASSERT_NE(window.itemOf(line), nullptr) << row.reports;
            shown.push_back(window.itemOf(line)->icon(0).cacheKey());
        }
        for (const char *icon : row.icons) {
            ASSERT_FALSE(window.ImgDebug(icon).isNull()) << icon;
            expected.push_back(window.ImgDebug(icon).cacheKey());
        }
        EXPECT_EQ(shown, expected) << row.reports;
    }
    // Four different images.
    EXPECT_NE(window.ImgDebug(kIconInfo).pixmap(16).toImage(),
              window.ImgDebug(kIconError).pixmap(16).toImage());
    EXPECT_NE(window.ImgDebug(kIconFunction).pixmap(16).toImage(),
              window.ImgDebug(kIconClock).pixmap(16).toImage());
    EXPECT_TRUE(window.ImgDebug("NONE").isNull());
}

TEST_F(TraceWindow, anErrorOpensItsAncestorsAndAMessageDoesNot) {
    struct Row {
        const char *name;
        std::function<void(TraceTree &)> report;
        bool expanded;
    };
    const Row rows[] = {
        {"message", [](TraceTree &t) { t.Msg(2, "m"); }, false},
        {"error", [](TraceTree &t) { t.Error(2, "e"); }, true},
    };
    for (const Row &row : rows) {
        FrmDebug fresh{TraceDialogs{boxes, files}};
        for (const char *name : {"A", "B", "C"})
            fresh.tree().FctBegin(name);
        fresh.findChild<QTreeWidget *>("TreeDebug")->collapseAll();
        row.report(fresh.tree());
        for (QTreeWidgetItem *above = fresh.itemOf(fresh.tree().lastLine())->parent();
             above != nullptr; above = above->parent())
            EXPECT_EQ(above->isExpanded(), row.expanded)
                << row.name << ' ' << above->text(0).toStdString();
    }
}

TEST_F(TraceWindow, theButtonsRemoveOnlyWhatIsNoLongerActive) {
    struct Row {
        const char *name;
        bool functionStillOpen;
        const char *button;
        std::function<QTreeWidgetItem *(TraceWindow &)> select; // null: no selection
        std::vector<std::string> boxes;
        int topLevelLeft;
    };
    auto earlierBranch = [](TraceWindow &t) {
        return t.treeWidget().topLevelItem(0);
    };
    auto latestLine = [](TraceWindow &t) {
        return t.itemOfLast();
    };
    const Row rows[] = {
        {"whole tree while a function is open",
         true,
         "cmdClearAll",
         nullptr,
         {"Il reste encore une branche active"},
         2},
        {"whole tree when all functions ended", false, "cmdClearAll", nullptr, {}, 0},
        {"an earlier branch", true, "cmdClearBranche", earlierBranch, {}, 1},
        {"the branch of the latest line",
         true,
         "cmdClearBranche",
         latestLine,
         {"On ne peut pas suprimer une branche active"},
         2},
        {"the branch of the latest line, all ended",
         false,
         "cmdClearBranche",
         latestLine,
         {"On ne peut pas suprimer une branche active"},
         2},
        {"no line selected", true, "cmdClearBranche", nullptr, {}, 2},
    };
    for (const Row &row : rows) {
        boxes->clear();
        window.tree().Clear();
        window.tree().FctEnd(0);
        window.tree().FctBegin("A");
        window.tree().FctEnd(0);
        window.tree().FctBegin("B");
        window.tree().Msg(0, "m");
        if (!row.functionStillOpen)
            window.tree().FctEnd(0);
        treeWidget().setCurrentItem(row.select ? row.select(*this) : nullptr);
        click(row.button);
        EXPECT_EQ(boxTexts(), row.boxes) << row.name;
        EXPECT_EQ(treeWidget().topLevelItemCount(), row.topLevelLeft) << row.name;
    }
}

TEST_F(TraceWindow, savingWritesTheTraceAsTextToTheChosenFile) {
    test::TempDir dir;
    window.setWindowTitle("Change");
    window.tree().FctBegin("A");
    window.tree().Msg(0, "m");
    files->answers = {QString::fromStdString(dir.file("trace.txt").string()),
                      QString::fromStdString(dir.file("missing/trace.txt").string())};
    click("cmdSave");
    std::ifstream saved(dir.file("trace.txt"));
    std::stringstream content;
    content << saved.rdbuf();
    EXPECT_EQ(content.str(), "FCT A\n  INFO m\n");
    EXPECT_EQ(files->suggestions.front(), "Change.txt");
    EXPECT_TRUE(boxes->shown().empty());

    click("cmdSave"); // a folder that does not exist
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_NE(boxes->shown().front().text.find("missing/trace.txt"), std::string::npos);

    boxes->clear();
    click("cmdSave"); // cancelled
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(TraceWindow, theBusObjectSetsTheTitleAndAsksToBeReleased) {
    MainDebug object("/MainDebug/1", ":1.7", TraceDialogs{boxes, files});
    EXPECT_TRUE(object.window().isVisible());
    object.Title("Main");
    EXPECT_EQ(object.window().windowTitle(), "Main");
    EXPECT_EQ(object.FctBegin("Initialisation"), 0);
    object.Msg(0, "hello");
    EXPECT_EQ(object.Text(), "FCT Initialisation\n  INFO hello\n");
    QSignalSpy released(&object, &MainDebug::released);
    object.Release();
    EXPECT_EQ(released.count(), 1);
}

} // namespace
} // namespace kvt::tracer
