#include "MainDebug.h"

#include "FrmDebug.h"

#include <QDebug>
#include <exception>

namespace kvt::tracer {

namespace {

// The viewer never fails a report: a step that throws is skipped and noted on stderr.
template<class Step>
auto skippingFailure(const char *operation, Step &&step) -> decltype(step()) {
    try {
        return step();
    } catch (const std::exception &failure) {
        qWarning("KVTDebug: %s skipped: %s", operation, failure.what());
    }
    return decltype(step())();
}

} // namespace

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
    mWindow->setWindowTitle(rstrTitle);
}

void MainDebug::Msg(short vintHandle, const QString &rstrMessage) {
    skippingFailure("Msg", [&] { mWindow->tree().Msg(vintHandle, rstrMessage.toStdString()); });
}

void MainDebug::Error(short vintHandle, const QString &rstrMessage) {
    skippingFailure("Error", [&] { mWindow->tree().Error(vintHandle, rstrMessage.toStdString()); });
}

short MainDebug::FctBegin(const QString &rstrFct) {
    return skippingFailure("FctBegin",
                           [&] { return mWindow->tree().FctBegin(rstrFct.toStdString()); });
}

void MainDebug::FctEnd(short vintHandle, const QString &rstrMotdeFin) {
    skippingFailure("FctEnd",
                    [&] { mWindow->tree().FctEnd(vintHandle, rstrMotdeFin.toStdString()); });
}

void MainDebug::Clear() {
    mWindow->tree().Clear();
}

QString MainDebug::Text() {
    return skippingFailure("Text", [&] { return QString::fromStdString(mWindow->tree().Text()); });
}

void MainDebug::Release() {
    emit released(this);
}

} // namespace kvt::tracer
