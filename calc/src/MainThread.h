#pragma once

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <functional>

namespace talvio::calc {

// Runs task later on Calc's main thread, through UNO's asynchronous callback; callable from
// any thread. A task that throws is dropped: nobody is there to be told.
void postToMainThread(const css::uno::Reference<css::uno::XComponentContext> &context,
                      std::function<void()> task);

} // namespace talvio::calc
