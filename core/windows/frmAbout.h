#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace kvt::windows {

class Grid;

// The about box: the product's title, version, maker and year beside its picture Image1, a
// table FlexAbout of parameters the caller names, cmdOK (Enter or Escape close the box) and
// cmdSysInfo, which starts the system-information program. The box keeps its texts and table
// between showings.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Title, buttons and labels in the current language.
    void setTexts();
    // One header row (messages 47 and 48) over one row per parameter: name, value. Names and
    // values of different counts are a kvt::Error, and the table is left as it was.
    void LoadFlexAbout(const std::vector<std::string> &names,
                       const std::vector<std::string> &values);
    // Centres the box and shows it modally.
    void Show();

    // The program named by the machine-wide settings, or message 1255 in a box when there is
    // none; a program that does not start, or a machine store that cannot be read, is told in
    // a box too.
    void StartSysInfo();

private:
    QLabel *mImage;
    QLabel *mTitle;
    QLabel *mVersion;
    QLabel *mDescription;
    QLabel *mYear;
    Grid *mTable;
    QPushButton *mOk;
    QPushButton *mSysInfo;
};

// The system-information program the machine-wide settings name, as a path to start: the
// program of "PATH" under SOFTWARE\Microsoft\Shared Tools\MSINFO, else the file MSINFO32.EXE
// (in any letter case) in the folder of "MSINFO" under SOFTWARE\Microsoft\Shared Tools Location
// when it is there; empty when neither is. Paths may use "\" or "/" as separator.
std::string systemInfoProgram();

} // namespace kvt::windows
