#pragma once

#include "UnoText.h"

#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XServiceName.hpp>
#include <com/sun/star/sheet/XAddIn.hpp>
#include <cppuhelper/implbase4.hxx>
#include <org/talvio/calc/XTalvioFunctions.hpp>

namespace talvio::calc {

// Talvio's cell functions, a Calc add-in: TALVIO.CONVERT, TALVIO.RATE, TALVIO.FORMAT and
// TALVIO.ALIAS over the process's facade. A recalculation never opens a window and never
// waits for anyone: every failure is an error value in the cell.
class Functions final
    : public cppu::WeakImplHelper4<org::talvio::calc::XTalvioFunctions, css::sheet::XAddIn,
                                   css::lang::XServiceName, css::lang::XServiceInfo> {
public:
    static constexpr const char *kImplementationName = "org.talvio.calc.Functions";

    double SAL_CALL convert(double amount, const OUString &from, const OUString &to,
                            const css::uno::Any &method, const css::uno::Any &target,
                            const css::uno::Any &euroDecimals) override;
    double SAL_CALL rate(const OUString &from, const OUString &to) override;
    OUString SAL_CALL format(const OUString &to, const css::uno::Any &method,
                             const css::uno::Any &target) override;
    OUString SAL_CALL alias(const OUString &code) override;

    // XAddIn: names and descriptions in the language of the locale Calc sets.
    OUString SAL_CALL getProgrammaticFuntionName(const OUString &displayName) override;
    OUString SAL_CALL getDisplayFunctionName(const OUString &programmaticName) override;
    OUString SAL_CALL getFunctionDescription(const OUString &programmaticName) override;
    OUString SAL_CALL getDisplayArgumentName(const OUString &programmaticName,
                                             sal_Int32 argument) override;
    OUString SAL_CALL getArgumentDescription(const OUString &programmaticName,
                                             sal_Int32 argument) override;
    OUString SAL_CALL getProgrammaticCategoryName(const OUString &programmaticName) override;
    OUString SAL_CALL getDisplayCategoryName(const OUString &programmaticName) override;
    void SAL_CALL setLocale(const css::lang::Locale &locale) override;
    css::lang::Locale SAL_CALL getLocale() override;

    OUString SAL_CALL getServiceName() override;
    OUString SAL_CALL getImplementationName() override;
    sal_Bool SAL_CALL supportsService(const OUString &name) override;
    css::uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override;

private:
    css::lang::Locale mLocale;
    std::size_t mLanguage = 1; // English until Calc says otherwise
};

} // namespace talvio::calc
