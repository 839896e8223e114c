#include "Functions.h"

#include "CalcSession.h"
#include "FunctionArguments.h"
#include "FunctionCatalog.h"
#include "UnoText.h"

#include <exception>
#include <mutex>

namespace talvio::calc {

namespace {

constexpr const char *kAddInService = "com.sun.star.sheet.AddIn";

const ArgumentText *argumentOf(const OUString &programmaticName, sal_Int32 argument) {
    const FunctionText *function = functionNamed(utf8(programmaticName));
    if (!function || argument < 0
        || static_cast<std::size_t>(argument) >= function->arguments.size())
        return nullptr;
    return &function->arguments[static_cast<std::size_t>(argument)];
}

// Runs a call on the facade under the session's lock; a failure of the library becomes the
// cell's error value.
template<class Call>
auto onFacade(Call call) {
    CalcSession &session = CalcSession::instance();
    std::lock_guard lock(session.mutex());
    try {
        return call(session.main());
    } catch (const css::uno::Exception &) {
        throw;
    } catch (const std::exception &failure) {
        refuse(failure.what());
    }
}

// A currency the user has not selected has no rates: refused before the engine would ask.
void requireSelected(kvt::KVTMain &main, const std::string &code) {
    if (main.mChange->ColDevises()->find(code) == nullptr)
        refuse(code + " is not a selected currency");
}

void requireRate(kvt::KVTMain &main, const std::string &from, const std::string &to) {
    requireSelected(main, from);
    requireSelected(main, to);
    if (main.AskRateRequired(from, to))
        refuse("no rate between " + from + " and " + to);
}

} // namespace

double Functions::convert(double amount, const OUString &from, const OUString &to,
                          const css::uno::Any &method, const css::uno::Any &target,
                          const css::uno::Any &euroDecimals) {
    return onFacade([&](kvt::KVTMain &main) {
        const std::string fromCode = utf8(from);
        const std::string toCode = utf8(to);
        requireRate(main, fromCode, toCode);
        return main.mChange->dblConvert(amount, fromCode, toCode,
                                        euroDecimalsArgument(euroDecimals, main.NbDecEuroInter()),
                                        methodArgument(method, main.MethodeArondi()),
                                        patternArgument(target, main.ValeurCible()));
    });
}

double Functions::rate(const OUString &from, const OUString &to) {
    return onFacade([&](kvt::KVTMain &main) {
        const std::string fromCode = utf8(from);
        const std::string toCode = utf8(to);
        requireRate(main, fromCode, toCode);
        return main.mChange->TauxDeChangeConvert(fromCode, toCode);
    });
}

OUString Functions::format(const OUString &to, const css::uno::Any &method,
                           const css::uno::Any &target) {
    return onFacade([&](kvt::KVTMain &main) {
        const std::string toCode = utf8(to);
        requireSelected(main, toCode);
        return uno(main.DeviseFormatNumber(toCode, methodArgument(method, main.MethodeArondi()),
                                           patternArgument(target, main.ValeurCible())));
    });
}

OUString Functions::alias(const OUString &code) {
    return onFacade([&](kvt::KVTMain &main) {
        const std::string iso = utf8(code);
        if (main.mChange->ColISO()->find(iso) == nullptr)
            refuse(iso + " is not an ISO code Talvio knows");
        return uno(main.AliasDefault(iso));
    });
}

OUString Functions::getProgrammaticFuntionName(const OUString &displayName) {
    const FunctionText *function = functionDisplayed(utf8(displayName));
    return function ? uno(function->programmatic) : OUString();
}

OUString Functions::getDisplayFunctionName(const OUString &programmaticName) {
    const FunctionText *function = functionNamed(utf8(programmaticName));
    return function ? uno(function->display) : OUString();
}

OUString Functions::getFunctionDescription(const OUString &programmaticName) {
    const FunctionText *function = functionNamed(utf8(programmaticName));
    return function ? uno(function->description[mLanguage]) : OUString();
}

OUString Functions::getDisplayArgumentName(const OUString &programmaticName, sal_Int32 argument) {
    const ArgumentText *text = argumentOf(programmaticName, argument);
    return text ? uno(text->name[mLanguage]) : OUString();
}

OUString Functions::getArgumentDescription(const OUString &programmaticName, sal_Int32 argument) {
    const ArgumentText *text = argumentOf(programmaticName, argument);
    return text ? uno(text->description[mLanguage]) : OUString();
}

OUString Functions::getProgrammaticCategoryName(const OUString &) {
    return "Add-In";
}

OUString Functions::getDisplayCategoryName(const OUString &) {
    return "Add-In";
}

void Functions::setLocale(const css::lang::Locale &locale) {
    mLocale = locale;
    mLanguage = textIndexOf(utf8(locale.Language));
}

css::lang::Locale Functions::getLocale() {
    return mLocale;
}

OUString Functions::getServiceName() {
    return OUString::createFromAscii(kImplementationName);
}

OUString Functions::getImplementationName() {
    return OUString::createFromAscii(kImplementationName);
}

sal_Bool Functions::supportsService(const OUString &name) {
    return name.equalsAscii(kAddInService) || name.equalsAscii(kImplementationName);
}

css::uno::Sequence<OUString> Functions::getSupportedServiceNames() {
    const OUString names[] = {OUString::createFromAscii(kAddInService),
                              OUString::createFromAscii(kImplementationName)};
    return css::uno::Sequence<OUString>(names, 2);
}

} // namespace talvio::calc
