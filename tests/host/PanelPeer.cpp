// An add-in showing its control panel, as a user beside another add-in sees it, driven line by
// line from standard input by the test that runs it:
//   open             shows the panel, says "opened" once it is there and "closed saved" or
//                    "closed not saved" when it is closed
//   tab N            clicks tab N
//   click NAME       clicks the button or box
//   type NAME TEXT   types TEXT over the field's text
//   key NAME KEY     presses Up or Down on the control
//   look             prints the panel line
//   import PATH      imports the rate file through the rates button's menu
// Each event of the add-ins is printed as "event N " and the panel line: whether the currency
// and rate pages are locked, the help line (its line break as " / "), the intermediate decimals
// and the status-bar box shown, and the language of the general settings.
#include "Session.h"
#include "facade/KVTMain.h"
#include "facade/Windows.h"
#include "model/DG.h"
#include "ui/ControlPanel.h"
#include "windows/Application.h"
#include "windows/FileDialogs.h"
#include "windows/Services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

void say(const std::string &line) {
    std::cout << line << std::endl;
}

class Peer final : public kvt::AddInEventHandler {
public:
    explicit Peer(talvio::Session &session)
        : mSession(session)
        , mMain(session.main()) {}

    void onAddInEvent(kvt::AddInEvent event) override {
        say("event " + std::to_string(static_cast<int>(event)) + " " + panelLine());
    }

    // Runs one line; idle lets the next line run, which "open" does while its panel shows.
    void run(const std::string &line, const std::function<void()> &idle) {
        std::istringstream words(line);
        std::string command, name, text;
        words >> command >> name;
        std::getline(words >> std::ws, text);
        if (command == "open") {
            QTimer::singleShot(0, [] { say("opened"); });
            mSession.PrepareToWrite();
            idle();
            say(mMain.ShowCP() ? "closed saved" : "closed not saved");
        } else if (command == "tab") {
            QTabBar &bar = *control<QTabWidget>("TabCP").tabBar();
            QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(std::stoi(name)).center());
        } else if (command == "click") {
            auto &button = control<QAbstractButton>(name);
            QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(8, button.height() / 2));
        } else if (command == "type") {
            auto &field = control<QLineEdit>(name);
            field.setFocus();
            field.selectAll();
            QTest::keyClick(&field, Qt::Key_Backspace);
            QTest::keyClicks(&field, QString::fromStdString(text));
        } else if (command == "key") {
            QWidget &widget = control<QWidget>(name);
            widget.setFocus();
            QTest::keyClick(&widget, text == "Up" ? Qt::Key_Up : Qt::Key_Down);
        } else if (command == "import") {
            importRates(name);
        } else if (command == "look") {
            say(panelLine());
        } else {
            say("error unknown command " + command);
        }
    }

private:
    // The file dialog answers with the path; the menu's first entry is chosen by keyboard.
    void importRates(const std::string &path) {
        auto dialogs = std::make_shared<kvt::windows::ScriptedFileDialogs>();
        dialogs->queue(QString::fromStdString(path));
        kvt::windows::setFileDialogs(dialogs);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&poll] {
            if (QWidget *menu = QApplication::activePopupWidget()) {
                poll.stop();
                QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        poll.start(5);
        auto &button = control<QAbstractButton>("cmdIORates");
        button.setFocus();
        QTest::keyClick(&button, Qt::Key_Space);
    }

    QWidget &panel() { return dynamic_cast<QWidget &>(mMain.driver().frmCP().window()); }

    template<class Control>
    Control &control(const std::string &name) {
        auto *found = panel().findChild<Control *>(QString::fromStdString(name));
        if (!found)
            throw std::runtime_error("no control " + name);
        return *found;
    }

    std::string panelLine() {
        const kvt::FrmControlPanel &state = mMain.driver().frmCP();
        std::string help = state.lblHelp();
        if (const auto lineBreak = help.find("\r\n"); lineBreak != std::string::npos)
            help.replace(lineBreak, 2, " / ");
        return "panel locked=" + std::string(state.TabEnabled(1) ? "0" : "1") + " help=" + help
               + " nbdec=" + control<QLineEdit>("txtNbDecEuroInter").text().toStdString()
               + " status=" + (control<QCheckBox>("ChkShowStatus").isChecked() ? "1" : "0")
               + " language=" + std::to_string(kvt::sharedDG()->Langue());
    }

    talvio::Session &mSession;
    kvt::KVTMain &mMain;
};

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " SETTINGS MESSAGES\n";
        return 2;
    }
    kvt::windows::ensureApplication();
    kvt::registerWindowServices(kvt::windows::allServices());
    talvio::Session session(argv[1], argv[2]);
    kvt::KVTMain &main = session.main();
    std::string name;
    if (!main.Register("", "Talvio", name))
        return 1;
    Peer peer(session);
    const auto subscription = main.mEventRaiser()->Subscribe(peer);
    main.RunStateMachine();
    say("name " + name);

    // One line at a time, from the event loop: a handler that waits for the bus serves events
    // meanwhile, and the next line must not run inside it.
    std::deque<std::string> queued;
    bool running = false;
    std::function<void()> next;
    const std::function<void()> idle = [&] {
        running = false;
        QTimer::singleShot(0, [&] { next(); });
    };
    next = [&] {
        if (running || queued.empty())
            return;
        running = true;
        const std::string line = queued.front();
        queued.pop_front();
        try {
            peer.run(line, idle);
        } catch (const std::exception &failure) {
            say(std::string("error ") + failure.what());
        }
        if (running)
            idle();
    };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QApplication::exit(0);
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            queued.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
        next();
    });
    const int status = QApplication::exec();
    main.Unregister(name);
    return status;
}
