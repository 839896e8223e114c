#include "Accessibility.h"
#include "SmallDialogTesting.h"
#include "model/SqliteSettingsBackend.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "windows/Grid.h"

#include <QLabel>
#include <QPushButton>
#include <fstream>
#include <gmock/gmock.h>

namespace kvt {
namespace {

using test::child;
using test::onModal;
using testing::HasSubstr;
using SmallDialogsAbout = test::SmallDialogs;

// The box's texts: title, cmdOK, cmdSysInfo, lblTitle, then each table row as "name=value".
std::vector<std::string> aboutTexts(QWidget &box) {
    std::vector<std::string> texts{box.windowTitle().toStdString()};
    for (const char *name : {"cmdOK", "cmdSysInfo"})
        texts.push_back(child<QPushButton>(box, name).text().toStdString());
    texts.push_back(child<QLabel>(box, "lblTitle").text().toStdString());
    auto &grid = child<windows::Grid>(box, "FlexAbout");
    for (int row = 0; row < grid.Rows(); ++row)
        texts.push_back(grid.TextMatrix(row, 0) + "=" + grid.TextMatrix(row, 1));
    return texts;
}

TEST_F(SmallDialogsAbout, showsItsTextsAndParametersAndAboutKVTShowsThemAgainUnchanged) {
    struct Row {
        Langue language;
        std::vector<std::string> names;
        std::vector<std::string> values;
        std::vector<std::string> texts;
    };
    const Row rows[] = {
        {EN,
         {},
         {},
         {"About Talvio", "OK", "System Info...", "Talvio – Euro currency converter",
          "Parameter=Value"}},
        {FR,
         {"Version", "Path", "Langue"},
         {"0.1.0", "/opt/talvio", "FR"},
         {"À propos de Talvio", "OK", "Infos système...",
          "Talvio – Convertisseur de devises pour l'euro", "Paramètre=Valeur", "Version=0.1.0",
          "Path=/opt/talvio", "Langue=FR"}},
    };
    for (const Row &row : rows) {
        sharedDG()->setLangue(row.language);
        onModal([&](QWidget &box) {
            EXPECT_EQ(aboutTexts(box), row.texts);
            auto &grid = child<windows::Grid>(box, "FlexAbout");
            EXPECT_EQ(std::tuple(grid.FixedRows(), grid.FixedCols(), grid.columnWidth(0),
                                 grid.columnWidth(1)),
                      std::tuple(1, 0, 160, 267)); // 2400 and 4000 twips at 96 dots per inch
            EXPECT_TRUE(windowServices().visible(LibraryWindow::About));
            EXPECT_EQ(test::unnamedControls(box), QStringList());
            EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdOK");
            EXPECT_EQ(test::tabSequence(3), QStringList({"cmdSysInfo", "FlexAbout", "cmdOK"}));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        main->ShowAbout(row.names, row.values);
        EXPECT_FALSE(windowServices().visible(LibraryWindow::About));
    }
    sharedDG()->setLangue(EN);
    onModal([&](QWidget &box) {
        EXPECT_EQ(aboutTexts(box), rows[1].texts);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    main->AboutKVT();
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(SmallDialogsAbout, parametersOfDifferentCountsAreAnErrorInATraceLineAndACriticalBox) {
    trace->setActive(true);
    main->ShowAbout({"Version", "Path"}, {"0.1.0"});
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
    EXPECT_THAT(boxes->shown()[0].text, HasSubstr("2 names and 1 values"));
    EXPECT_THAT(traceLog(), testing::Contains(testing::AllOf(testing::StartsWith("Error "),
                                                             HasSubstr("2 names and 1 values"))));
    EXPECT_FALSE(windowServices().visible(LibraryWindow::About));
}

// A program that leaves a mark when it runs.
void writeProgram(const std::filesystem::path &program, const std::filesystem::path &mark) {
    std::ofstream(program) << "#!/bin/sh\necho ran > '" << mark.string() << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

TEST_F(SmallDialogsAbout, systemInfoStartsTheProgramTheMachineSettingsName) {
    constexpr const char *kNotFound = "The system information program could not be found.";
    struct Row {
        const char *what;
        const char *path;   // below the test folder, or null
        const char *folder; // the same
        bool runs;
        const char *box; // the start of the box's text, or null
    };
    const Row rows[] = {
        {"program", "tools/info.sh", nullptr, true, nullptr},
        {"folder, in another letter case and with \\", nullptr, "tools", true, nullptr},
        {"folder without the program", nullptr, "empty", false, kNotFound},
        {"neither", nullptr, nullptr, false, kNotFound},
        {"program that does not start", "tools/missing", nullptr, false,
         "Error (StartSysInfo): Cannot start"},
    };
    for (const Row &row : rows) {
        test::TempDir dir;
        std::filesystem::create_directories(dir.path() / "tools");
        std::filesystem::create_directories(dir.path() / "empty");
        const auto mark = dir.path() / "ran";
        writeProgram(dir.path() / "tools" / "info.sh", mark);
        writeProgram(dir.path() / "tools" / "msinfo32.exe", mark);
        SqliteSettingsBackend machine(dir.path() / "machine.db");
        machine.write("HKEY_LOCAL_MACHINE", "SOFTWARE\\Other", "PATH", "/bin/false");
        if (row.path)
            machine.write("HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                          (dir.path() / row.path).string());
        if (row.folder) {
            std::string folder = (dir.path() / row.folder).string();
            std::replace(folder.begin(), folder.end(), '/', '\\');
            machine.write("HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Shared Tools Location",
                          "MSINFO", folder);
        }
        const test::ScopedEnv env("TALVIO_MACHINE_SETTINGS", (dir.path() / "machine.db").string());
        boxes->clear();
        onModal([](QWidget &box) {
            QTest::mouseClick(&child<QPushButton>(box, "cmdSysInfo"), Qt::LeftButton);
            QTest::mouseClick(&child<QPushButton>(box, "cmdOK"), Qt::LeftButton);
        });
        main->ShowAbout({}, {});
        if (row.runs)
            EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(mark); })) << row.what;
        else
            EXPECT_FALSE(std::filesystem::exists(mark)) << row.what;
        ASSERT_EQ(boxes->shown().size(), row.box ? 1u : 0u) << row.what;
        if (row.box) {
            EXPECT_THAT(boxes->shown()[0].text, testing::StartsWith(row.box)) << row.what;
        }
    }
}

} // namespace
} // namespace kvt
