#pragma once

#include "facade/KVTMain.h"
#include "messages/MessageBoxes.h"

#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cstdint>
#include <memory>
#include <string>

namespace talvio::calc {

// The library's message boxes as Calc's own dialogs, over the document's window: a command
// shows its questions and failures the way Calc shows its own.
class UnoMessageBoxes final : public kvt::MessageBoxes {
public:
    UnoMessageBoxes(css::uno::Reference<css::uno::XComponentContext> context,
                    css::uno::Reference<css::awt::XWindowPeer> parent);
    kvt::BoxAnswer show(const kvt::BoxRequest &request) override;

private:
    css::uno::Reference<css::uno::XComponentContext> mContext;
    css::uno::Reference<css::awt::XWindowPeer> mParent;
};

// For as long as it lives, the library's boxes are Calc dialogs over the frame's window; the
// boxes before come back after.
class CalcDialogsInUse {
public:
    CalcDialogsInUse(const css::uno::Reference<css::uno::XComponentContext> &context,
                     const css::uno::Reference<css::frame::XFrame> &frame);
    ~CalcDialogsInUse();
    CalcDialogsInUse(const CalcDialogsInUse &) = delete;
    CalcDialogsInUse &operator=(const CalcDialogsInUse &) = delete;

private:
    std::shared_ptr<kvt::MessageBoxes> mBefore;
};

// Tells the user a message of the catalogue, in their language, followed by more.
void tell(kvt::KVTMain &main, std::int32_t message, kvt::BoxIcon icon,
          const std::string &more = {});

} // namespace talvio::calc
