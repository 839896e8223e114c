#pragma once

#include "TraceDialogs.h"

#include <QObject>
#include <QString>
#include <memory>

namespace kvt::tracer {

class FrmDebug;

// One trace window as its client sees it on the bus (org.talvio.MainDebug). No report ever
// fails towards the client: whatever goes wrong inside is skipped.
class MainDebug final : public QObject {
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
    QString mPath;
    QString mOwner;
    std::unique_ptr<FrmDebug> mWindow;
};

} // namespace kvt::tracer
