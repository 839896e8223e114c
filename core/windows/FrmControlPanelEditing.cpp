// The control panel's editing of the common currency data: the rate grid, the order of the
// currencies, adding and deleting them, ISO codes and aliases.
#include "engine/RateEntry.h"
#include "engine/SharedChange.h"
#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/DG.h"
#include "model/DateNumber.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/Taux.h"
#include "trace/KVTBug.h"
#include "ui/CPExcel.h"
#include "windows/ControlPanelParts.h"
#include "windows/FrmControlPanel.h"
#include "windows/FrmDev.h"
#include "windows/FrmISO.h"
#include "windows/Grid.h"
#include "windows/TwoColumnList.h"
#include "windows/WindowText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <algorithm>

namespace kvt::windows {

using namespace panel;

// The lira's amounts are long: its column, when it has one, is widened, and only it: after a
// currency was deleted another one may stand where the lira stood.
void FrmControlPanelWindow::widenItl() {
    step("ITL", [this] {
        for (int col = 1; col < mFlexTaux->Cols(); ++col) {
            if (mFlexTaux->TextMatrix(0, col) == "ITL")
                mFlexTaux->setColWidth(col, kItlColumnTwips);
            else
                mFlexTaux->resetColWidth(col);
        }
    });
}

void FrmControlPanelWindow::FlexTaux_Click() {
    const int row = mFlexTaux->Row();
    const int col = mFlexTaux->Col();
    const std::shared_ptr<ColDevises> &devises = sharedChange()->ColDevises();
    const QSignalBlocker quiet(mTxtTaux);
    if (row < 1 || col < 1 || row > devises->Count() || col > devises->Count()) {
        mRowCode.clear();
        mColCode.clear();
        mTxtTaux->clear();
        mTxtTaux->setEnabled(false);
        mLblTauxDevFrom->clear();
        mLblTauxDevTo->clear();
        return;
    }
    Devise &rowCurrency = *devises->Item(row);
    Devise &colCurrency = *devises->Item(col);
    mRowCode = rowCurrency.ISO();
    mColCode = colCurrency.ISO();
    mLblTauxDevFrom->setText(QString::fromStdString(mRowCode));
    mLblTauxDevTo->setText(QStringLiteral("1 %1 =").arg(QString::fromStdString(mColCode)));
    // Fixed euro rates and a currency against itself are not typed.
    mTxtTaux->setEnabled(mRowCode != mColCode && !rowCurrency.InEuro() && !colCurrency.InEuro());
    const double rate = sharedChange()->ColISO()->Item(mColCode)->ColTaux()->Item(mRowCode)->Change;
    mTxtTaux->setText(QLocale().toString(rate, 'g', QLocale::FloatingPointShortest));
    mCmdDelDev->setEnabled(mDriver.EnabledDelDevise(mRowCode));
    mFlexTaux->setVisible(mTabCP->currentIndex() == kTabRates);
}

// Typing a rate: 1 column currency = rate row currency, entered; the reverse derived. Only a
// rate that can be used is taken; leaving the box says what is wrong with another.
void FrmControlPanelWindow::txtTaux_Change() {
    if (!events() || !mTxtTaux->isEnabled() || mRowCode.empty())
        return;
    const std::optional<double> rate = amountOf(mTxtTaux->text());
    if (!rate || !isUsableRate(*rate))
        return;
    Change &change = *sharedChange();
    enterRate(change, mColCode, mRowCode, *rate, currentDateNumber());
    mTxtLastRatesUpdate->setText(dateTimeText(change.LastRatesUpdate()));
    // The grid shows what it would show reloaded: the entered direction is the cell of the
    // column currency's row, on white; the selected cell holds the reverse, on silver.
    const int row = mFlexTaux->Row();
    const int col = mFlexTaux->Col();
    {
        const EventsPaused quiet(mDriver);
        mFlexTaux->setTextMatrix(col, row, QString::number(*rate, 'f', 6).toStdString());
        mFlexTaux->setCellBackColor(col, row, CPExcel::kGivenRateWhite);
        mFlexTaux->setTextMatrix(row, col, QString::number(1.0 / *rate, 'f', 6).toStdString());
        mFlexTaux->setCellBackColor(row, col, CPExcel::kDerivedRateSilver);
    }
    CmdApply_Enabled_True();
    refreshExample();
}

void FrmControlPanelWindow::txtTaux_Leave() {
    const std::optional<double> rate = amountOf(mTxtTaux->text());
    if (rate && *rate == 0.0) {
        sharedMessage()->Msgbox(kvt::Translate(303) + "\r\n" + kvt::Translate(304), true);
        mTxtTaux->setFocus(Qt::OtherFocusReason);
    } else if (rate && mTxtTaux->isEnabled() && !isUsableRate(*rate)) {
        // A negative rate, or one too large or too small to invert, would convert wrongly.
        sharedMessage()->Msgbox(kvt::Translate(msg::AskRateNotUsable), true);
        mTxtTaux->setFocus(Qt::OtherFocusReason);
    }
    if (mTxtTaux->isEnabled() && (mRowCode == kEuroCode || mColCode == kEuroCode)) {
        // A euro rate changes many derived ones: the whole grid is shown again, on the same cell.
        const int row = mFlexTaux->Row();
        const int col = mFlexTaux->Col();
        step("LoadTableauTaux", [this] { mDriver.LoadTableauTaux(*mFlexTaux); });
        mFlexTaux->setRow(row);
        mFlexTaux->setCol(col);
    }
}

// Up (-1) or down (+1): the first press selects the whole row, the next ones move it, its
// column with it.
void FrmControlPanelWindow::moveCurrency(int step) {
    const int row = mFlexTaux->Row();
    if (row < 1)
        return;
    if (!mFlexTaux->wholeRowSelected()) {
        mFlexTaux->selectWholeRow(row);
        return;
    }
    const int target = row + step;
    if (target < 1 || target >= mFlexTaux->Rows())
        return;
    sharedChange()->ColDevises()->PermuteItems(row, target);
    mFlexTaux->swapRowsAndColumns(row, target);
    mFlexTaux->selectWholeRow(target);
    CmdApply_Enabled_True();
}

void FrmControlPanelWindow::CmdAddDev_Click() {
    if (!mNewCurrencies)
        mNewCurrencies = new FrmDev(this);
    const std::vector<std::string> codes = mNewCurrencies->GetISO();
    if (codes.empty())
        return;
    Change &change = *sharedChange();
    for (const std::string &code : codes)
        step("AddDevise", [&] { selectCurrency(change, code); });
    mCmdAddDev->setEnabled(mDriver.EnabledAddDevise());
    RefreshData();
    widenItl();
    CmdApply_Enabled_True();
}

void FrmControlPanelWindow::CmdDelDev_Click() {
    const int row = mFlexTaux->Row();
    if (row < 1)
        return;
    if (!mFlexTaux->wholeRowSelected())
        mFlexTaux->selectWholeRow(row);
    const std::string question = kvt::Translate(543) + " " + kvt::Translate(544) + " "
                                 + kvt::Translate(msg::ButtonOk) + ". " + kvt::Translate(545) + " "
                                 + kvt::Translate(33);
    if (messageBoxes().show({"Talvio", question, BoxIcon::Question, BoxButtons::OkCancel})
        != BoxAnswer::Ok)
        return;
    sharedChange()->DelDevise(mFlexTaux->TextMatrix(row, 0));
    mCmdAddDev->setEnabled(mDriver.EnabledAddDevise());
    RefreshData();
    widenItl();
    CmdApply_Enabled_True();
}

void FrmControlPanelWindow::openIsoEditor(int mode) {
    if (!mIsoEditor) {
        mIsoEditor = new FrmISO(this);
        mIsoEditor->init(*this);
        mIsoEditor->TranslateFix();
    }
    mIsoEditor->prepare(static_cast<FrmISO::Mode>(mode), mCboIso->Text());
    mIsoEditor->exec();
}

void FrmControlPanelWindow::isoSaved(const std::string &code) {
    mCmdAddDev->setEnabled(mDriver.EnabledAddDevise());
    RefreshData();
    mCboIso->setListIndex(listLookup(*mCboIso, code));
    cboIso_Click();
    CmdApply_Enabled_True();
}

// Shows the chosen ISO code: its name, whether it is a euro currency, its legal format and its
// aliases with the default one.
void FrmControlPanelWindow::cboIso_Click() {
    const TraceBlock traced(*sharedTrace(), "cboIso click");
    const EventsPaused quiet(mDriver);
    const std::string code = mCboIso->Text();
    ISO &record = *sharedChange()->ColISO()->Item(code);
    loadAliases(code);
    mCmdDevDelAlias->setEnabled(false);
    const bool updatable = mDriver.EnabledDelDevise(code);
    mCmdUpdateIso->setEnabled(updatable);
    mCmdUpdateIso->setToolTip(messageText(updatable ? 412 : 411));
    const auto language = static_cast<std::size_t>(sharedDG()->Langue());
    const std::vector<std::string> &names = record.ColNames();
    mLblIsoName->setText(language < names.size() ? QString::fromStdString(names[language])
                                                 : QString());
    mChkInEuro->setCheckState(record.MasterISO() == kEuroCode ? Qt::Checked : Qt::Unchecked);
    mTxtLegalFormat->setText(QString::fromStdString(record.LegalFormat()));
    mTxtNrDecimal->setText(QString::number(FrmControlPanel::NrOfDec(record.LegalFormat())));
}

// The currency's aliases, and the same after the choice of no default, with its default chosen.
void FrmControlPanelWindow::loadAliases(const std::string &code) {
    const EventsPaused quiet(mDriver);
    mDriver.LoadCboDeviseAlias(*mLstDevAlias, code, false);
    mDriver.LoadCboDeviseAlias(*mCboDevAliasConv, code, true);
    mCboDevAliasConv->setListIndex(
        listLookup(*mCboDevAliasConv, sharedChange()->ColISO()->Item(code)->aliasDef()));
}

// A currency's own code stays among its aliases: only the others may be removed.
void FrmControlPanelWindow::lstDevAlias_Click() {
    const int index = mLstDevAlias->ListIndex();
    mCmdDevDelAlias->setEnabled(index >= 0
                                && mLstDevAlias->List(index, 0)
                                       != sharedChange()->ColISO()->Item(mCboIso->Text())->Value());
}

void FrmControlPanelWindow::CmdDevAddAlias_Click() {
    const std::string code = mCboIso->Text();
    if (code.empty())
        return;
    const std::optional<std::string> alias =
        messageBoxes().input({kvt::Translate(126), "Talvio", {}});
    if (!alias || alias->empty())
        return;
    // The store keeps a currency's aliases as one "|"-separated list.
    if (alias->find('|') != std::string::npos
        || std::any_of(alias->begin(), alias->end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
        sharedMessage()->Msgbox(kvt::Translate(msg::AliasNotStorable), false);
        return;
    }
    ColAlias &aliases = *sharedChange()->ColISO()->Item(code)->ColAlias();
    // Keys are numbers; after a removal the next one may be taken already.
    int key = mLstDevAlias->ListCount() + 1;
    while (aliases.find(std::to_string(key)))
        ++key;
    sharedChange()->ColISO()->Item(code)->AddAlias(key, *alias, false);
    loadAliases(code);
    CmdApply_Enabled_True();
}

void FrmControlPanelWindow::CmdDevDelAlias_Click() {
    const std::string code = mCboIso->Text();
    const int index = mLstDevAlias->ListIndex();
    if (code.empty() || index < 0)
        return;
    sharedChange()->ColISO()->Item(code)->ColAlias()->Remove(index + 1);
    loadAliases(code);
    mCmdDevDelAlias->setEnabled(false);
    CmdApply_Enabled_True();
}

void FrmControlPanelWindow::CboDevAliasConv_Change() {
    const TraceBlock traced(*sharedTrace(), "EventChange CboDevAliasConv");
    const std::string code = mCboIso->Text();
    if (code.empty())
        return;
    CmdApply_Enabled_True();
    const std::string alias = mCboDevAliasConv->Text();
    Change &change = *sharedChange();
    change.ColISO()->Item(code)->setAliasDef(alias);
    if (Devise *currency = change.ColDevises()->find(code))
        currency->setAliasDef(alias);
    refreshExample();
}

} // namespace kvt::windows
