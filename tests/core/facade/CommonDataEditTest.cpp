#include "FacadeFixture.h"
#include "facade/KVTMain.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/Error.h"
#include "support/LocalAddInMgr.h"
#include "ui/ControlPanel.h"

#include <gtest/gtest.h>

namespace kvt::test {
namespace {

using Events = std::vector<AddInEvent>;
constexpr AddInEvent kRunning = AddInEvent::CommonDataEditRunning;
constexpr AddInEvent kAllowed = AddInEvent::CommonDataEditAllowed;

class CommonDataEdit : public FacadeFixture {
protected:
    // A started facade registered with the in-process manager as "A 1".
    std::unique_ptr<KVTMain> registeredFacade(const std::string &type = "A") {
        auto main = startedFacade();
        std::string name;
        EXPECT_TRUE(main->Register("/opt/addin", type, name));
        return main;
    }

    static bool locked(KVTMain &main) {
        const FrmControlPanel &panel = main.driver().frmCP();
        return !panel.TabEnabled(1) && !panel.TabEnabled(2) && panel.TabEnabled(0);
    }

    ScopedLocalAddInMgr manager;
};

TEST_F(CommonDataEdit, registerNamesEachInstanceOfATypeInTurn) {
    auto first = startedFacade();
    auto second = startedFacade();
    std::string name = "unchanged";
    ASSERT_TRUE(first->Register("/opt/addin", "Talvio", name));
    EXPECT_EQ(name, "Talvio 1");
    EXPECT_EQ(first->AddInName(), "Talvio 1");
    EXPECT_EQ(first->mTlvPath, "/opt/addin");
    ASSERT_TRUE(second->Register("", "Talvio", name));
    EXPECT_EQ(name, "Talvio 2");
    first->Unregister("Talvio 1");
    EXPECT_EQ(manager->AddInCollectionString(), "Talvio 2\r\n");
    // Registering subscribed both facades to the one event source.
    EXPECT_EQ(manager->events->subscriberCount(), 2u);
}

TEST_F(CommonDataEdit, registerWithoutAManagerSaysSoAndLeavesTheNameAlone) {
    manager->unreachable = true;
    auto main = startedFacade();
    std::string name = "kept";
    EXPECT_FALSE(main->Register("/opt/addin", "Talvio", name));
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(main->AddInName(), "");
    ASSERT_EQ(boxes->shown().size(), 1u);
    const BoxRequest &box = boxes->shown().front();
    EXPECT_EQ(box.title, "Talvio: Register");
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_EQ(box.text, main->Translate(msg::OperationFailed) + " " + std::to_string(err::AddInMgr)
                            + ": org.talvio.TlvAddInMgr: no such program");
}

// One run of the machine, started by setting one flag in a given state with a given editor.
enum class Flag { Start, Running, Update, Finished, Allowed };

struct Transition {
    const char *name;
    AddInStates from;
    std::string editor;
    Flag flag;
    AddInStates to;
    std::string editorAfter;
    Events raised;
    bool lockedAfter;
};

void setFlag(KVTMain &main, Flag flag) {
    switch (flag) {
    case Flag::Start:
        return main.setevtCommonDataEditStart(true);
    case Flag::Running:
        return main.setevtCommonDataEditRunning(true);
    case Flag::Update:
        return main.setevtUpdateCommonData(true);
    case Flag::Finished:
        return main.setevtCommonDataEditFinished(true);
    case Flag::Allowed:
        return main.setevtCommonDataEditAllowed(true);
    }
}

TEST_F(CommonDataEdit, eachTransitionOfTheMachine) {
    const std::vector<Transition> table = {
        // A new add-in settles first: the start request is consumed with that pass.
        {"unknown, nobody edits, start", EditUnknown, "", Flag::Start, EditAllowed, "", {}, false},
        {"unknown, we edit", EditUnknown, "A 1", Flag::Running, EditRunning, "A 1", {}, false},
        {"unknown, another edits",
         EditUnknown,
         "B 1",
         Flag::Update,
         EditUnavailable,
         "B 1",
         {},
         true},
        {"allowed, start", EditAllowed, "", Flag::Start, EditRunning, "A 1", {kRunning}, false},
        {"allowed, another began",
         EditAllowed,
         "B 1",
         Flag::Running,
         EditUnavailable,
         "B 1",
         {},
         true},
        // The claim fails for an add-in that another one overtook between test and claim.
        {"allowed, start, overtaken",
         EditAllowed,
         "B 1",
         Flag::Start,
         EditUnavailable,
         "B 1",
         {},
         true},
        {"allowed, nothing asked", EditAllowed, "", Flag::Update, EditAllowed, "", {}, false},
        {"running, finished",
         EditRunning,
         "A 1",
         Flag::Finished,
         EditAllowed,
         "",
         {kAllowed},
         false},
        {"running, finished, editor changed",
         EditRunning,
         "B 1",
         Flag::Finished,
         EditRunning,
         "B 1",
         {},
         false},
        {"running, update", EditRunning, "A 1", Flag::Update, EditRunning, "A 1", {}, false},
        {"unavailable, allowed", EditUnavailable, "", Flag::Allowed, EditAllowed, "", {}, false},
        {"unavailable, update",
         EditUnavailable,
         "B 1",
         Flag::Update,
         EditUnavailable,
         "B 1",
         {},
         true},
    };
    for (const Transition &row : table) {
        SCOPED_TRACE(row.name);
        ScopedLocalAddInMgr local;
        auto main = registeredFacade();
        ASSERT_EQ(main->AddInName(), "A 1");
        main->setEditState(row.from);
        local->editor = row.editor;
        setFlag(*main, row.flag);
        EXPECT_EQ(main->EditState(), row.to);
        EXPECT_EQ(local->editor, row.editorAfter);
        EXPECT_EQ(local->events->raised, row.raised);
        EXPECT_EQ(locked(*main), row.lockedAfter);
        EXPECT_EQ(main->blnCpLocked, row.lockedAfter);
        EXPECT_FALSE(main->evtCommonDataEditStart() || main->evtCommonDataEditRunning()
                     || main->evtUpdateCommonData() || main->evtCommonDataEditFinished()
                     || main->evtCommonDataEditAllowed())
            << "every run ends by consuming the flags";
    }
}

TEST_F(CommonDataEdit, aFlagSetFalseRunsNothing) {
    auto main = registeredFacade();
    manager->unreachable = true; // any run would need the manager
    for (const Flag flag : {Flag::Start, Flag::Running, Flag::Update, Flag::Finished}) {
        main->setEditState(EditAllowed);
        switch (flag) {
        case Flag::Start:
            main->setevtCommonDataEditStart(false);
            break;
        case Flag::Running:
            main->setevtCommonDataEditRunning(false);
            break;
        case Flag::Update:
            main->setevtUpdateCommonData(false);
            break;
        default:
            main->setevtCommonDataEditFinished(false);
        }
        EXPECT_EQ(main->EditState(), EditAllowed);
    }
    EXPECT_THROW(main->setevtCommonDataEditStart(true), Error) << "a true flag does run";
}

TEST_F(CommonDataEdit, aStateOutsideTheFourEndsTheRun) {
    auto main = registeredFacade();
    main->setEditState(static_cast<AddInStates>(7));
    main->setevtCommonDataEditStart(true);
    EXPECT_EQ(main->EditState(), 7);
    EXPECT_FALSE(main->evtCommonDataEditStart());
}

TEST_F(CommonDataEdit, theLockNamesTheEditorAndHidesTheGridOnlyOnItsTabs) {
    for (const int tab : {0, 1, 2}) {
        SCOPED_TRACE(tab);
        auto main = registeredFacade();
        const std::string help =
            Translate(msg::CommonDataLockedBy) + " B 1\r\n" + Translate(msg::CommonDataLockedUntil);
        FrmControlPanel &panel = main->driver().frmCP();
        panel.setCurrentTab(tab);
        panel.setFlexTauxVisible(true);
        manager->editor = "B 1";
        main->DisableCommonDataEdit();
        EXPECT_EQ(panel.FlexTauxVisible(), tab == 0);
        EXPECT_EQ(panel.lblHelp(), help);
        EXPECT_TRUE(locked(*main));
        main->EnableCommonDataEdit();
        EXPECT_EQ(panel.lblHelp(), "");
        EXPECT_FALSE(locked(*main));
        EXPECT_FALSE(main->blnCpLocked);
    }
}

TEST_F(CommonDataEdit, aLockedAddInReloadsWhatTheEditorSaved) {
    auto main = registeredFacade();
    manager->editor = "B 1";
    main->setEditState(EditUnavailable);
    const std::string before = main->DeviseFrom();
    const std::string saved = before == "USD" ? "JPY" : "USD";
    store("UserChoice", "MoneyIN", saved);
    main->setevtUpdateCommonData(true);
    EXPECT_EQ(main->DeviseFrom(), saved);
}

TEST_F(CommonDataEdit, theTypicalExchangeBetweenTwoAddIns) {
    auto a = registeredFacade("A");
    auto b = registeredFacade("B");
    a->RunStateMachine();
    b->RunStateMachine();
    ASSERT_EQ(a->EditState(), EditAllowed);
    ASSERT_EQ(b->EditState(), EditAllowed);

    a->setevtCommonDataEditStart(true); // the user changes something in A's panel
    EXPECT_EQ(a->EditState(), EditRunning);
    EXPECT_EQ(manager->editor, "A 1");
    EXPECT_EQ(b->EditState(), EditUnavailable);
    EXPECT_TRUE(locked(*b));
    EXPECT_FALSE(locked(*a));
    EXPECT_EQ(b->driver().frmCP().lblHelp(),
              "The exchange rates and currencies are being edited by A 1\r\n"
              "You can change them again as soon as that add-in has finished editing.");

    // A saves: B reloads. Preferences are each add-in's own, so B's change only through the
    // store and the event. The general settings are one object in this process: what A's
    // process saved of them goes to the store directly, unseen until a reload.
    ASSERT_FALSE(b->InsertAuto());
    ASSERT_EQ(sharedDG()->DeviseFrom(), "EUR");
    a->driver().setInsAuto(true);
    store("UserChoice", "MoneyIN", "JPY");
    bool tables = true;
    a->driver().SaveReg(false, true, tables);
    EXPECT_EQ(b->EditState(), EditUnavailable);
    EXPECT_TRUE(b->InsertAuto());
    EXPECT_EQ(sharedDG()->DeviseFrom(), "JPY");

    a->setevtCommonDataEditFinished(true); // A applies or closes its panel
    EXPECT_EQ(a->EditState(), EditAllowed);
    EXPECT_EQ(b->EditState(), EditAllowed);
    EXPECT_EQ(manager->editor, "");
    EXPECT_FALSE(locked(*b));
    EXPECT_EQ(manager->events->raised, (Events{kRunning, AddInEvent::UpdateCommonData, kAllowed}));
}

TEST_F(CommonDataEdit, anEndingFacadeLeavesTheEventSource) {
    auto a = registeredFacade();
    {
        auto b = registeredFacade();
        EXPECT_EQ(manager->events->subscriberCount(), 2u);
    }
    EXPECT_EQ(manager->events->subscriberCount(), 1u);
    a->setmEventRaiser(nullptr);
    EXPECT_EQ(manager->events->subscriberCount(), 0u);
    a->setEditState(EditAllowed);
    a->setevtCommonDataEditStart(true);
    EXPECT_EQ(a->EditState(), EditRunning) << "claims even with no source to tell";
}

} // namespace
} // namespace kvt::test
