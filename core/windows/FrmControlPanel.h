#pragma once

#include "ui/ControlPanel.h"
#include "windows/FrmISO.h"

#include <QDialog>
#include <array>
#include <functional>
#include <map>

class QAbstractButton;
class QCheckBox;
class QEventLoop;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace kvt {
class CPExcel;
}

namespace kvt::windows {

class FrmDev;
class Grid;
class TwoColumnList;

// The control panel: the rate table, the currencies and the preferences, edited in place in the
// general settings, the driver and the engine, and written to the settings store only when the
// user applies. CmdApply's enabled state is the one flag of unsaved changes. Closing hides the
// window, so it keeps its state between showings.
class FrmControlPanelWindow final : public QDialog,
                                    public ControlPanelWindow,
                                    private IsoEditorHost {
    Q_OBJECT
public:
    explicit FrmControlPanelWindow(FrmControlPanel &panel);
    ~FrmControlPanelWindow() override;
    FrmControlPanelWindow(const FrmControlPanelWindow &) = delete;
    FrmControlPanelWindow &operator=(const FrmControlPanelWindow &) = delete;

    static std::unique_ptr<ControlPanelWindow> make(FrmControlPanel &panel);

    bool Visible() const override { return isVisible(); }
    void ShowModal() override;
    void RefreshData() override;
    void TranslateCombo() override;
    void TranslateFix() override;
    void stateChanged() override;
    void LoadClickTableTaux() override;
    void AliasDefault(const std::string &currency, const std::string &alias) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override; // Escape: as CmdClose
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void load();
    // Runs one step of a routine that goes on after a failing step: the failure is written to
    // the trace and the step skipped.
    void step(const char *what, const std::function<void()> &work);
    bool events() const;
    void applyOn();
    void CmdApply_Enabled_True();
    bool save();
    bool CheckApply();
    void CmdApply_Click();
    void CmdClose_Click();
    void SetEnabledInsPosition();
    void showPosition();
    void refreshExample();
    void refreshDetail();
    void FlexTaux_Click();
    void txtTaux_Change();
    void txtTaux_Leave();
    void moveCurrency(int step);
    void CmdAddDev_Click();
    void CmdDelDev_Click();
    void cmdIORates_Click();
    void importRates();
    void exportRates();
    void widenItl();
    void cboIso_Click();
    void lstDevAlias_Click();
    void CmdDevAddAlias_Click();
    void CmdDevDelAlias_Click();
    void CboDevAliasConv_Change();
    void openIsoEditor(int mode);
    void isoSaved(const std::string &code) override;
    void loadAliases(const std::string &code);
    void tabChanged();
    bool nbDecValid() const;

    FrmControlPanel &mPanel;
    CPExcel &mDriver;
    bool mLoaded = false;
    // The currencies of the selected rate cell: 1 column currency = rate row currency.
    std::string mRowCode, mColCode;
    // Made on first use; children of the window, which ends them.
    FrmISO *mIsoEditor = nullptr;
    FrmDev *mNewCurrencies = nullptr;
    QEventLoop *mHiddenLoop = nullptr;
    std::map<QObject *, std::vector<int>> mHelpTexts;

    QTabWidget *mTabCP;
    QLabel *mLblHelp;
    QPushButton *mCmdApply;
    QPushButton *mCmdClose;
    // Tab 0
    QGroupBox *mFrmMonaie, *mFrmArondi, *mFrmRes, *mFrmExemple, *mFrmEmplacement;
    TwoColumnList *mCboDeviseFrom, *mCboDeviseTo, *mCboMethodeArondi, *mCboValeurCible;
    QToolButton *mCmdInverse;
    QCheckBox *mChkFormatDef;
    QLabel *mLblMethode, *mLblValeurCible;
    QRadioButton *mOptResVal, *mOptResRef, *mOptInsAuto, *mOptInsManuel;
    QLineEdit *mTxtExConversion;
    Grid *mFlexConversion;
    std::array<QLabel *, 5> mLblDevFrom{}, mLblEgale{}, mLblDevTo{};
    std::array<QToolButton *, 5> mTglInsAuto{};
    // Tab 1
    Grid *mFlexTaux;
    QLineEdit *mTxtTaux;
    QLabel *mLblTauxDevFrom, *mLblTauxDevTo;
    QPushButton *mCmdAddDev, *mCmdDelDev, *mCmdIORates;
    QToolButton *mCmdCurrencyUp, *mCmdCurrencyDown;
    QLabel *mLblLastRatesUpdate;
    QLineEdit *mTxtLastRatesUpdate;
    // Tab 2
    QGroupBox *mFrmCalcul, *mFrmDivers, *mFrmDevise, *mFrmDevAlias;
    QLabel *mLblNbDec, *mLblEntre3et15, *mLblLangue;
    QLineEdit *mTxtNbDecEuroInter;
    QSpinBox *mUpDownNbDec;
    TwoColumnList *mCboLangue, *mCboIso, *mCboDevAliasConv, *mCboAliasPos, *mLstDevAlias;
    QCheckBox *mChkShowStatus, *mChkShowFirstTime, *mChkShowWelcom, *mChkInEuro;
    QLabel *mLblIsoCode, *mLblIsoName, *mLblNrDecimal, *mLblLegalFormat, *mLblDevAliasConv,
        *mLblAliasPos;
    QLineEdit *mTxtNrDecimal, *mTxtLegalFormat;
    QPushButton *mCmdAddIso, *mCmdUpdateIso, *mCmdDevAddAlias, *mCmdDevDelAlias;
};

} // namespace kvt::windows
