#include "windows/FrmControlPanel.h"

#include "engine/SharedChange.h"
#include "facade/AddInMgr.h"
#include "facade/KVTMain.h"
#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"
#include "model/DG.h"
#include "model/ISO.h"
#include "trace/KVTBug.h"
#include "ui/CPExcel.h"
#include "windows/ControlPanelParts.h"
#include "windows/Controls.h"
#include "windows/FrmISO.h"
#include "windows/Grid.h"
#include "windows/TwoColumnList.h"
#include "windows/WindowLayout.h"
#include "windows/WindowText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QEventLoop>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <functional>

namespace kvt::windows {

namespace panel {

std::optional<double> amountOf(const QString &text) {
    bool ok = false;
    double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString dateTimeText(double dateNumber) {
    const double days = std::floor(dateNumber);
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    const auto seconds = static_cast<int>(std::lround((dateNumber - days) * 86400.0));
    const QTime time = QTime(0, 0).addSecs(seconds);
    return QLocale().toString(date, QLocale::ShortFormat) + QLatin1Char(' ')
           + time.toString(QStringLiteral("h:mm:ss"));
}

} // namespace panel

namespace {

using namespace panel;

constexpr int kMinNbDec = 3;
constexpr int kMaxNbDec = 15;

TwoColumnList *combo(QWidget *parent, const char *name, bool editable = false) {
    return new TwoColumnList(
        QLatin1String(name), parent,
        {TwoColumnList::Form::Combo, TwoColumnList::Selection::Single, editable});
}

} // namespace

std::unique_ptr<ControlPanelWindow> FrmControlPanelWindow::make(FrmControlPanel &panel) {
    return std::make_unique<FrmControlPanelWindow>(panel);
}

FrmControlPanelWindow::FrmControlPanelWindow(FrmControlPanel &panel)
    : mPanel(panel)
    , mDriver(panel.driver()) {
    setObjectName(QStringLiteral("FrmControlPanel"));
    mDriver.setEventsActive(false);
    build();
    load();
}

FrmControlPanelWindow::~FrmControlPanelWindow() = default;

void FrmControlPanelWindow::build() {
    auto *outer = new QVBoxLayout(this);
    mTabCP = named<QTabWidget>(this, "TabCP");
    outer->addWidget(mTabCP);

    // Tab 0: pair, rounding, result, example, insertion position.
    auto *tab0 = new QWidget;
    auto *grid0 = new QGridLayout(tab0);
    mFrmMonaie = named<QGroupBox>(tab0, "FrmMonaie");
    {
        auto *layout = new QHBoxLayout(mFrmMonaie);
        mCboDeviseFrom = combo(mFrmMonaie, "cboDeviseFrom");
        mCmdInverse = named<QToolButton>(mFrmMonaie, "cmdInverse");
        mCmdInverse->setText(QStringLiteral("\u21c4"));
        mCboDeviseTo = combo(mFrmMonaie, "cboDeviseTo");
        mChkFormatDef = named<QCheckBox>(mFrmMonaie, "ChkFormatDef");
        layout->addWidget(mCboDeviseFrom->widget());
        layout->addWidget(mCmdInverse);
        layout->addWidget(mCboDeviseTo->widget());
        layout->addWidget(mChkFormatDef);
    }
    mFrmArondi = named<QGroupBox>(tab0, "FrmArondi");
    {
        auto *layout = new QGridLayout(mFrmArondi);
        mCboMethodeArondi = combo(mFrmArondi, "cboMethodeArondi");
        mCboValeurCible = combo(mFrmArondi, "cboValeurCible", true);
        mLblMethode = buddyLabel(mFrmArondi, "lblMethode", mCboMethodeArondi->widget());
        mLblValeurCible = buddyLabel(mFrmArondi, "lblValeurCible", mCboValeurCible->widget());
        layout->addWidget(mLblMethode, 0, 0);
        layout->addWidget(mCboMethodeArondi->widget(), 0, 1);
        layout->addWidget(mLblValeurCible, 1, 0);
        layout->addWidget(mCboValeurCible->widget(), 1, 1);
    }
    mFrmRes = named<QGroupBox>(tab0, "FrmRes");
    {
        auto *layout = new QVBoxLayout(mFrmRes);
        mOptResVal = named<QRadioButton>(mFrmRes, "OptResVal");
        mOptResRef = named<QRadioButton>(mFrmRes, "OptResRef");
        layout->addWidget(mOptResVal);
        layout->addWidget(mOptResRef);
    }
    mFrmExemple = named<QGroupBox>(tab0, "FrmExemple");
    {
        auto *layout = new QGridLayout(mFrmExemple);
        mTxtExConversion = named<QLineEdit>(mFrmExemple, "txtExConversion");
        mFlexConversion = named<Grid>(mFrmExemple, "FlexConversion");
        mFlexConversion->setRows(7);
        mFlexConversion->setCols(2);
        mFlexConversion->setFixedRows(1);
        layout->addWidget(mTxtExConversion, 0, 0);
        layout->addWidget(mFlexConversion, 1, 0, 5, 1);
        for (std::size_t i = 0; i < 5; ++i) {
            const int row = static_cast<int>(i);
            mLblDevFrom[i] = named<QLabel>(mFrmExemple, "lblDevFrom");
            mLblEgale[i] = named<QLabel>(mFrmExemple, "lblEgale");
            mLblEgale[i]->setText(QStringLiteral("="));
            mLblDevTo[i] = named<QLabel>(mFrmExemple, "lblDevTo");
            layout->addWidget(mLblDevFrom[i], row + 1, 1);
            layout->addWidget(mLblEgale[i], row + 1, 2);
            layout->addWidget(mLblDevTo[i], row + 1, 3);
        }
    }
    mFrmEmplacement = named<QGroupBox>(tab0, "FrmEmplacement");
    {
        auto *layout = new QGridLayout(mFrmEmplacement);
        mOptInsAuto = named<QRadioButton>(mFrmEmplacement, "OptInsAuto");
        mOptInsManuel = named<QRadioButton>(mFrmEmplacement, "OptInsManuel");
        layout->addWidget(mOptInsAuto, 0, 0);
        layout->addWidget(mOptInsManuel, 1, 0);
        static constexpr std::array<const char *, 5> kSymbols = {"\u25cf", "\u2191", "\u2193",
                                                                 "\u2190", "\u2192"};
        for (std::size_t i = 0; i < mTglInsAuto.size(); ++i) {
            mTglInsAuto[i] = named<QToolButton>(mFrmEmplacement, "TglInsAuto");
            mTglInsAuto[i]->setCheckable(true);
            mTglInsAuto[i]->setText(QString::fromUtf8(kSymbols[i]));
            layout->addWidget(mTglInsAuto[i], static_cast<int>(i / 3), static_cast<int>(i % 3) + 1);
        }
    }
    grid0->addWidget(mFrmMonaie, 0, 0, 1, 2);
    grid0->addWidget(mFrmArondi, 1, 0);
    grid0->addWidget(mFrmRes, 1, 1);
    grid0->addWidget(mFrmExemple, 2, 0);
    grid0->addWidget(mFrmEmplacement, 2, 1);
    mTabCP->addTab(tab0, QString());

    // Tab 1: the rate table.
    auto *tab1 = new QWidget;
    {
        auto *layout = new QGridLayout(tab1);
        mFlexTaux = named<Grid>(tab1, "FlexTaux");
        mTxtTaux = named<QLineEdit>(tab1, "txtTaux");
        // The line reads: 1, the column's code, "=", the rate, the row's code.
        mLblTauxDevTo = buddyLabel(tab1, "lblTauxDevTo", mTxtTaux);
        mLblTauxDevFrom = named<QLabel>(tab1, "lblTauxDevFrom");
        mCmdAddDev = named<QPushButton>(tab1, "CmdAddDev");
        mCmdDelDev = named<QPushButton>(tab1, "CmdDelDev");
        mCmdCurrencyUp = named<QToolButton>(tab1, "cmdCurrencyUp");
        mCmdCurrencyUp->setArrowType(Qt::UpArrow);
        mCmdCurrencyDown = named<QToolButton>(tab1, "cmdCurrencyDown");
        mCmdCurrencyDown->setArrowType(Qt::DownArrow);
        mCmdIORates = named<QPushButton>(tab1, "cmdIORates");
        mTxtLastRatesUpdate = named<QLineEdit>(tab1, "TxtLastRatesUpdate");
        mTxtLastRatesUpdate->setReadOnly(true);
        mLblLastRatesUpdate = buddyLabel(tab1, "lblLastRatesUpdate", mTxtLastRatesUpdate);
        layout->addWidget(mFlexTaux, 0, 0, 1, 7);
        layout->addWidget(mLblTauxDevTo, 1, 0);
        layout->addWidget(mTxtTaux, 1, 1);
        layout->addWidget(mLblTauxDevFrom, 1, 2);
        layout->addWidget(mCmdAddDev, 1, 3);
        layout->addWidget(mCmdDelDev, 1, 4);
        layout->addWidget(mCmdCurrencyUp, 1, 5);
        layout->addWidget(mCmdCurrencyDown, 2, 5);
        layout->addWidget(mCmdIORates, 1, 6);
        layout->addWidget(mLblLastRatesUpdate, 2, 0);
        layout->addWidget(mTxtLastRatesUpdate, 2, 1, 1, 3);
        mFlexTaux->setAccessibleName(QStringLiteral("FlexTaux"));
    }
    mTabCP->addTab(tab1, QString());

    // Tab 2: calculation, miscellaneous, currency and ISO code.
    auto *tab2 = new QWidget;
    auto *grid2 = new QGridLayout(tab2);
    mFrmCalcul = named<QGroupBox>(tab2, "FrmCalcul");
    {
        auto *layout = new QGridLayout(mFrmCalcul);
        mTxtNbDecEuroInter = named<QLineEdit>(mFrmCalcul, "txtNbDecEuroInter");
        mUpDownNbDec = named<QSpinBox>(mFrmCalcul, "UpDownNbDec");
        mUpDownNbDec->setRange(kMinNbDec, kMaxNbDec);
        mLblNbDec = buddyLabel(mFrmCalcul, "lblNbDec", mTxtNbDecEuroInter);
        mLblEntre3et15 = named<QLabel>(mFrmCalcul, "lblEntre3et15");
        layout->addWidget(mLblNbDec, 0, 0);
        layout->addWidget(mTxtNbDecEuroInter, 0, 1);
        layout->addWidget(mUpDownNbDec, 0, 2);
        layout->addWidget(mLblEntre3et15, 1, 0, 1, 3);
        layout->setRowStretch(2, 1); // the hint stays under its field
        arrowsOnly(*mUpDownNbDec);
    }
    mFrmDivers = named<QGroupBox>(tab2, "FrmDivers");
    {
        auto *layout = new QGridLayout(mFrmDivers);
        mCboLangue = combo(mFrmDivers, "cboLangue");
        mLblLangue = buddyLabel(mFrmDivers, "lblLangue", mCboLangue->widget());
        mChkShowStatus = named<QCheckBox>(mFrmDivers, "ChkShowStatus");
        mChkShowFirstTime = named<QCheckBox>(mFrmDivers, "ChkShowFirstTime");
        mChkShowWelcom = named<QCheckBox>(mFrmDivers, "ChkShowWelcom");
        layout->addWidget(mLblLangue, 0, 0);
        layout->addWidget(mCboLangue->widget(), 0, 1);
        layout->addWidget(mChkShowStatus, 1, 0, 1, 2);
        layout->addWidget(mChkShowFirstTime, 2, 0, 1, 2);
        layout->addWidget(mChkShowWelcom, 3, 0, 1, 2);
    }
    mFrmDevise = named<QGroupBox>(tab2, "FrmDevise");
    {
        auto *layout = new QGridLayout(mFrmDevise);
        mCboIso = combo(mFrmDevise, "cboIso");
        mLblIsoCode = buddyLabel(mFrmDevise, "lblIsoCode", mCboIso->widget());
        mLblIsoName = named<QLabel>(mFrmDevise, "lblIsoName");
        mChkInEuro = named<QCheckBox>(mFrmDevise, "chkInEuro");
        mChkInEuro->setTristate(true);
        mChkInEuro->setEnabled(false);
        mTxtNrDecimal = named<QLineEdit>(mFrmDevise, "TxtNrDecimal");
        mLblNrDecimal = buddyLabel(mFrmDevise, "lblNrDecimal", mTxtNrDecimal);
        mTxtLegalFormat = named<QLineEdit>(mFrmDevise, "txtLegalFormat");
        mTxtLegalFormat->setReadOnly(true);
        mLblLegalFormat = buddyLabel(mFrmDevise, "lblLegalFormat", mTxtLegalFormat);
        mCmdAddIso = named<QPushButton>(mFrmDevise, "CmdAddIso");
        mCmdUpdateIso = named<QPushButton>(mFrmDevise, "CmdUpdateIso");
        mFrmDevAlias = named<QGroupBox>(mFrmDevise, "FrmDevAlias");
        auto *alias = new QGridLayout(mFrmDevAlias);
        mCboDevAliasConv = combo(mFrmDevAlias, "CboDevAliasConv");
        mLblDevAliasConv = buddyLabel(mFrmDevAlias, "lblDevAliasConv", mCboDevAliasConv->widget());
        mLstDevAlias = new TwoColumnList(QStringLiteral("lstDevAlias"), mFrmDevAlias,
                                         {TwoColumnList::Form::List});
        mLstDevAlias->setColumnCount(1);
        mCmdDevAddAlias = named<QPushButton>(mFrmDevAlias, "CmdDevAddAlias");
        mCmdDevDelAlias = named<QPushButton>(mFrmDevAlias, "CmdDevDelAlias");
        mCboAliasPos = combo(mFrmDevAlias, "cboAliasPos");
        mLblAliasPos = buddyLabel(mFrmDevAlias, "lblAliasPos", mCboAliasPos->widget());
        alias->addWidget(mLblDevAliasConv, 0, 0);
        alias->addWidget(mCboDevAliasConv->widget(), 0, 1);
        alias->addWidget(mLstDevAlias->widget(), 1, 0, 1, 2);
        alias->addWidget(mCmdDevAddAlias, 2, 0);
        alias->addWidget(mCmdDevDelAlias, 2, 1);
        alias->addWidget(mLblAliasPos, 3, 0);
        alias->addWidget(mCboAliasPos->widget(), 3, 1);
        layout->addWidget(mLblIsoCode, 0, 0);
        layout->addWidget(mCboIso->widget(), 0, 1);
        layout->addWidget(mLblIsoName, 1, 1);
        layout->addWidget(mChkInEuro, 2, 0, 1, 2);
        layout->addWidget(mLblNrDecimal, 3, 0);
        layout->addWidget(mTxtNrDecimal, 3, 1);
        layout->addWidget(mLblLegalFormat, 4, 0);
        layout->addWidget(mTxtLegalFormat, 4, 1);
        layout->addWidget(mCmdAddIso, 5, 0);
        layout->addWidget(mCmdUpdateIso, 5, 1);
        layout->addWidget(mFrmDevAlias, 6, 0, 1, 2);
    }
    grid2->addWidget(mFrmCalcul, 0, 0);
    grid2->addWidget(mFrmDivers, 1, 0);
    grid2->addWidget(mFrmDevise, 0, 1, 2, 1);
    mTabCP->addTab(tab2, QString());

    mLblHelp = named<QLabel>(this, "lblHelp");
    mLblHelp->setWordWrap(true);
    outer->addWidget(mLblHelp);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    mCmdApply = named<QPushButton>(this, "CmdApply");
    mCmdClose = named<QPushButton>(this, "CmdClose");
    mCmdApply->setAutoDefault(false);
    mCmdClose->setAutoDefault(false);
    buttons->addWidget(mCmdApply);
    buttons->addWidget(mCmdClose);
    outer->addLayout(buttons);

    // Help lines on focus.
    mHelpTexts = {{mCboDeviseFrom->widget(), {500}},
                  {mCboDeviseTo->widget(), {501}},
                  {mTxtTaux, {502}},
                  {mCboMethodeArondi->widget(), {503, 504, 505}},
                  {mCboValeurCible->widget(), {503, 504, 505}},
                  {mChkFormatDef, {506, 507, 508}},
                  {mTxtExConversion, {509}},
                  {mCboLangue->widget(), {510}},
                  {mCboDevAliasConv->widget(), {533}}};
    for (const auto &entry : mHelpTexts)
        entry.first->installEventFilter(this);
    if (QLineEdit *typed = mCboValeurCible->comboBox()->lineEdit())
        typed->installEventFilter(this);
    mTxtNbDecEuroInter->installEventFilter(this);

    // Handlers.
    connect(mCboDeviseFrom, &TwoColumnList::clicked, this, [this] {
        if (!events())
            return;
        applyOn();
        sharedDG()->setDeviseFrom(mCboDeviseFrom->Text());
        refreshExample();
    });
    connect(mCboDeviseTo, &TwoColumnList::clicked, this, [this] {
        if (!events())
            return;
        applyOn();
        sharedDG()->setDeviseTo(mCboDeviseTo->Text());
        refreshExample();
        step("UpdateValeurCible", [this] { mDriver.UpdateValeurCible(*mCboValeurCible); });
    });
    connect(mCmdInverse, &QToolButton::clicked, this, [this] {
        sharedDG()->InverseDevise();
        RefreshData();
        applyOn();
    });
    connect(mCboMethodeArondi, &TwoColumnList::clicked, this, [this] {
        if (!events())
            return;
        applyOn();
        sharedDG()->setMethodeArondi(
            static_cast<MethodeArondiType>(mCboMethodeArondi->ListIndex() + Legal));
        step("UpdateValeurCible", [this] { mDriver.UpdateValeurCible(*mCboValeurCible); });
        refreshExample();
    });
    connect(mCboValeurCible, &TwoColumnList::changed, this, [this] {
        if (!events())
            return;
        applyOn();
        sharedDG()->setDevFormat(mCboValeurCible->text().toUpper().toStdString());
        refreshExample();
    });
    connect(mChkFormatDef, &QCheckBox::clicked, this, [this] {
        if (!events())
            return;
        applyOn();
        sharedDG()->setFormatDef(mChkFormatDef->isChecked());
        step("LoadExConv", [this] { mDriver.LoadExConv(*mFlexConversion); });
    });
    connect(mOptResVal, &QRadioButton::clicked, this, [this] {
        if (!events())
            return;
        mDriver.setConvParValeur(true);
        applyOn();
    });
    connect(mOptResRef, &QRadioButton::clicked, this, [this] {
        if (!events())
            return;
        mDriver.setConvParValeur(false);
        applyOn();
    });
    for (QRadioButton *option : {mOptInsAuto, mOptInsManuel})
        connect(option, &QRadioButton::clicked, this, [this] {
            if (events())
                SetEnabledInsPosition();
        });
    for (std::size_t i = 0; i < mTglInsAuto.size(); ++i)
        connect(mTglInsAuto[i], &QToolButton::clicked, this, [this, i] {
            if (!events())
                return;
            const auto position = static_cast<std::int16_t>(i);
            if (position != mDriver.InsAutoType())
                applyOn();
            mDriver.setInsAutoType(position);
            showPosition();
        });
    connect(mTxtExConversion, &QLineEdit::textChanged, this, [this] {
        if (events() && amountOf(mTxtExConversion->text()))
            refreshDetail();
    });
    connect(mTxtNbDecEuroInter, &QLineEdit::textChanged, this, [this] {
        {
            const QSignalBlocker quiet(mUpDownNbDec);
            if (nbDecValid())
                mUpDownNbDec->setValue(mTxtNbDecEuroInter->text().toInt());
        }
        if (!events() || !nbDecValid())
            return;
        sharedDG()->setNbDecEuroInter(
            static_cast<std::int16_t>(mTxtNbDecEuroInter->text().toInt()));
        CmdApply_Enabled_True();
        refreshDetail();
    });
    connect(mUpDownNbDec, &QSpinBox::valueChanged, this,
            [this](int value) { mTxtNbDecEuroInter->setText(QString::number(value)); });
    connect(mCboLangue, &TwoColumnList::clicked, this, [this] {
        if (!events())
            return;
        CmdApply_Enabled_True();
        sharedDG()->setLangue(static_cast<Langue>(mCboLangue->ListIndex()));
        TranslateCombo();
        TranslateFix();
    });
    // The three preference switches: Apply on, then the preference follows the box.
    const auto onSwitch = [this](QCheckBox *box, std::function<void(bool)> set) {
        connect(box, &QCheckBox::clicked, this, [this, box, set = std::move(set)] {
            if (!events())
                return;
            applyOn();
            set(box->isChecked());
        });
    };
    onSwitch(mChkShowStatus, [this](bool on) { mDriver.setShowStatus(on); });
    onSwitch(mChkShowFirstTime, [this](bool on) {
        mDriver.setFirstTime(on);
        mPanel.setChkShowFirstTime(on);
    });
    onSwitch(mChkShowWelcom, [this](bool on) { mDriver.setShowWelcomDialog(on); });
    connect(mTxtTaux, &QLineEdit::textEdited, this, [this] { txtTaux_Change(); });
    mTxtTaux->installEventFilter(this);
    connect(mCmdCurrencyUp, &QToolButton::clicked, this, [this] { moveCurrency(-1); });
    connect(mCmdCurrencyDown, &QToolButton::clicked, this, [this] { moveCurrency(+1); });
    connect(mCmdAddDev, &QPushButton::clicked, this, [this] { CmdAddDev_Click(); });
    connect(mCmdDelDev, &QPushButton::clicked, this, [this] { CmdDelDev_Click(); });
    connect(mCmdIORates, &QPushButton::clicked, this, [this] { cmdIORates_Click(); });
    connect(mCmdAddIso, &QPushButton::clicked, this, [this] { openIsoEditor(FrmISO::Add); });
    connect(mCmdUpdateIso, &QPushButton::clicked, this, [this] {
        if (mCboIso->Text().empty())
            sharedMessage()->Msgbox(kvt::Translate(410), false);
        else
            openIsoEditor(FrmISO::Update);
    });
    connect(mCmdDevAddAlias, &QPushButton::clicked, this, [this] { CmdDevAddAlias_Click(); });
    connect(mCmdDevDelAlias, &QPushButton::clicked, this, [this] { CmdDevDelAlias_Click(); });
    connect(mCboDevAliasConv, &TwoColumnList::changed, this, [this] {
        if (events())
            CboDevAliasConv_Change();
    });
    connect(mCboIso, &TwoColumnList::clicked, this, [this] {
        if (events())
            cboIso_Click();
    });
    connect(mLstDevAlias, &TwoColumnList::clicked, this, [this] {
        if (events())
            lstDevAlias_Click();
    });
    connect(mTabCP, &QTabWidget::currentChanged, this, [this] { tabChanged(); });
    connect(mFlexTaux, &QTableWidget::currentCellChanged, this, [this] { FlexTaux_Click(); });
    connect(mCmdApply, &QPushButton::clicked, this, [this] { CmdApply_Click(); });
    connect(mCmdClose, &QPushButton::clicked, this, [this] { CmdClose_Click(); });

    const std::vector<QWidget *> order = {mTabCP,
                                          mCboDeviseFrom->widget(),
                                          mCmdInverse,
                                          mCboDeviseTo->widget(),
                                          mChkFormatDef,
                                          mCboMethodeArondi->widget(),
                                          mCboValeurCible->widget(),
                                          mOptResVal,
                                          mOptResRef,
                                          mTxtExConversion,
                                          mFlexConversion,
                                          mOptInsAuto,
                                          mOptInsManuel,
                                          mTglInsAuto[0],
                                          mTglInsAuto[1],
                                          mTglInsAuto[2],
                                          mTglInsAuto[3],
                                          mTglInsAuto[4],
                                          mFlexTaux,
                                          mTxtTaux,
                                          mCmdAddDev,
                                          mCmdDelDev,
                                          mCmdCurrencyUp,
                                          mCmdCurrencyDown,
                                          mCmdIORates,
                                          mTxtLastRatesUpdate,
                                          mTxtNbDecEuroInter,
                                          mUpDownNbDec,
                                          mCboLangue->widget(),
                                          mChkShowStatus,
                                          mChkShowFirstTime,
                                          mChkShowWelcom,
                                          mCboIso->widget(),
                                          mTxtNrDecimal,
                                          mTxtLegalFormat,
                                          mCmdAddIso,
                                          mCmdUpdateIso,
                                          mCboDevAliasConv->widget(),
                                          mLstDevAlias->widget(),
                                          mCmdDevAddAlias,
                                          mCmdDevDelAlias,
                                          mCboAliasPos->widget(),
                                          mCmdApply,
                                          mCmdClose};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FrmControlPanelWindow::step(const char *what, const std::function<void()> &work) {
    try {
        work();
    } catch (const std::exception &failure) {
        KVTBug &trace = *sharedTrace();
        try {
            const TraceBlock traced(trace, what);
            trace.Error(traced.handle(), failure.what());
        } catch (...) {
            // Nobody to tell: the routine goes on all the same.
        }
    }
}

bool FrmControlPanelWindow::events() const {
    return mDriver.EventsActive();
}

void FrmControlPanelWindow::applyOn() {
    mCmdApply->setEnabled(true);
}

void FrmControlPanelWindow::CmdApply_Enabled_True() {
    mCmdApply->setEnabled(true);
    step("evtCommonDataEditStart", [] {
        if (KVTMain *main = CurrentMain())
            main->setevtCommonDataEditStart(true);
    });
}

void FrmControlPanelWindow::load() {
    const TraceBlock traced(*sharedTrace(), "FormLoad frmCP");
    centreOnScreen(*this);
    step("LoadExConv", [this] { mDriver.LoadExConv(*mFlexConversion); });
    RefreshData();
    TranslateCombo();
    TranslateFix();
    mCmdApply->setEnabled(false);
    mDriver.setEventsActive(true);
    widenItl();
    mPanel.setTabEnabled(kTabConversion, false);
    mPanel.setCurrentTab(kTabRates);
    mLoaded = true;
    stateChanged();
}

void FrmControlPanelWindow::RefreshData() {
    const TraceBlock traced(*sharedTrace(), "RefreshData");
    const EventsPaused quiet(mDriver);
    DG &dg = *sharedDG();
    TranslateCombo();
    step("options", [this] {
        mOptInsAuto->setChecked(mDriver.InsAuto());
        mOptInsManuel->setChecked(!mDriver.InsAuto());
        mOptResVal->setChecked(mDriver.ConvParValeur());
        mOptResRef->setChecked(!mDriver.ConvParValeur());
    });
    step("SetEnabledInsPosition", [this] {
        SetEnabledInsPosition();
        showPosition();
    });
    step("UpdateValeurCible", [&] {
        mCboValeurCible->setText(dg.DevFormat());
        mDriver.UpdateValeurCible(*mCboValeurCible);
    });
    mChkFormatDef->setChecked(dg.FormatDef());
    step("LoadTableauTaux", [this] {
        mFlexTaux->hide();
        mDriver.LoadTableauTaux(*mFlexTaux);
        mFlexTaux->setVisible(mTabCP->currentIndex() == kTabRates);
        FlexTaux_Click();
    });
    step("Refresh Exemple de conversion", [this] { refreshExample(); });
    mTxtNbDecEuroInter->setText(QString::number(dg.NbDecEuroInter()));
    step("LastRatesUpdate",
         [this] { mTxtLastRatesUpdate->setText(dateTimeText(sharedChange()->LastRatesUpdate())); });
    step("EnabledAddDevise", [this] { mCmdAddDev->setEnabled(mDriver.EnabledAddDevise()); });
    mChkShowStatus->setChecked(mDriver.ShowStatus());
    mChkShowFirstTime->setChecked(mDriver.FirstTime());
    mChkShowWelcom->setChecked(mDriver.ShowWelcomDialog());
}

void FrmControlPanelWindow::TranslateCombo() {
    const TraceBlock traced(*sharedTrace(), "TranslateCombo");
    const EventsPaused quiet(mDriver);
    DG &dg = *sharedDG();
    const std::string iso = mCboIso->ListIndex() >= 0 ? mCboIso->Text() : std::string();
    step("LoadcboISO", [this] { mDriver.LoadcboISO(*mCboIso); });
    step("LoadcboDevise", [this] {
        mDriver.LoadcboDevise(*mCboDeviseFrom);
        mDriver.LoadcboDevise(*mCboDeviseTo);
    });
    mCboDeviseFrom->setListIndex(listLookup(*mCboDeviseFrom, dg.DeviseFrom()));
    mCboDeviseTo->setListIndex(listLookup(*mCboDeviseTo, dg.DeviseTo()));
    mCboIso->setListIndex(iso.empty() ? -1 : listLookup(*mCboIso, iso));
    if (mCboIso->ListIndex() < 0) {
        mLblLegalFormat->clear();
        mChkInEuro->setCheckState(Qt::PartiallyChecked);
    }
    dg.setDeviseTo(mCboDeviseTo->Text());
    dg.setDeviseFrom(mCboDeviseFrom->Text());
    step("LoadcboLangue", [&] {
        mDriver.LoadcboLangue(*mCboLangue);
        mCboLangue->setListIndex(dg.Langue());
    });
    step("LoadcboMethodeArondi", [&] {
        mDriver.LoadcboMethodeArondi(*mCboMethodeArondi);
        mCboMethodeArondi->setListIndex(dg.MethodeArondi() - Legal);
    });
}

void FrmControlPanelWindow::TranslateFix() {
    const TraceBlock traced(*sharedTrace(), "TranslateFix");
    step("UpdateHelpFile", [this] { mDriver.UpdateHelpFile(); });
    const std::pair<QWidget *, int> captions[] = {
        {mFrmMonaie, 5},         {mChkFormatDef, 7},     {mFrmArondi, 8},
        {mLblMethode, 107},      {mLblValeurCible, 111}, {mFrmRes, 117},
        {mOptResVal, 118},       {mFrmExemple, 125},     {mFrmEmplacement, 108},
        {mOptInsAuto, 109},      {mOptInsManuel, 110},   {mCmdApply, 155},
        {mCmdClose, 156},        {mCmdIORates, 166},     {mLblLastRatesUpdate, 1204},
        {mCmdAddDev, 162},       {mCmdDelDev, 163},      {mFrmCalcul, 9},
        {mLblNbDec, 10},         {mLblEntre3et15, 11},   {mFrmDivers, 12},
        {mLblLangue, 3},         {mChkShowStatus, 13},   {mChkShowFirstTime, 50},
        {mChkShowWelcom, 53},    {mFrmDevise, 121},      {mLblIsoCode, 400},
        {mChkInEuro, 402},       {mLblNrDecimal, 423},   {mLblLegalFormat, 403},
        {mCmdAddIso, 407},       {mCmdUpdateIso, 413},   {mFrmDevAlias, 165},
        {mLblDevAliasConv, 164}, {mCmdDevAddAlias, 162}, {mCmdDevDelAlias, 163},
        {mLblAliasPos, 417}};
    step("captions", [&] {
        setWindowTitle(messageText(105));
        mTabCP->setTabText(kTabConversion, messageText(101));
        mTabCP->setTabText(kTabRates, messageText(122));
        mTabCP->setTabText(kTabOptions, messageText(6));
        mOptResRef->setText(messageText(119) + QLatin1Char(' ') + messageText(120));
        for (const auto &[widget, message] : captions) {
            const QString text = messageText(message);
            if (auto *box = qobject_cast<QGroupBox *>(widget))
                box->setTitle(text);
            else if (auto *label = qobject_cast<QLabel *>(widget))
                label->setText(text);
            else if (auto *button = qobject_cast<QAbstractButton *>(widget))
                button->setText(text);
        }
    });
    step("tool tips", [this] {
        const std::pair<QWidget *, int> tips[] = {
            {mCmdInverse, 102}, {mTxtExConversion, 509}, {mCmdAddDev, 530},
            {mCmdDelDev, 531},  {mCmdCurrencyUp, 541},   {mCmdCurrencyDown, 542},
            {mCmdAddIso, 540},  {mCmdDevAddAlias, 537},  {mCmdDevDelAlias, 538}};
        for (const auto &[widget, message] : tips)
            widget->setToolTip(messageText(message));
        mCmdUpdateIso->setToolTip(messageText(mCmdUpdateIso->isEnabled() ? 412 : 411));
        for (std::size_t i = 0; i < mTglInsAuto.size(); ++i) {
            const QString tip = messageText(112 + static_cast<int>(i));
            mTglInsAuto[i]->setToolTip(tip);
            mTglInsAuto[i]->setAccessibleName(tip);
        }
        // Buttons that show a symbol are named by their tip; fields without a label too.
        for (QWidget *widget : std::vector<QWidget *>{mCmdInverse, mCmdCurrencyUp, mCmdCurrencyDown,
                                                      mTxtExConversion})
            widget->setAccessibleName(widget->toolTip());
        mFlexTaux->setAccessibleName(messageText(122));
        mFlexConversion->setAccessibleName(messageText(125));
        mUpDownNbDec->setAccessibleName(messageText(10));
        mLstDevAlias->widget()->setAccessibleName(messageText(165));
    });
    if (mIsoEditor)
        step("FrmISO", [this] { mIsoEditor->TranslateFix(); });
    step("lblIsoName", [this] {
        const int index = mCboIso->ListIndex();
        mLblIsoName->setText(index < 0 ? QString()
                                       : QString::fromStdString(mCboIso->List(index, 1)));
    });
}

void FrmControlPanelWindow::stateChanged() {
    for (int tab = 0; tab < FrmControlPanel::kTabCount; ++tab)
        mTabCP->setTabEnabled(tab, mPanel.TabEnabled(tab));
    if (mTabCP->currentIndex() != mPanel.CurrentTab() && mPanel.TabEnabled(mPanel.CurrentTab()))
        mTabCP->setCurrentIndex(mPanel.CurrentTab());
    mLblHelp->setText(windowText(mPanel.lblHelp()));
    const QSignalBlocker quiet(mChkShowFirstTime);
    mChkShowFirstTime->setChecked(mPanel.ChkShowFirstTime());
    mFlexTaux->setVisible(mTabCP->currentIndex() == kTabRates);
}

void FrmControlPanelWindow::tabChanged() {
    if (!mLoaded)
        return;
    const int current = mTabCP->currentIndex();
    if (current >= 0)
        mPanel.setCurrentTab(current);
    std::string help;
    if (!mPanel.TabEnabled(kTabRates) && !mPanel.TabEnabled(kTabOptions)) {
        std::string editor;
        step("CommonDataEditor", [&] {
            if (KVTMain *main = CurrentMain())
                editor = main->TheAddInMgr().CommonDataEditor();
        });
        help = kvt::Translate(553) + " " + editor + "\r\n" + kvt::Translate(554);
    }
    mPanel.setlblHelp(help);
    mPanel.setFlexTauxVisible(current == kTabRates);
    mFlexTaux->setVisible(current == kTabRates);
}

void FrmControlPanelWindow::SetEnabledInsPosition() {
    const TraceBlock traced(*sharedTrace(), "SetEnabledInsPosition");
    const bool automatic = mOptInsAuto->isChecked();
    for (QToolButton *button : mTglInsAuto)
        button->setVisible(automatic);
    mDriver.setInsAuto(automatic);
    applyOn();
}

void FrmControlPanelWindow::showPosition() {
    const EventsPaused quiet(mDriver);
    for (std::size_t i = 0; i < mTglInsAuto.size(); ++i)
        mTglInsAuto[i]->setChecked(static_cast<int>(i) == mDriver.InsAutoType());
}

void FrmControlPanelWindow::refreshExample() {
    const TraceBlock traced(*sharedTrace(), "Refresh Exemple de conversion");
    refreshDetail();
    step("LoadExConv", [this] { mDriver.LoadExConv(*mFlexConversion); });
}

void FrmControlPanelWindow::refreshDetail() {
    const TraceBlock traced(*sharedTrace(), "Refresh du d\u00e9tail de conversion");
    if (!amountOf(mTxtExConversion->text())) {
        const EventsPaused quiet(mDriver);
        mTxtExConversion->setText(QStringLiteral("1"));
    }
    step("UpdateTaux", [this] {
        ConversionDetail from;
        ConversionDetail to;
        mDriver.UpdateTaux(amountOf(mTxtExConversion->text()).value_or(1), from, to);
        mTxtExConversion->setVisible(!from[0].empty());
        for (std::size_t i = 0; i < from.size(); ++i) {
            mLblDevFrom[i]->setText(QString::fromStdString(from[i]));
            mLblEgale[i]->setVisible(!from[i].empty());
            mLblDevTo[i]->setText(QString::fromStdString(to[i]));
        }
    });
}

bool FrmControlPanelWindow::nbDecValid() const {
    bool ok = false;
    const int value = mTxtNbDecEuroInter->text().toInt(&ok);
    return ok && value >= kMinNbDec && value <= kMaxNbDec;
}

bool FrmControlPanelWindow::save() {
    const TraceBlock traced(*sharedTrace(), "Sauvegarde dans registry");
    if (!mDriver.ConvOK()) {
        sharedMessage()->Msgbox(kvt::Translate(128), true);
        return false;
    }
    bool tables = true;
    mDriver.SaveReg(true, true, tables);
    mDriver.setCPResult(true);
    return true;
}

bool FrmControlPanelWindow::CheckApply() {
    const TraceBlock traced(*sharedTrace(), "CheckApply");
    if (!mCmdApply->isEnabled())
        return true;
    const BoxAnswer answer = messageBoxes().show(
        {"Talvio", kvt::Translate(127), BoxIcon::Question, BoxButtons::YesNoCancel});
    if (answer == BoxAnswer::Yes) {
        bool saved = false;
        step("Sauvegarde dans registry", [&] { saved = save(); });
        if (saved)
            mCmdApply->setEnabled(false);
        return saved;
    }
    if (answer == BoxAnswer::No) {
        step("ReadReg", [this] { mDriver.ReadReg(); });
        RefreshData();
        TranslateCombo();
        TranslateFix();
        mCmdApply->setEnabled(false);
        return true;
    }
    return false;
}

void FrmControlPanelWindow::CmdApply_Click() {
    bool saved = false;
    step("Sauvegarde dans registry", [&] { saved = save(); });
    if (!saved)
        return;
    mCmdApply->setEnabled(false);
    hide();
    step("evtCommonDataEditFinished", [] {
        if (KVTMain *main = CurrentMain())
            main->setevtCommonDataEditFinished(true);
    });
}

void FrmControlPanelWindow::CmdClose_Click() {
    if (!CheckApply())
        return;
    step("evtCommonDataEditFinished", [] {
        if (KVTMain *main = CurrentMain())
            main->setevtCommonDataEditFinished(true);
    });
    hide();
}

void FrmControlPanelWindow::reject() {
    CmdClose_Click();
}

void FrmControlPanelWindow::closeEvent(QCloseEvent *event) {
    // The close box closes as Close does: the window hides, keeping its state, and an edit of
    // the common data ends, or the other add-ins would stay locked behind a hidden panel.
    event->ignore();
    CmdClose_Click();
}

bool FrmControlPanelWindow::eventFilter(QObject *watched, QEvent *event) {
    const auto help = mHelpTexts.find(watched);
    if (help != mHelpTexts.end()) {
        if (event->type() == QEvent::FocusIn) {
            std::string text;
            for (const int message : help->second)
                text.append(text.empty() ? "" : " ").append(kvt::Translate(message));
            mPanel.setlblHelp(text);
        } else if (event->type() == QEvent::FocusOut) {
            mPanel.setlblHelp({});
        }
    }
    const bool valeurCible =
        watched == mCboValeurCible->comboBox()->lineEdit() || watched == mCboValeurCible->widget();
    const bool nbDec = watched == mTxtNbDecEuroInter;
    if ((valeurCible || nbDec) && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString typed = key->text();
        if (typed.size() == 1 && typed.front().isPrint()) {
            const QString accepted =
                valeurCible ? QStringLiteral("0123456789Xx.") : QStringLiteral("0123456789");
            if (!accepted.contains(typed.front()))
                return true;
            if (typed == QStringLiteral("x")) {
                auto *edit = qobject_cast<QLineEdit *>(watched);
                if (!edit)
                    edit = mCboValeurCible->comboBox()->lineEdit();
                if (edit)
                    edit->insert(QStringLiteral("X"));
                return true;
            }
        }
    }
    if (watched == mTxtTaux && event->type() == QEvent::FocusOut) {
        // Only when the user leaves it, not when a box or another window takes the focus.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QMetaObject::invokeMethod(
                this, [this] { txtTaux_Leave(); }, Qt::QueuedConnection);
    }
    if (nbDec && event->type() == QEvent::FocusOut && !nbDecValid()) {
        // The field keeps the focus until it holds 3 to 15.
        QMetaObject::invokeMethod(
            this, [this] { mTxtNbDecEuroInter->setFocus(Qt::OtherFocusReason); },
            Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

void FrmControlPanelWindow::ShowModal() {
    stateChanged();
    setModal(true);
    show();
    // Hidden, not closed: the window keeps its state, and the wait ends when it hides.
    QEventLoop loop;
    mHiddenLoop = &loop;
    loop.exec();
    mHiddenLoop = nullptr;
}

void FrmControlPanelWindow::hideEvent(QHideEvent *event) {
    QDialog::hideEvent(event);
    if (mHiddenLoop)
        mHiddenLoop->quit();
}

void FrmControlPanelWindow::LoadClickTableTaux() {
    step("LoadTableauTaux", [this] { mDriver.LoadTableauTaux(*mFlexTaux); });
    FlexTaux_Click();
}

void FrmControlPanelWindow::AliasDefault(const std::string &currency, const std::string &alias) {
    const std::string before = mCboIso->Text();
    mCboIso->setListIndex(listLookup(*mCboIso, currency));
    step("LoadCboDeviseAlias",
         [this] { mDriver.LoadCboDeviseAlias(*mCboDevAliasConv, mCboIso->Text(), true); });
    mCboDevAliasConv->setListIndex(listLookup(*mCboDevAliasConv, alias));
    step("aliasDef", [this] {
        const int chosen = mCboDevAliasConv->ListIndex();
        sharedChange()
            ->ColISO()
            ->Item(mCboIso->Text())
            ->setStoredAliasDef(chosen <= 0 ? std::string(CurrencyRecord::kNoDefaultAlias)
                                            : mCboDevAliasConv->Text());
        CmdApply_Enabled_True();
    });
    CmdApply_Click();
    mCboIso->setListIndex(listLookup(*mCboIso, before));
}

} // namespace kvt::windows
