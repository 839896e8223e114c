#include "Commands.h"

#include "CalcSession.h"
#include "SelectionConversion.h"
#include "TalvioProcess.h"
#include "UnoMessageBoxes.h"
#include "messages/MsgIds.h"

#include <charconv>
#include <com/sun/star/task/XStatusIndicatorFactory.hpp>
#include <exception>
#include <mutex>
#include <optional>

namespace talvio::calc {

namespace {

constexpr const char *kProtocolHandlerService = "com.sun.star.frame.ProtocolHandler";

// "talvio pick position" prints the position's number first.
std::optional<std::int32_t> positionPicked(const std::string &output) {
    std::int32_t position = 0;
    const auto [end, error] =
        std::from_chars(output.data(), output.data() + output.size(), position);
    if (error != std::errc() || position < kvt::InsautoMilieu || position > kvt::InsautoDroite)
        return std::nullopt;
    return position;
}

} // namespace

void Commands::initialize(const css::uno::Sequence<css::uno::Any> &arguments) {
    if (arguments.getLength() > 0)
        arguments[0] >>= mFrame;
}

css::uno::Reference<css::frame::XDispatch> Commands::queryDispatch(const css::util::URL &url,
                                                                   const OUString &, sal_Int32) {
    if (url.Protocol.equalsAscii(kProtocol))
        return this;
    return {};
}

css::uno::Sequence<css::uno::Reference<css::frame::XDispatch>>
Commands::queryDispatches(const css::uno::Sequence<css::frame::DispatchDescriptor> &requests) {
    css::uno::Sequence<css::uno::Reference<css::frame::XDispatch>> dispatches(requests.getLength());
    auto *out = dispatches.getArray();
    for (sal_Int32 i = 0; i < requests.getLength(); ++i)
        out[i] =
            queryDispatch(requests[i].FeatureURL, requests[i].FrameName, requests[i].SearchFlags);
    return dispatches;
}

void Commands::dispatch(const css::util::URL &url,
                        const css::uno::Sequence<css::beans::PropertyValue> &) {
    if (url.Protocol.equalsAscii(kProtocol)) {
        const std::string command = utf8(url.Path);
        guarded([&](kvt::KVTMain &main) { run(command, main); });
    }
}

void Commands::addStatusListener(const css::uno::Reference<css::frame::XStatusListener> &,
                                 const css::util::URL &) {}

void Commands::removeStatusListener(const css::uno::Reference<css::frame::XStatusListener> &,
                                    const css::util::URL &) {}

void Commands::guarded(const std::function<void(kvt::KVTMain &)> &action) {
    CalcSession &session = CalcSession::instance();
    std::lock_guard lock(session.mutex());
    CalcDialogsInUse dialogs(mContext, mFrame);
    try {
        kvt::KVTMain &main = session.main();
        session.ensureRegistered(mContext);
        action(main);
    } catch (const std::exception &failure) {
        kvt::messageBoxes().show(
            kvt::BoxRequest{"Talvio", failure.what(), kvt::BoxIcon::Critical, kvt::BoxButtons::Ok});
    }
}

void Commands::run(std::string_view command, kvt::KVTMain &main) {
    if (command == "ConvertSelection") {
        convertSelection(main);
    } else if (command == "SwapCurrencies") {
        main.InverseDevise();
        showStatus(main.DeviseFrom() + " → " + main.DeviseTo());
    } else if (command == "ControlPanel") {
        openWindow(main, {"panel"}, true);
    } else if (command == "Wizard") {
        openWindow(main, {"wizard", "--force"}, true);
    } else if (command == "About") {
        openWindow(main, {"about"}, false);
    }
}

void Commands::convertSelection(kvt::KVTMain &main) {
    if (main.InsertAuto()) {
        convertSelectionAt(main, static_cast<kvt::InsAutoTypePos>(main.InsertAutoType()));
        return;
    }
    // Without a position chosen once for all, the user picks one for this conversion.
    const css::uno::Reference<Commands> self(this);
    const bool started =
        runTalvio(mContext, {"pick", "position"}, [self](const ProgramResult &result) {
            const auto position = result.status == 0 ? positionPicked(result.output) : std::nullopt;
            if (position)
                self->guarded([&](kvt::KVTMain &facade) {
                    self->convertSelectionAt(facade, static_cast<kvt::InsAutoTypePos>(*position));
                });
        });
    if (!started)
        tell(main, kvt::msg::CalcWindowOpen, kvt::BoxIcon::Information);
}

void Commands::convertSelectionAt(kvt::KVTMain &main, kvt::InsAutoTypePos position) {
    const std::string last = talvio::calc::convertSelection(mContext, mFrame, main, position);
    if (!last.empty() && main.ShowStatusBar())
        showStatus(last);
}

void Commands::openWindow(kvt::KVTMain &main, std::vector<std::string> arguments,
                          bool reloadAfter) {
    const css::uno::Reference<Commands> self(this);
    const bool started =
        runTalvio(mContext, std::move(arguments), [self, reloadAfter](const ProgramResult &result) {
            self->guarded([&](kvt::KVTMain &facade) {
                if (result.status != 0)
                    tell(facade, kvt::msg::CalcWindowCannotOpen, kvt::BoxIcon::Critical,
                         "\n" + (result.failure.empty() ? result.output : result.failure));
                else if (reloadAfter)
                    CalcSession::instance().reload(self->mContext);
            });
        });
    if (!started)
        tell(main, kvt::msg::CalcWindowOpen, kvt::BoxIcon::Information);
}

void Commands::showStatus(const std::string &text) {
    if (mStatus.is())
        mStatus->end();
    const css::uno::Reference<css::task::XStatusIndicatorFactory> factory(mFrame,
                                                                          css::uno::UNO_QUERY);
    mStatus = factory.is() ? factory->createStatusIndicator() : nullptr;
    if (mStatus.is())
        mStatus->start(uno("Talvio: " + text), 0);
}

OUString Commands::getImplementationName() {
    return OUString::createFromAscii(kImplementationName);
}

sal_Bool Commands::supportsService(const OUString &name) {
    return name.equalsAscii(kProtocolHandlerService);
}

css::uno::Sequence<OUString> Commands::getSupportedServiceNames() {
    const OUString names[] = {OUString::createFromAscii(kProtocolHandlerService)};
    return css::uno::Sequence<OUString>(names, 1);
}

} // namespace talvio::calc
