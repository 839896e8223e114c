#include "UnoMessageBoxes.h"

#include "UnoText.h"

#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/MessageBoxResults.hpp>
#include <com/sun/star/awt/MessageBoxType.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XMessageBox.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>

namespace talvio::calc {

namespace {

css::awt::MessageBoxType typeOf(kvt::BoxIcon icon) {
    switch (icon) {
    case kvt::BoxIcon::Critical:
        return css::awt::MessageBoxType_ERRORBOX;
    case kvt::BoxIcon::Question:
        return css::awt::MessageBoxType_QUERYBOX;
    case kvt::BoxIcon::Information:
        return css::awt::MessageBoxType_INFOBOX;
    case kvt::BoxIcon::None:
        break;
    }
    return css::awt::MessageBoxType_MESSAGEBOX;
}

// The buttons, with the first one as the default, as the library's boxes have it.
sal_Int32 buttonsOf(kvt::BoxButtons buttons) {
    switch (buttons) {
    case kvt::BoxButtons::OkCancel:
        return css::awt::MessageBoxButtons::BUTTONS_OK_CANCEL
               | css::awt::MessageBoxButtons::DEFAULT_BUTTON_OK;
    case kvt::BoxButtons::YesNo:
        return css::awt::MessageBoxButtons::BUTTONS_YES_NO
               | css::awt::MessageBoxButtons::DEFAULT_BUTTON_YES;
    case kvt::BoxButtons::YesNoCancel:
        return css::awt::MessageBoxButtons::BUTTONS_YES_NO_CANCEL
               | css::awt::MessageBoxButtons::DEFAULT_BUTTON_YES;
    case kvt::BoxButtons::Ok:
        break;
    }
    return css::awt::MessageBoxButtons::BUTTONS_OK;
}

} // namespace

UnoMessageBoxes::UnoMessageBoxes(css::uno::Reference<css::uno::XComponentContext> context,
                                 css::uno::Reference<css::awt::XWindowPeer> parent)
    : mContext(std::move(context))
    , mParent(std::move(parent)) {}

kvt::BoxAnswer UnoMessageBoxes::show(const kvt::BoxRequest &request) {
    const kvt::BoxAnswer safe = kvt::safeDefault(request.buttons);
    css::uno::Reference<css::awt::XMessageBoxFactory> factory(css::awt::Toolkit::create(mContext),
                                                              css::uno::UNO_QUERY);
    if (!factory.is())
        return safe;
    const css::uno::Reference<css::awt::XMessageBox> box = factory->createMessageBox(
        mParent, typeOf(request.icon), buttonsOf(request.buttons),
        uno(request.title.empty() ? "Talvio" : request.title), uno(request.text));
    switch (box->execute()) {
    case css::awt::MessageBoxResults::OK:
        return kvt::BoxAnswer::Ok;
    case css::awt::MessageBoxResults::YES:
        return kvt::BoxAnswer::Yes;
    case css::awt::MessageBoxResults::NO:
        return kvt::BoxAnswer::No;
    case css::awt::MessageBoxResults::CANCEL:
        return kvt::BoxAnswer::Cancel;
    default:
        return safe; // closed without an answer
    }
}

CalcDialogsInUse::CalcDialogsInUse(const css::uno::Reference<css::uno::XComponentContext> &context,
                                   const css::uno::Reference<css::frame::XFrame> &frame)
    : mBefore(kvt::sharedMessageBoxes()) {
    css::uno::Reference<css::awt::XWindowPeer> parent;
    if (frame.is())
        parent.set(frame->getContainerWindow(), css::uno::UNO_QUERY);
    kvt::setMessageBoxes(std::make_shared<UnoMessageBoxes>(context, parent));
}

CalcDialogsInUse::~CalcDialogsInUse() {
    kvt::setMessageBoxes(mBefore);
}

void tell(kvt::KVTMain &main, std::int32_t message, kvt::BoxIcon icon, const std::string &more) {
    kvt::messageBoxes().show(
        kvt::BoxRequest{"Talvio", main.Translate(message) + more, icon, kvt::BoxButtons::Ok});
}

} // namespace talvio::calc
