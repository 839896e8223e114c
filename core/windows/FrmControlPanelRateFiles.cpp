// The rates button's menu: the euro rates of a reference rate file entered as if typed, and the
// entered ones written to a file.
#include "engine/RateImport.h"
#include "engine/ReferenceRates.h"
#include "engine/SharedChange.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"
#include "model/DateNumber.h"
#include "model/Error.h"
#include "ui/CPExcel.h"
#include "windows/ControlPanelParts.h"
#include "windows/FileDialogs.h"
#include "windows/FrmControlPanel.h"
#include "windows/Grid.h"
#include "windows/WindowText.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <fstream>

namespace kvt::windows {

using panel::dateTimeText;

namespace {

const QString kRateFiles = QStringLiteral("Reference rates (*.xml *.csv);;All files (*)");

void tellFailure(std::int32_t message, const std::string &reason) {
    messageBoxes().show(
        {"Talvio", messageText(message).toStdString() + "\n" + reason, BoxIcon::Critical});
}

} // namespace

void FrmControlPanelWindow::cmdIORates_Click() {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuIORates"));
    const QAction *importing = menu.addAction(messageText(msg::RatesImportMenu));
    const QAction *exporting = menu.addAction(messageText(msg::RatesExportMenu));
    const QAction *chosen = menu.exec(mCmdIORates->mapToGlobal(QPoint(0, mCmdIORates->height())));
    if (chosen == importing)
        importRates();
    else if (chosen == exporting)
        exportRates();
}

// An import is an edit like a typed rate: the rates enter the tables, Apply becomes enabled and
// the other add-ins hear of the edit; nothing is saved before Apply.
void FrmControlPanelWindow::importRates() {
    const std::optional<QString> path = fileDialogs().choose(
        this, {FileRequest::Mode::Open, messageText(msg::RatesImportMenu), kRateFiles, {}});
    if (!path)
        return;
    Change &change = *sharedChange();
    RateImport import;
    try {
        import = planRateImport(change, readReferenceRateFile(path->toStdString()), {}, false);
        applyRateImport(change, import, currentDateNumber());
    } catch (const Error &failure) {
        tellFailure(msg::RatesNotImported, failure.description());
        return;
    }
    // A file without any rate for the selected currencies changes nothing: no edit to announce.
    if (import.entered.empty())
        return;
    mTxtLastRatesUpdate->setText(dateTimeText(change.LastRatesUpdate()));
    const int row = mFlexTaux->Row();
    const int col = mFlexTaux->Col();
    step("LoadTableauTaux", [this] { mDriver.LoadTableauTaux(*mFlexTaux); });
    mFlexTaux->setRow(row);
    mFlexTaux->setCol(col);
    FlexTaux_Click();
    CmdApply_Enabled_True();
    refreshExample();
}

// The rates as the panel holds them, applied or not: what the user sees is what is written.
void FrmControlPanelWindow::exportRates() {
    const std::optional<QString> path =
        fileDialogs().choose(this, {FileRequest::Mode::Save, messageText(msg::RatesExportMenu),
                                    kRateFiles, QStringLiteral("eurofxref.csv")});
    if (!path)
        return;
    const ReferenceFormat format = path->endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive)
                                       ? ReferenceFormat::Xml
                                       : ReferenceFormat::Csv;
    std::ofstream file(path->toStdString(), std::ios::binary | std::ios::trunc);
    file << writeReferenceRates(givenEuroRates(*sharedChange()), format);
    file.close();
    if (!file)
        tellFailure(msg::RatesNotExported, "Cannot write " + path->toStdString() + ".");
}

} // namespace kvt::windows
