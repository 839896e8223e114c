// The component's entry points: Calc asks them for the add-in of cell functions and for the
// handler of the Talvio menu's commands.
#include "Commands.h"
#include "Functions.h"

#include <cppuhelper/factory.hxx>
#include <cppuhelper/implementationentry.hxx>

namespace {

using rtl::OUString;

css::uno::Reference<css::uno::XInterface>
    SAL_CALL createFunctions(const css::uno::Reference<css::uno::XComponentContext> &) {
    return static_cast<cppu::OWeakObject *>(new talvio::calc::Functions);
}

OUString SAL_CALL functionsName() {
    return OUString::createFromAscii(talvio::calc::Functions::kImplementationName);
}

css::uno::Sequence<OUString> SAL_CALL functionsServices() {
    return talvio::calc::Functions().getSupportedServiceNames();
}

css::uno::Reference<css::uno::XInterface>
    SAL_CALL createCommands(const css::uno::Reference<css::uno::XComponentContext> &context) {
    return static_cast<cppu::OWeakObject *>(new talvio::calc::Commands(context));
}

OUString SAL_CALL commandsName() {
    return OUString::createFromAscii(talvio::calc::Commands::kImplementationName);
}

css::uno::Sequence<OUString> SAL_CALL commandsServices() {
    return talvio::calc::Commands({}).getSupportedServiceNames();
}

const cppu::ImplementationEntry kEntries[] = {
    {createFunctions, functionsName, functionsServices, cppu::createSingleComponentFactory, nullptr,
     0},
    {createCommands, commandsName, commandsServices, cppu::createSingleComponentFactory, nullptr,
     0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};

} // namespace

extern "C" SAL_DLLPUBLIC_EXPORT void *
component_getFactory(const char *implementationName, void *serviceManager, void *registryKey) {
    return cppu::component_getFactoryHelper(implementationName, serviceManager, registryKey,
                                            kEntries);
}
