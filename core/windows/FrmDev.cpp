#include "windows/FrmDev.h"

#include "engine/SharedChange.h"
#include "messages/MsgIds.h"
#include "model/DG.h"
#include "model/ISO.h"
#include "windows/TwoColumnList.h"
#include "windows/WindowLayout.h"
#include "windows/WindowText.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace kvt::windows {

namespace {

constexpr double kPointsPerCm = 72.0 / 2.54;

// The code's name in the current language; empty when it has none in that language.
std::string currentName(const ISO &record) {
    const auto language = static_cast<std::size_t>(sharedDG()->Langue());
    const std::vector<std::string> &names = record.ColNames();
    return language < names.size() ? names[language] : std::string();
}

} // namespace

FrmDev::FrmDev(QWidget *parent)
    : QDialog(parent)
    , mLstIso(new TwoColumnList(QStringLiteral("lstIso"), this,
                                {TwoColumnList::Form::List, TwoColumnList::Selection::Multiple}))
    , mCmdOK(new QPushButton(this))
    , mCmdKO(new QPushButton(this)) {
    setObjectName(QStringLiteral("FrmDev"));
    setModal(true);
    mLstIso->setColumnCount(2);
    mLstIso->setColumnWidths({1 * kPointsPerCm, 2 * kPointsPerCm});
    mCmdOK->setObjectName(QStringLiteral("cmdOK"));
    mCmdOK->setDefault(true);
    mCmdKO->setObjectName(QStringLiteral("CmdKO"));
    mCmdKO->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mLstIso->widget());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mCmdOK);
    buttons->addWidget(mCmdKO);
    layout->addLayout(buttons);

    connect(mCmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(mCmdKO, &QPushButton::clicked, this, &QDialog::reject);
    connect(mLstIso, &TwoColumnList::clicked, this, [this] { mCmdOK->setEnabled(true); });
    // The entry double-clicked is among those confirmed, whatever its second click toggled.
    connect(mLstIso->listView(), &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &entry) {
                mLstIso->setSelected(entry.row(), true);
                cmdOK_Click();
            });
}

void FrmDev::fill() {
    mLstIso->Clear();
    for (const auto &record : *sharedChange()->ColISO())
        if (!record->Used())
            mLstIso->AddItem(record->Value(), currentName(*record));
}

std::vector<std::string> FrmDev::GetISO() {
    setWindowTitle(messageText(msg::NewCurrencyTitle));
    mCmdOK->setText(messageText(msg::NewCurrencyOk));
    mCmdKO->setText(messageText(msg::ButtonCancel));
    mLstIso->widget()->setAccessibleName(windowTitle());
    mCmdOK->setEnabled(true);
    fill();
    mResult.clear();
    mLstIso->widget()->setFocus();
    adjustSize();
    centreOnScreen(*this);
    exec();
    return std::move(mResult);
}

void FrmDev::cmdOK_Click() {
    mResult.clear();
    for (int entry = 0; entry < mLstIso->ListCount(); ++entry)
        if (mLstIso->Selected(entry))
            mResult.push_back(mLstIso->List(entry));
    accept();
}

} // namespace kvt::windows
