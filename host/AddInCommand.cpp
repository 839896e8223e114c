// "talvio addin": the host as a long-lived add-in beside others. It registers with the add-in
// manager, takes part in the coordination of edits of the common data, and reads its user's
// actions from standard input while the events of the other add-ins arrive.
#include "Amount.h"
#include "Commands.h"
#include "Session.h"
#include "Terminal.h"
#include "WindowActions.h"
#include "engine/NumberFormat.h"
#include "facade/KVTMain.h"
#include "facade/Modules.h"
#include "facade/Windows.h"
#include "model/Error.h"
#include "ui/ControlPanel.h"

#include <ostream>
#include <sstream>
#include <unistd.h>

#ifndef TALVIO_VERSION
#error "TALVIO_VERSION must be defined by the build"
#endif

namespace talvio {

namespace {

const char *stateName(kvt::AddInStates state) {
    switch (state) {
    case kvt::EditUnavailable:
        return "EditUnavailable";
    case kvt::EditAllowed:
        return "EditAllowed";
    case kvt::EditUnknown:
        return "EditUnknown";
    case kvt::EditRunning:
        return "EditRunning";
    }
    return "?";
}

// One line: the edit state, the editor the manager records, whether the currency and rate
// pages are locked, and the panel's help line with its line break shown as " / ".
std::string stateLine(kvt::KVTMain &main) {
    const kvt::FrmControlPanel &panel = main.driver().frmCP();
    std::string help = panel.lblHelp();
    if (const auto lineBreak = help.find("\r\n"); lineBreak != std::string::npos)
        help.replace(lineBreak, 2, " / ");
    std::ostringstream line;
    line << "state " << stateName(main.EditState())
         << " editor=" << main.TheAddInMgr().CommonDataEditor()
         << " locked=" << (panel.TabEnabled(1) ? 0 : 1) << " help=" << help;
    return line.str();
}

class AddInSession final : public kvt::AddInEventHandler {
public:
    // windowProblem: why no window can open, empty when they can.
    AddInSession(Session &session, Streams &streams, std::string windowProblem)
        : mSession(session)
        , mMain(session.main())
        , mStreams(streams)
        , mWindowProblem(std::move(windowProblem)) {}

    // Subscribed after the facade, so each event is reported once the facade has handled it.
    void listen() { mSubscription = mMain.mEventRaiser()->Subscribe(*this); }

    void onAddInEvent(kvt::AddInEvent event) override {
        print("event " + std::to_string(static_cast<int>(event)) + " " + stateLine(mMain));
    }

    // Runs one line of input; false when the session ends.
    bool execute(const std::string &line) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        try {
            return dispatch(command, words);
        } catch (const kvt::Error &error) {
            print("error " + error.description());
            return true;
        }
    }

    void print(const std::string &line) { mStreams.out << line << std::endl; }

private:
    bool dispatch(const std::string &command, std::istringstream &words) {
        if (command.empty())
            return true;
        if (command == "quit")
            return false;
        if (command == "state") {
        } else if (command == "start") {
            mMain.setevtCommonDataEditStart(true);
        } else if (command == "finish") {
            mMain.setevtCommonDataEditFinished(true);
        } else if (command == "save") {
            mSession.WriteRegistry();
        } else if (command == "set-rate") {
            std::string from, to, rate;
            words >> from >> to >> rate;
            const auto value = parseRate(rate);
            if (!value) {
                print("error usage: set-rate FROM TO RATE (a number greater than 0 that can be "
                      "inverted)");
                return true;
            }
            mSession.EnterRate(from, to, *value);
            mSession.SaveTables();
        } else if (command == "rate") {
            std::string from, to;
            words >> from >> to;
            print("rate " + kvt::numberText(mSession.TauxDeChangeConvert(from, to)));
            return true;
        } else if (command == "wizard" || command == "about" || command == "pick"
                   || command == "panel") {
            runWindowAction(command, words);
            return true;
        } else if (command == "names") {
            std::istringstream names(mMain.TheAddInMgr().AddInCollectionString());
            for (std::string name; std::getline(names, name);)
                print("name " + name.substr(0, name.find('\r')));
            return true;
        } else {
            print("error unknown command " + command
                  + " (state, start, finish, save, set-rate, rate, names, wizard, about, pick, "
                    "panel, quit)");
            return true;
        }
        print(stateLine(mMain));
        return true;
    }

    // The window actions: "wizard [--force]", "about", "panel", "pick WHAT [INITIAL]". A choice is
    // printed as "picked ..." lines, a cancel as "cancelled".
    void runWindowAction(const std::string &command, std::istringstream &words) {
        std::string what, initial;
        words >> what >> initial;
        if (command == "pick" && !isPickable(what)) {
            print("error usage: pick position|folder|color|font [INITIAL]");
            return;
        }
        if (!mWindowProblem.empty()) {
            print("error " + mWindowProblem);
            return;
        }
        const kvt::WindowDialogs dialogs;
        if (command == "wizard") {
            showWizard(mSession, what == "--force");
        } else if (command == "about") {
            showAbout(mSession, TALVIO_VERSION);
        } else if (command == "panel") {
            print(showPanel(mSession) ? "saved" : "not saved");
        } else if (const auto choice = pick(
                       mSession, what, initial.empty() ? std::nullopt : std::optional(initial))) {
            std::istringstream lines(*choice);
            for (std::string line; std::getline(lines, line);)
                print("picked " + line);
            return;
        } else {
            print("cancelled");
            return;
        }
        print("closed " + command);
    }

    Session &mSession;
    kvt::KVTMain &mMain;
    Streams &mStreams;
    std::string mWindowProblem;
    std::unique_ptr<kvt::EventSubscription> mSubscription;
};

} // namespace

int runAddIn(const Invocation &invocation, Streams &streams) {
    const TerminalUi ui = installTerminalUi();
    // Windows need their application made before the bus makes one without windows.
    std::string windowProblem = kvt::windowProblem();
    if (windowProblem.empty())
        kvt::requireWindows();
    Session session(invocation.settingsPath, invocation.messagesPath);
    kvt::KVTMain &main = session.main();
    const std::string type = invocation.option("--type").value_or("Talvio");
    std::string name;
    if (!main.Register(invocation.option("--path").value_or(""), type, name))
        return kFailure; // the register box said why
    AddInSession addIn(session, streams, std::move(windowProblem));
    addIn.listen();
    main.RunStateMachine(); // settle the edit state before the user acts
    addIn.print("name " + name);
    addIn.print(stateLine(main));
    // The bus is served while the user types: the other add-ins' events arrive meanwhile.
    kvt::serveLines(STDIN_FILENO, [&](const std::string &line) { return addIn.execute(line); });
    main.Unregister(name);
    return kSuccess;
}

} // namespace talvio
