#include "MainDebug.h"

#include "FrmDebug.h"
#include "TraceLimits.h"

#include <QDBusMessage>
#include <QDebug>
#include <exception>

namespace kvt::tracer {

namespace {

constexpr auto kLimitExceededError = "org.talvio.Error.LimitExceeded";

} // namespace

template<class Step>
auto MainDebug::report(const char *operation, Step &&step) -> decltype(step()) {
    // Calls made in this process (the window's own tests) have no connection to check.
    if (calledFromDBus() && message().service() != mOwner) {
        sendErrorReply(
            QDBusError::AccessDenied,
            QStringLiteral("The trace window %1 belongs to another connection").arg(mPath));
        return decltype(step())();
    }
    try {
        return step();
    } catch (const LimitExceeded &refused) {
        if (!calledFromDBus())
            throw;
        sendErrorReply(QString::fromLatin1(kLimitExceededError),
                       QString::fromStdString(refused.what()));
    } catch (const std::exception &failure) {
        qWarning("KVTDebug: %s skipped: %s", operation, failure.what());
    }
    return decltype(step())();
}

MainDebug::MainDebug(QString path, QString owner, TraceDialogs dialogs, QObject *parent)
    : QObject(parent)
    , mPath(std::move(path))
    , mOwner(std::move(owner))
    , mWindow(std::make_unique<FrmDebug>(std::move(dialogs))) {
    mWindow->setWindowTitle(QStringLiteral("KVTDebug"));
    mWindow->show();
}

MainDebug::~MainDebug() = default;

QString MainDebug::WindowTitle() const {
    return mWindow->windowTitle();
}

void MainDebug::Title(const QString &rstrTitle) {
    report("Title", [&] {
        requireLineLength("A title", rstrTitle.toStdString());
        mWindow->setWindowTitle(rstrTitle);
    });
}

void MainDebug::Msg(short vintHandle, const QString &rstrMessage) {
    report("Msg", [&] { mWindow->tree().Msg(vintHandle, rstrMessage.toStdString()); });
}

void MainDebug::Error(short vintHandle, const QString &rstrMessage) {
    report("Error", [&] { mWindow->tree().Error(vintHandle, rstrMessage.toStdString()); });
}

short MainDebug::FctBegin(const QString &rstrFct) {
    return report("FctBegin", [&] { return mWindow->tree().FctBegin(rstrFct.toStdString()); });
}

void MainDebug::FctEnd(short vintHandle, const QString &rstrMotdeFin) {
    report("FctEnd", [&] { mWindow->tree().FctEnd(vintHandle, rstrMotdeFin.toStdString()); });
}

void MainDebug::Clear() {
    report("Clear", [&] { mWindow->tree().Clear(); });
}

QString MainDebug::Text() {
    try {
        return QString::fromStdString(mWindow->tree().Text(kLongestText));
    } catch (const std::exception &failure) {
        qWarning("KVTDebug: Text skipped: %s", failure.what());
    }
    return {};
}

void MainDebug::Release() {
    report("Release", [&] { emit released(this); });
}

} // namespace kvt::tracer
