#pragma once

#include "core/facade/FacadeFixture.h"
#include "model/DG.h"
#include "support/WindowDriving.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kvt::test {

// Acts on the next modal window once it is shown and active, from inside its event loop: call
// it just before the call that shows the window and waits.
inline void onModal(std::function<void(QWidget &)> act, int triesLeft = 1000) {
    QTimer::singleShot(5, [act = std::move(act), triesLeft]() mutable {
        if (QWidget *modal = QApplication::activeModalWidget();
            modal && modal->isVisible() && modal->isActiveWindow())
            act(*modal);
        else if (triesLeft > 0)
            onModal(std::move(act), triesLeft - 1);
        else
            ADD_FAILURE() << "no modal window was shown";
    });
}

// The objectName of the focused control after each of `presses` Tab keys.
inline QStringList tabSequence(int presses) {
    QStringList names;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

// A facade started on the shipped message file, in English unless a test says otherwise.
class SmallDialogs : public FacadeFixture {
protected:
    void SetUp() override {
        FacadeFixture::SetUp();
        main = startedFacade();
        sharedDG()->setLangue(EN);
    }
    void TearDown() override {
        main.reset();
        FacadeFixture::TearDown();
    }

    std::unique_ptr<KVTMain> main;
};

} // namespace kvt::test
