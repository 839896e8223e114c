#pragma once

#include "UnoText.h"
#include "facade/KVTMain.h"

#include <com/sun/star/frame/XDispatch.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XStatusIndicator.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase4.hxx>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talvio::calc {

// The commands of the Talvio menu and toolbar ("org.talvio.calc:" URLs), one handler per
// Calc window: convert the selection, swap the two currencies, and Talvio's windows.
class Commands final
    : public cppu::WeakImplHelper4<css::frame::XDispatchProvider, css::frame::XDispatch,
                                   css::lang::XInitialization, css::lang::XServiceInfo> {
public:
    static constexpr const char *kImplementationName = "org.talvio.calc.Commands";
    static constexpr const char *kProtocol = "org.talvio.calc:";

    explicit Commands(css::uno::Reference<css::uno::XComponentContext> context)
        : mContext(std::move(context)) {}

    void SAL_CALL initialize(const css::uno::Sequence<css::uno::Any> &arguments) override;

    css::uno::Reference<css::frame::XDispatch> SAL_CALL queryDispatch(const css::util::URL &url,
                                                                      const OUString &target,
                                                                      sal_Int32 flags) override;
    css::uno::Sequence<css::uno::Reference<css::frame::XDispatch>> SAL_CALL
    queryDispatches(const css::uno::Sequence<css::frame::DispatchDescriptor> &requests) override;

    void SAL_CALL dispatch(const css::util::URL &url,
                           const css::uno::Sequence<css::beans::PropertyValue> &arguments) override;
    void SAL_CALL
    addStatusListener(const css::uno::Reference<css::frame::XStatusListener> &listener,
                      const css::util::URL &url) override;
    void SAL_CALL
    removeStatusListener(const css::uno::Reference<css::frame::XStatusListener> &listener,
                         const css::util::URL &url) override;

    OUString SAL_CALL getImplementationName() override;
    sal_Bool SAL_CALL supportsService(const OUString &name) override;
    css::uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override;

private:
    // Runs an action on the facade under the session's lock, with the library's boxes as
    // Calc dialogs; a failure is told in a box.
    void guarded(const std::function<void(kvt::KVTMain &)> &action);
    void run(std::string_view command, kvt::KVTMain &main);
    void convertSelection(kvt::KVTMain &main);
    void convertSelectionAt(kvt::KVTMain &main, kvt::InsAutoTypePos position);
    void openWindow(kvt::KVTMain &main, std::vector<std::string> arguments, bool reloadAfter);
    // The status bar's Talvio text: kept until the next one, as a message of the add-in.
    void showStatus(const std::string &text);

    css::uno::Reference<css::uno::XComponentContext> mContext;
    css::uno::Reference<css::frame::XFrame> mFrame;
    css::uno::Reference<css::task::XStatusIndicator> mStatus;
};

} // namespace talvio::calc
