#include "windows/FrmFirstTime.h"

#include "facade/KVTMain.h"
#include "messages/Message.h"
#include "model/CurrencyValues.h"
#include "model/DG.h"
#include "model/Registry.h"
#include "ui/LanguageList.h"
#include "windows/Application.h"
#include "windows/ProductImage.h"
#include "windows/Reported.h"
#include "windows/TwoColumnList.h"
#include "windows/WindowLayout.h"
#include "windows/WindowText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kvt::windows {

namespace {

constexpr const char *kFirstTimeKey = "FirstTime";
constexpr int kImageSize = 64;

FrmFirstTime *gShown = nullptr;

QLabel *label(const char *name, QWidget *parent) {
    auto *made = new QLabel(parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

// A filling step that fails leaves its controls as they were, and the window fills the rest.
template<class Work>
void fillStep(Work &&work) {
    try {
        work();
    } catch (const std::exception &) {
    }
}

} // namespace

void FrmFirstTime::GO(KVTMain &main, bool force) {
    const bool on = sharedRegistry()->strGetSetting(reg::kUserChoice, kFirstTimeKey, "ON") == "ON";
    if (!on && !force)
        return;
    ensureApplication();
    FrmFirstTime wizard(main, !on);
    main.mFirstTimeShown = true;
    wizard.exec();
}

FrmFirstTime *FrmFirstTime::shown() {
    return gShown;
}

FrmFirstTime::FrmFirstTime(KVTMain &main, bool dontShowNextTime)
    : mMain(main)
    , mLblChoice(label("lblChoice", this))
    , mLblLanguage(label("lblLanguage", this))
    , mCboLangue(new TwoColumnList(QStringLiteral("cboLangue"), this))
    , mLblCur(label("lblCur", this))
    , mLblFrom(label("lblFrom", this))
    , mCboCurFrom(new TwoColumnList(QStringLiteral("cboCurFrom"), this))
    , mLblTo(label("lblTo", this))
    , mCboCurTo(new TwoColumnList(QStringLiteral("CboCurTo"), this))
    , mTxtFirstTime(new QPlainTextEdit(this))
    , mChkDontShowNextTime(new QCheckBox(this))
    , mCmdQuit(new QPushButton(this)) {
    setObjectName(QStringLiteral("FrmFirstTime"));
    mCboLangue->setColumnCount(1);
    for (TwoColumnList *currencies : {mCboCurFrom, mCboCurTo}) {
        currencies->setColumnWidths({50});
        currencies->setListWidth(200);
    }
    mLblLanguage->setBuddy(mCboLangue->widget());
    mLblFrom->setBuddy(mCboCurFrom->widget());
    mLblTo->setBuddy(mCboCurTo->widget());
    mTxtFirstTime->setObjectName(QStringLiteral("txtFirstTime"));
    mTxtFirstTime->setReadOnly(true);
    // Read-only, yet a keyboard user can move through it and select; Tab leaves it.
    mTxtFirstTime->setTextInteractionFlags(Qt::TextSelectableByKeyboard
                                           | Qt::TextSelectableByMouse);
    mTxtFirstTime->setTabChangesFocus(true);
    const QFontMetrics metrics(mTxtFirstTime->font());
    mTxtFirstTime->setMinimumWidth(metrics.averageCharWidth() * 84);
    mChkDontShowNextTime->setObjectName(QStringLiteral("ChkDontShowNextTime"));
    mChkDontShowNextTime->setChecked(dontShowNextTime);
    mCmdQuit->setObjectName(QStringLiteral("CmdQuit"));
    mCmdQuit->setDefault(true);
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image2"));
    image->setPixmap(productImage(kImageSize));
    image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *choices = new QGridLayout;
    choices->addWidget(mLblChoice, 0, 0, 1, 2);
    choices->addWidget(mLblLanguage, 1, 0);
    choices->addWidget(mCboLangue->widget(), 1, 1);
    choices->addWidget(mLblCur, 2, 0, 1, 2);
    choices->addWidget(mLblFrom, 3, 0);
    choices->addWidget(mCboCurFrom->widget(), 3, 1);
    choices->addWidget(mLblTo, 4, 0);
    choices->addWidget(mCboCurTo->widget(), 4, 1);
    choices->setColumnStretch(1, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(image);
    top->addLayout(choices, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mChkDontShowNextTime);
    buttons->addStretch(1);
    buttons->addWidget(mCmdQuit);
    auto *page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(mTxtFirstTime, 1);
    page->addLayout(buttons);

    setTabOrder(mCboLangue->widget(), mCboCurFrom->widget());
    setTabOrder(mCboCurFrom->widget(), mCboCurTo->widget());
    setTabOrder(mCboCurTo->widget(), mTxtFirstTime);
    setTabOrder(mTxtFirstTime, mChkDontShowNextTime);
    setTabOrder(mChkDontShowNextTime, mCmdQuit);

    connect(mCboLangue, &TwoColumnList::changed, this, &FrmFirstTime::cboLangue_Change);
    connect(mCboCurFrom, &TwoColumnList::changed, this, &FrmFirstTime::cboCurFrom_Change);
    connect(mCboCurTo, &TwoColumnList::changed, this, &FrmFirstTime::CboCurTo_Change);
    connect(mChkDontShowNextTime, &QCheckBox::clicked, this,
            &FrmFirstTime::ChkDontShowNextTime_Click);
    connect(mCmdQuit, &QPushButton::clicked, this, &FrmFirstTime::CmdQuit_Click);

    load();
    adjustSize();
    centreOnScreen(*this);
    gShown = this;
}

FrmFirstTime::~FrmFirstTime() {
    if (gShown == this)
        gShown = nullptr;
}

void FrmFirstTime::load() {
    mReady = false;
    fillStep([&] { LoadcboLangue(*mCboLangue); });
    fillStep([&] { fillCurrencies(); });
    fillStep([&] { mCboLangue->setListIndex(sharedDG()->Langue()); });
    translate();
    mReady = true;
}

void FrmFirstTime::fillCurrencies() {
    const CodeNameList currencies = mMain.Currencies();
    const DG &dg = *sharedDG();
    for (auto [list, selected] :
         {std::pair{mCboCurFrom, dg.DeviseFrom()}, std::pair{mCboCurTo, dg.DeviseTo()}}) {
        list->Clear();
        for (std::size_t row = 0; row < currencies[0].size(); ++row)
            list->AddItem(currencies[0][row], currencies[1][row]);
        list->setListIndex(listLookup(*list, selected));
    }
}

void FrmFirstTime::translate() {
    setWindowTitle(messageText(14));
    mLblChoice->setText(messageText(16));
    mLblLanguage->setText(messageText(17));
    mLblCur->setText(messageText(18));
    mLblFrom->setText(messageText(19));
    mLblTo->setText(messageText(49));
    QString about = messageText(20);
    for (std::int32_t message = 21; message <= 30; ++message)
        about += QLatin1Char('\n') + messageText(message);
    mTxtFirstTime->setPlainText(about);
    // Room for the whole text without scrolling, in the user's font and language: the lines as
    // they wrap in the box's width, its frame and the document's margins.
    const QFontMetrics metrics(mTxtFirstTime->font());
    const int margins = 2
                        * (mTxtFirstTime->frameWidth()
                           + static_cast<int>(mTxtFirstTime->document()->documentMargin()));
    const QRect wrapped = metrics.boundingRect(
        QRect(0, 0, mTxtFirstTime->minimumWidth() - margins, 1 << 20), Qt::TextWordWrap, about);
    mTxtFirstTime->setMinimumHeight(wrapped.height() + margins + 2 * metrics.lineSpacing());
    // The text has no label: it is the window's own explanation.
    mTxtFirstTime->setAccessibleName(messageText(14));
    mChkDontShowNextTime->setText(messageText(15));
    mCmdQuit->setText(messageText(156));
}

void FrmFirstTime::cboLangue_Change() {
    if (!mReady || mCboLangue->ListIndex() < 0)
        return;
    reported("cboLangue_Change", [&] {
        const auto language = static_cast<kvt::Langue>(mCboLangue->ListIndex());
        sharedDG()->setLangue(language);
        load();
        // The national currency of the language becomes the source, when the user's list
        // holds it; otherwise the source stays as it was.
        mCboCurFrom->setText(QString::fromStdString(DG::DefaultIso(language)));
        mMain.CPTranslate();
    });
}

void FrmFirstTime::cboCurFrom_Change() {
    if (!mReady)
        return;
    reported("cboCurFrom_Change", [&] {
        sharedDG()->setDeviseFrom(mCboCurFrom->text().toStdString());
        mMain.CPTranslate();
    });
}

void FrmFirstTime::CboCurTo_Change() {
    if (!mReady)
        return;
    reported("CboCurTo_Change", [&] {
        sharedDG()->setDeviseTo(mCboCurTo->text().toStdString());
        mMain.CPTranslate();
    });
}

void FrmFirstTime::ChkDontShowNextTime_Click() {
    reported("ChkDontShowNextTime_Click", [&] {
        const bool dontShow = mChkDontShowNextTime->isChecked();
        sharedRegistry()->SetReg(reg::kUserChoice, kFirstTimeKey, dontShow ? "OFF" : "ON");
        mMain.setShowFirstTime(!dontShow);
        mMain.CPTranslate();
    });
}

void FrmFirstTime::CmdQuit_Click() {
    done(QDialog::Accepted);
}

void FrmFirstTime::reject() {
    CmdQuit_Click();
}

} // namespace kvt::windows
