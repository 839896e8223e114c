#pragma once

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kvt::test {

// The control of the window with that objectName; a missing one fails the test where it is met.
template<class Control = QWidget>
Control &child(const QWidget &window, const char *name) {
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

// Acts on the modal window, active, once it shows, while the code under test waits in it: make
// it just before the call that shows the window (from inside a modal window, for one it opens). A
// window the action leaves open is closed, so that a failing test cannot hang.
class WhenModal {
public:
    explicit WhenModal(std::function<void(QWidget &)> act)
        : mAct(std::move(act))
        , mOuter(QApplication::activeModalWidget()) {
        QObject::connect(&mPoll, &QTimer::timeout, [this] {
            const QPointer<QWidget> modal = QApplication::activeModalWidget();
            // A window opened from a modal one: that one, already there, is not the one awaited.
            if (!modal || !modal->isVisible() || modal == mOuter)
                return;
            mPoll.stop();
            mActed = true;
            EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
            try {
                mAct(*modal);
            } catch (const std::exception &problem) {
                ADD_FAILURE() << problem.what();
            }
            if (modal && modal->isVisible()) {
                ADD_FAILURE() << "the window stayed open";
                modal->hide();
            }
        });
        mPoll.start(5);
    }
    WhenModal(const WhenModal &) = delete;
    WhenModal &operator=(const WhenModal &) = delete;
    bool acted() const { return mActed; }

private:
    std::function<void(QWidget &)> mAct;
    QPointer<QWidget> mOuter;
    QTimer mPoll;
    bool mActed = false;
};

// Acts on the popup menu once it shows, while the code under test waits in it: make it just
// before the call that opens the menu. A menu the action leaves open is closed.
class WhenPopup {
public:
    explicit WhenPopup(std::function<void(QWidget &)> act)
        : mAct(std::move(act)) {
        QObject::connect(&mPoll, &QTimer::timeout, [this] {
            const QPointer<QWidget> popup = QApplication::activePopupWidget();
            if (!popup || !popup->isVisible())
                return;
            mPoll.stop();
            mActed = true;
            mAct(*popup);
            if (popup && popup->isVisible()) {
                ADD_FAILURE() << "the menu stayed open";
                popup->close();
            }
        });
        mPoll.start(5);
    }
    WhenPopup(const WhenPopup &) = delete;
    WhenPopup &operator=(const WhenPopup &) = delete;
    bool acted() const { return mActed; }

private:
    std::function<void(QWidget &)> mAct;
    QTimer mPoll;
    bool mActed = false;
};

} // namespace kvt::test
