#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kvt {
class KVTMain;
}

namespace kvt::windows {

class TwoColumnList;

// The first-time wizard: the interface language, the default conversion pair, a short text
// about the product, and whether to show the wizard at the next start. Each choice goes into
// the general settings at once (saved with them later), and the control panel follows; the
// start switch "FirstTime" is written at once. The window exists only while it shows.
class FrmFirstTime final : public QDialog {
    Q_OBJECT
public:
    // Shows the wizard for main, modally, when "FirstTime" of "UserChoice" is exactly "ON"
    // (a lower-case "on" is off here), or when forced; otherwise returns at once.
    static void GO(KVTMain &main, bool force);
    // The wizard shown now; null when none is.
    static FrmFirstTime *shown();

    FrmFirstTime(KVTMain &main, bool dontShowNextTime);
    ~FrmFirstTime() override;
    FrmFirstTime(const FrmFirstTime &) = delete;
    FrmFirstTime &operator=(const FrmFirstTime &) = delete;

protected:
    // Escape and the close box do what CmdQuit does.
    void reject() override;

private:
    void load();
    void fillCurrencies();
    void translate();

    void cboLangue_Change();
    void cboCurFrom_Change();
    void CboCurTo_Change();
    void ChkDontShowNextTime_Click();
    void CmdQuit_Click();

    KVTMain &mMain;
    bool mReady = false; // the change handlers act only while set
    QLabel *mLblChoice;
    QLabel *mLblLanguage;
    TwoColumnList *mCboLangue;
    QLabel *mLblCur;
    QLabel *mLblFrom;
    TwoColumnList *mCboCurFrom;
    QLabel *mLblTo;
    TwoColumnList *mCboCurTo;
    QPlainTextEdit *mTxtFirstTime;
    QCheckBox *mChkDontShowNextTime;
    QPushButton *mCmdQuit;
};

} // namespace kvt::windows
