#pragma once

#include "TraceDialogs.h"

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <memory>

namespace kvt::tracer {

class FrmDebug;

// One trace window as its client sees it on the bus (org.talvio.MainDebug). Only the connection
// that created it may report to it or release it; anybody may read its text and title, as
// anybody may look at the window. A report past a bound (TraceLimits.h) gets an error that
// states it; nothing else fails towards the client: whatever goes wrong inside is skipped.
class MainDebug final : public QObject, protected QDBusContext {
    Q_OBJECT
    // The window's title as the client last set it, for whoever watches the trace.
    Q_PROPERTY(QString WindowTitle READ WindowTitle)

public:
    MainDebug(QString path, QString owner, TraceDialogs dialogs, QObject *parent = nullptr);
    ~MainDebug() override;

    const QString &path() const { return mPath; }
    // The bus connection that created the object and holds it.
    const QString &owner() const { return mOwner; }
    FrmDebug &window() { return *mWindow; }
    QString WindowTitle() const;

public Q_SLOTS:
    void Title(const QString &rstrTitle);
    void Msg(short vintHandle, const QString &rstrMessage);
    void Error(short vintHandle, const QString &rstrMessage);
    short FctBegin(const QString &rstrFct);
    void FctEnd(short vintHandle, const QString &rstrMotdeFin);
    void Clear();
    QString Text();
    void Release();

Q_SIGNALS:
    void released(kvt::tracer::MainDebug *object);

private:
    // Runs a step of a report from the owner: another caller is denied, a bound's refusal
    // becomes the call's error, any other failure is skipped.
    template<class Step>
    auto report(const char *operation, Step &&step) -> decltype(step());

    QString mPath;
    QString mOwner;
    std::unique_ptr<FrmDebug> mWindow;
};

} // namespace kvt::tracer
