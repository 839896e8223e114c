#include "windows/FrmBienvenue.h"

#include "windows/Application.h"
#include "windows/ProductImage.h"
#include "windows/WindowLayout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace kvt::windows {

namespace {

constexpr int kImageSize = 96;
// How long the screen waits for the window system to map it before painting regardless.
constexpr int kExposeWaitMs = 1000;

// Never deleted at exit: the host may still hold the application's windows then.
QPointer<FrmBienvenue> gWelcome;

// Ends a wait once the window can be painted on.
class ExposeWait final : public QObject {
public:
    ExposeWait(QWindow &window, QEventLoop &loop)
        : mWindow(window)
        , mLoop(loop) {
        mWindow.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Expose && mWindow.isExposed())
            mLoop.quit();
        return false;
    }

private:
    QWindow &mWindow;
    QEventLoop &mLoop;
};

} // namespace

void FrmBienvenue::load(const std::array<std::string, 4> &texts) {
    ensureApplication();
    if (!gWelcome)
        gWelcome = new FrmBienvenue;
    gWelcome->setTexts(texts);
    gWelcome->paintNow();
}

void FrmBienvenue::unload() {
    delete gWelcome.data();
}

FrmBienvenue *FrmBienvenue::shown() {
    return gWelcome;
}

FrmBienvenue::FrmBienvenue()
    : QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmBienvenue"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameStyle(QFrame::Box | QFrame::Raised);
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(productImage(kImageSize));
    auto *lines = new QVBoxLayout;
    const std::array<const char *, 4> names = {"lblTitle", "lblVersion", "lblSociete", "lblYear"};
    for (std::size_t line = 0; line < names.size(); ++line) {
        mLines[line] = new QLabel(this);
        mLines[line]->setObjectName(QString::fromLatin1(names[line]));
        lines->addWidget(mLines[line]);
    }
    QFont title = mLines[0]->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    mLines[0]->setFont(title);
    auto *page = new QHBoxLayout(this);
    page->setContentsMargins(24, 24, 24, 24);
    page->setSpacing(24);
    page->addWidget(image);
    page->addLayout(lines);
}

void FrmBienvenue::setTexts(const std::array<std::string, 4> &texts) {
    for (std::size_t line = 0; line < texts.size(); ++line)
        mLines[line]->setText(QString::fromStdString(texts[line]));
    setWindowTitle(mLines[0]->text());
    adjustSize();
    centreOnScreen(*this);
}

void FrmBienvenue::paintNow() {
    show();
    raise();
    // The window system maps a new window a moment later; wait for that, without taking the
    // user's input meanwhile, so that the paint below lands on the screen.
    QWindow *window = windowHandle();
    if (window && !window->isExposed()) {
        QEventLoop loop;
        const ExposeWait wait(*window, loop);
        QTimer::singleShot(kExposeWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kvt::windows
