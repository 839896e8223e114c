#include "CalcSession.h"

#include "MainThread.h"
#include "facade/Modules.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XTerminateListener.hpp>
#include <com/sun/star/sheet/XCalculatable.hpp>
#include <cppuhelper/implbase1.hxx>
#include <dlfcn.h>

#ifndef TALVIO_MESSAGE_FILE_NAME
#error "TALVIO_MESSAGE_FILE_NAME must be defined by the build"
#endif

namespace talvio::calc {

namespace {

using css::uno::Reference;

// The extension's root: the component lives in its folder "lib".
std::string extensionRoot() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&extensionRoot), &info) == 0 || !info.dli_fname)
        return ".";
    std::string path = info.dli_fname;
    for (int level = 0; level < 2; ++level) {
        const auto slash = path.find_last_of('/');
        path = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    }
    return path;
}

// Another add-in saved the common data: this process reloads them and recalculates.
class Reloader final : public kvt::AddInEventHandler {
public:
    explicit Reloader(Reference<css::uno::XComponentContext> context)
        : mContext(std::move(context)) {}
    void onAddInEvent(kvt::AddInEvent event) override {
        if (event == kvt::AddInEvent::UpdateCommonData)
            CalcSession::instance().reload(mContext);
    }

private:
    Reference<css::uno::XComponentContext> mContext;
};

// Ends the session while Calc and its libraries are still all there.
class EndAtTermination final : public cppu::WeakImplHelper1<css::frame::XTerminateListener> {
public:
    void SAL_CALL queryTermination(const css::lang::EventObject &) override {}
    void SAL_CALL notifyTermination(const css::lang::EventObject &) override {
        CalcSession::instance().end();
    }
    void SAL_CALL disposing(const css::lang::EventObject &) override {}
};

} // namespace

CalcSession &CalcSession::instance() {
    static CalcSession session;
    return session;
}

std::string CalcSession::extensionFile(std::string_view relative) {
    static const std::string root = extensionRoot();
    return root + "/" + std::string(relative);
}

std::string CalcSession::messageFile() {
    return extensionFile(std::string("share/talvio/") + TALVIO_MESSAGE_FILE_NAME);
}

kvt::KVTMain &CalcSession::main() {
    std::lock_guard lock(mMutex);
    if (!mMain) {
        auto main = std::make_unique<kvt::KVTMain>();
        main->init(messageFile());
        mMain = std::move(main);
    }
    return *mMain;
}

void CalcSession::ensureRegistered(const Reference<css::uno::XComponentContext> &context) {
    std::lock_guard lock(mMutex);
    kvt::KVTMain &facade = main();
    if (mRegistrationTried)
        return;
    mRegistrationTried = true;
    if (!mBus) {
        mBus = kvt::serveBusOnOwnThread([context](std::function<void()> task) {
            postToMainThread(context, [task = std::move(task)] {
                std::lock_guard taskLock(CalcSession::instance().mutex());
                task();
            });
        });
        css::frame::Desktop::create(context)->addTerminateListener(new EndAtTermination);
    }
    std::string name;
    if (!facade.Register(extensionFile(""), "Calc", name))
        return;
    facade.RunStateMachine(); // settle the edit state before anything else happens
    if (facade.mEventRaiser()) {
        mReloader = std::make_unique<Reloader>(context);
        mEvents = facade.mEventRaiser()->Subscribe(*mReloader);
    }
}

void CalcSession::reload(const Reference<css::uno::XComponentContext> &context) {
    std::lock_guard lock(mMutex);
    main().driver().ReadReg();
    const Reference<css::container::XEnumeration> documents =
        css::frame::Desktop::create(context)->getComponents()->createEnumeration();
    while (documents->hasMoreElements()) {
        const Reference<css::sheet::XCalculatable> sheet(documents->nextElement(),
                                                         css::uno::UNO_QUERY);
        if (sheet.is())
            sheet->calculateAll();
    }
}

void CalcSession::end() {
    std::lock_guard lock(mMutex);
    mEvents.reset();
    if (mMain && !mMain->AddInName().empty()) {
        try {
            mMain->Unregister(mMain->AddInName());
        } catch (const std::exception &) {
            // The manager counts us out when our connection ends anyway.
        }
    }
    mMain.reset();
    mReloader.reset();
    mBus.reset();
}

} // namespace talvio::calc
