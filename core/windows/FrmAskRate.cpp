#include "windows/FrmAskRate.h"

#include "windows/QtMessageBoxes.h"
#include "windows/WindowLayout.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace kvt::windows {

namespace {

QPointer<FrmAskRate> &theWindow() {
    static QPointer<FrmAskRate> window;
    return window;
}

QLabel *plainLabel(QWidget *parent, const char *name) {
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // Codes and texts are shown as they are, never read as markup or mnemonics.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

FrmAskRate::FrmAskRate(QWidget *parent)
    : QDialog(parent)
    , lblMsg(plainLabel(this, "lblMsg"))
    , lblDevisefrom(plainLabel(this, "lblDevisefrom"))
    , txtRate(new QLineEdit(this))
    , lblDeviseTo(plainLabel(this, "lblDeviseTo"))
    , OKButton(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("FrmAskRate"));
    setModal(true);
    lblMsg->setWordWrap(true);
    txtRate->setObjectName(QStringLiteral("txtRate"));
    // The field is read out as "1 USD =", the words in front of it.
    lblDevisefrom->setBuddy(txtRate);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(lblMsg, 0, 0, 1, 3);
    layout->addWidget(lblDevisefrom, 1, 0);
    layout->addWidget(txtRate, 1, 1);
    layout->addWidget(lblDeviseTo, 1, 2);
    layout->addWidget(OKButton, 2, 0, 1, 3, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmAskRate::init(const RateQuestion &question) {
    setWindowTitle(windowText(question.caption));
    lblMsg->setText(windowText(question.explanation));
    lblDevisefrom->setText(windowText("1 " + question.from + " ="));
    lblDeviseTo->setText(windowText(question.to));
    txtRate->setText(windowText(question.initialText));
    txtRate->setAccessibleDescription(lblMsg->text());
}

void FrmAskRate::selectRate() {
    txtRate->setFocus();
    txtRate->selectAll();
}

void FrmAskRate::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    selectRate();
    mSelectOnActivation = true;
}

// When the previous showing ended with a click on OK, the end of that focus change can arrive
// after the window is shown again and clear the selection; the window becoming active comes
// after it, so it selects again. Only the first activation of a showing does: coming back to
// the window later keeps what the user typed as it was.
bool FrmAskRate::event(QEvent *event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate && mSelectOnActivation) {
        mSelectOnActivation = false;
        selectRate();
    }
    return handled;
}

std::string FrmAskRate::showModal() {
    adjustSize();
    centreOnScreen(*this);
    // The result is not looked at: OK, Escape and the close box all just hide the window.
    exec();
    return txtRate->text().toStdString();
}

std::optional<std::string> AskRateWindowPrompt::ask(const RateQuestion &question) {
    if (!windowsAvailable())
        return std::nullopt;
    QPointer<FrmAskRate> &window = theWindow();
    // A question that comes while the window is open (an event handled meanwhile that needs
    // another rate) cannot share it: it gives up rather than take the open question's answer.
    if (window && window->isVisible())
        return std::nullopt;
    // Never deleted, like the application: it is kept between questions until the process ends.
    if (!window)
        window = new FrmAskRate;
    window->init(question);
    return window->showModal();
}

FrmAskRate *askRateWindow() {
    return theWindow();
}

} // namespace kvt::windows
