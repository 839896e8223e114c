// The facade's side of the add-in manager: naming, events, and the state machine that settles
// which add-in may edit the common currency data.
#include "facade/KVTMain.h"
#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"
#include "model/Error.h"
#include "ui/ControlPanel.h"

namespace kvt {

namespace {

constexpr const char *kRegisterTitle = "Talvio: Register";

// The tabs a lock closes: the rate grid's and the currencies'.
constexpr int kRatesTab = 1;
constexpr int kCurrenciesTab = 2;

} // namespace

void KVTMain::setmEventRaiser(std::shared_ptr<EventRaiser> raiser) {
    mSubscription.reset();
    mEventSource = std::move(raiser);
    if (mEventSource)
        mSubscription = mEventSource->Subscribe(*this);
}

AddInMgr &KVTMain::TheAddInMgr() {
    if (!mAddInMgr) {
        std::shared_ptr<AddInMgr> manager = connectAddInMgr();
        setmEventRaiser(manager->EventRaiser());
        mAddInMgr = std::move(manager);
    }
    return *mAddInMgr;
}

bool KVTMain::Register(const std::string &vTlvPath, const std::string &vstrAddInType,
                       std::string &rName) {
    mTlvPath = vTlvPath;
    try {
        std::string name = TheAddInMgr().NewAddInName(vstrAddInType);
        mAddInName = name;
        rName = std::move(name);
        return true;
    } catch (const Error &failure) {
        // Message texts cannot end in a blank, so the one before the number is added here.
        messageBoxes().show({kRegisterTitle,
                             kvt::Translate(msg::OperationFailed) + " "
                                 + std::to_string(failure.number()) + ": " + failure.description(),
                             BoxIcon::None, BoxButtons::Ok});
        return false;
    }
}

void KVTMain::Unregister(const std::string &rName) {
    TheAddInMgr().UnRegister(rName);
}

void KVTMain::onAddInEvent(AddInEvent event) {
    switch (event) {
    case AddInEvent::CommonDataEditRunning:
        setevtCommonDataEditRunning(true);
        break;
    case AddInEvent::UpdateCommonData:
        setevtUpdateCommonData(true);
        break;
    case AddInEvent::CommonDataEditAllowed:
        setevtCommonDataEditAllowed(true);
        break;
    }
}

void KVTMain::putFlag(bool &flag, bool value) {
    flag = value;
    RunStateMachineIfTrue(flag);
}

void KVTMain::RunStateMachineIfTrue(bool &value) {
    if (value)
        RunStateMachine();
}

void KVTMain::ConsumeEvents() {
    mEvents = EditEvents{};
}

void KVTMain::RunStateMachine() {
    while (runPass())
        ConsumeEvents();
    ConsumeEvents();
}

std::string KVTMain::editorName() {
    return TheAddInMgr().CommonDataEditor();
}

void KVTMain::raise(void (EventRaiser::*event)()) {
    // TheAddInMgr subscribed; a host may since have replaced the source with none.
    if (mEventSource)
        (mEventSource.get()->*event)();
}

bool KVTMain::runPass() {
    switch (mEditState) {
    case EditUnavailable:
        DisableCommonDataEdit();
        UpdateCommonData();
        if (!mEvents.allowed)
            return false;
        mEditState = EditAllowed;
        return true;
    case EditAllowed:
        if (editorName() != mAddInName) {
            EnableCommonDataEdit();
            UpdateCommonData();
        }
        if (editorName() != mAddInName && mEvents.running) {
            mEditState = EditUnavailable;
            return true;
        }
        if (!mEvents.start)
            return false;
        // Reading the editor and writing it are separate calls: another add-in may have
        // become the editor in between, so the role is claimed in one call instead.
        if (!TheAddInMgr().ClaimCommonDataEditor(mAddInName)) {
            mEditState = EditUnavailable;
            return true;
        }
        mEditState = EditRunning;
        raise(&EventRaiser::Raise_xevtCommonDataEditRunning);
        return true;
    case EditUnknown: {
        const std::string editor = editorName();
        mEditState = editor.empty()         ? EditAllowed
                     : editor == mAddInName ? EditRunning
                                            : EditUnavailable;
        return true;
    }
    case EditRunning:
        if (editorName() != mAddInName || !mEvents.finished)
            return false;
        mEditState = EditAllowed;
        TheAddInMgr().setCommonDataEditor("");
        raise(&EventRaiser::Raise_xevtCommonDataEditAllowed);
        return true;
    }
    return false; // a state outside the four: nothing to do
}

void KVTMain::DisableCommonDataEdit() {
    FrmControlPanel &panel = driver().frmCP();
    panel.setTabEnabled(kRatesTab, false);
    panel.setTabEnabled(kCurrenciesTab, false);
    if (panel.CurrentTab() == kRatesTab || panel.CurrentTab() == kCurrenciesTab)
        panel.setFlexTauxVisible(false);
    panel.setlblHelp(kvt::Translate(msg::CommonDataLockedBy) + " " + editorName() + "\r\n"
                     + kvt::Translate(msg::CommonDataLockedUntil));
    if (KVTMain *current = CurrentMain())
        current->blnCpLocked = true;
}

void KVTMain::EnableCommonDataEdit() {
    FrmControlPanel &panel = driver().frmCP();
    panel.setTabEnabled(kRatesTab, true);
    panel.setTabEnabled(kCurrenciesTab, true);
    panel.setlblHelp("");
    if (KVTMain *current = CurrentMain())
        current->blnCpLocked = false;
}

void KVTMain::UpdateCommonData() {
    if (!mEvents.update)
        return;
    driver().ReadReg();
    driver().frmCP().RefreshData();
}

} // namespace kvt
