#include "engine/Change.h"
#include "engine/Formats.h"
#include "engine/NumberFormat.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/Error.h"
#include "model/Taux.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <string>

namespace kvt {

namespace {

const std::string kEuroText(kEuroCode);

// Cross rates: at least one and at most 14 decimals, no grouping.
const NumberFormat &crossRateFormat() {
    static const NumberFormat format = *NumberFormat::parse("0.0#############");
    return format;
}

// The rate of 1 target in source beside a direct conversion.
const NumberFormat &detailRateFormat() {
    static const NumberFormat format = *NumberFormat::parse("#,##0.0##");
    return format;
}

std::string rateSentence(const std::string &from, const std::string &rate, const std::string &to) {
    return "1 " + from + " = " + rate + " " + to;
}

std::string withCode(const std::string &amount, const std::string &code) {
    return amount + " " + code;
}

double finiteCrossRate(double rate, const std::string &from, const std::string &to) {
    if (!std::isfinite(rate))
        throw Error(err::Overflow,
                    "Arithmetic overflow while deriving the cross rate of " + from + " in " + to);
    return rate;
}

} // namespace

Change::EuroRate Change::euroRateOf(const std::string &code) {
    // The fixed rate of a euro-area currency is given from the euro; a free rate with the
    // euro is shown in the direction it was entered.
    if (rateRecord(kEuroText, code).Exist)
        return {TauxDeChange(kEuroText, code), true};
    return {TauxDeChange(code, kEuroText), false};
}

std::string Change::euroRateSentence(const EuroRate &rate, const std::string &code,
                                     const NumberSeparators &separators) {
    const std::string text = numberText(rate.rate, separators);
    return rate.fromEuro ? rateSentence(kEuroText, text, code)
                         : rateSentence(code, text, kEuroText);
}

// 1 From in To from the two euro rates, each in the direction it is given.
double Change::crossRateThroughEuro(const EuroRate &from, const EuroRate &to) {
    if (from.fromEuro && to.fromEuro)
        return to.rate / from.rate;
    if (!from.fromEuro && to.fromEuro)
        return from.rate * to.rate;
    if (!from.fromEuro && !to.fromEuro)
        return from.rate / to.rate;
    return 1.0 / (from.rate * to.rate);
}

void Change::UpdateRateLabels(RateLabels &rstrLabels, const std::string &rstrCurFrom,
                              const std::string &rstrCurTo) {
    const std::string &from = rstrCurFrom;
    const std::string &to = rstrCurTo;
    rstrLabels = RateLabels{};
    const NumberSeparators separators = NumberSeparators::current();

    if (from == to) {
        rstrLabels[0] = {messageText(msg::RateCaption), "1 " + from + " = 1 " + to};
        return;
    }

    // Both are looked up: an unknown code on either side is a failure.
    const bool fromInEuroArea = inEuroArea(from);
    const bool toInEuroArea = inEuroArea(to);
    if (from != kEuroText && to != kEuroText && (fromInEuroArea || toInEuroArea)) {
        const EuroRate fromRate = euroRateOf(from);
        rstrLabels[0] = {messageText(msg::RateCaption),
                         euroRateSentence(fromRate, from, separators)};
        const EuroRate toRate = euroRateOf(to);
        rstrLabels[1] = {messageText(msg::RateCaption), euroRateSentence(toRate, to, separators)};
        const double cross = finiteCrossRate(crossRateThroughEuro(fromRate, toRate), from, to);
        rstrLabels[2] = {
            messageText(msg::CrossRateCaption),
            rateSentence(from, formatNumber(cross, crossRateFormat(), separators), to)};
        return;
    }

    if (rateRecord(from, to).Exist) {
        rstrLabels[0] = {messageText(msg::RateCaption),
                         rateSentence(from, numberText(TauxDeChange(from, to), separators), to)};
        return;
    }
    // Only the other direction is given (or none, and the user is asked for it).
    const double reverse = TauxDeChange(to, from);
    rstrLabels[0] = {messageText(msg::RateCaption),
                     rateSentence(to, numberText(reverse, separators), from)};
    const double cross = finiteCrossRate(1.0 / reverse, from, to);
    rstrLabels[1] = {messageText(msg::CrossRateCaption),
                     rateSentence(from, formatNumber(cross, crossRateFormat(), separators), to)};
}

void Change::UpdateTaux(double vdblMontant, ConversionDetail &rstrDevFrom,
                        ConversionDetail &rstrDevTo, const std::string &rstrDeviseFrom,
                        const std::string &rstrDeviseTo, double &rdblTaux,
                        MethodeArondiType vintMethodeArondi, const std::string &rstrFormat) {
    const DetailRequest request{vdblMontant, rstrDeviseFrom, rstrDeviseTo, vintMethodeArondi,
                                rstrFormat};
    // Open until the function returns, after any failure has been shown; a trace report that
    // fails is a failure of this operation like any other.
    std::optional<TraceBlock> traced;
    try {
        traced.emplace(trace(), "UpdateTaux");
        rstrDevFrom = ConversionDetail{};
        rstrDevTo = ConversionDetail{};
        if (!ConvOK())
            return;
        const NumberSeparators separators = NumberSeparators::current();
        const bool fromInEuroArea = inEuroArea(rstrDeviseFrom);
        const bool toInEuroArea = inEuroArea(rstrDeviseTo);
        if (fromInEuroArea || toInEuroArea) {
            rdblTaux = -1.0;
            if (rstrDeviseFrom != kEuroText && rstrDeviseTo != kEuroText) {
                fillDetailThroughEuro(request, rstrDevFrom, rstrDevTo, separators);
                return;
            }
        }
        fillDirectDetail(request, rstrDevFrom, rstrDevTo, separators);
    } catch (const std::exception &failure) {
        messageBoxes().show(
            BoxRequest{{},
                       messageText(msg::OperationFailed) + " (UpdateTaux): " + failure.what(),
                       BoxIcon::None,
                       BoxButtons::Ok});
    }
}

// Amount, euro amount and result of a conversion through the euro, and the two euro rates.
void Change::fillDetailThroughEuro(const DetailRequest &request, ConversionDetail &source,
                                   ConversionDetail &target, const NumberSeparators &separators) {
    const std::string &from = request.from;
    const std::string &to = request.to;
    // Both legs are read before any amount is worked out, so that a missing rate is asked for
    // first and every line uses it. (A euro-area currency's leg is a fixed rate: no question.)
    TauxDeChange(from, kEuroText);
    TauxDeChange(kEuroText, to);

    const std::int16_t euroDecimals = generalSettings().NbDecEuroInter();
    const std::string targetFormat = FormatNumbOut(request.method, to, request.pattern);
    source[0] = from;
    target[0] = withCode(formatNumber(dblConvert(request.amount, from, to, euroDecimals,
                                                 request.method, request.pattern),
                                      targetFormat, separators),
                         to);

    // The first leg exactly as the conversion above takes it: half away from zero at the
    // intermediate decimals.
    const std::string euroPattern =
        "0." + std::string(static_cast<std::size_t>(std::max<std::int16_t>(euroDecimals, 0)), 'X');
    const double euros =
        dblConvert(request.amount, from, kEuroText, 0, suptargetValue, euroPattern);
    source[1] = withCode(numberText(request.amount, separators), from);
    target[1] =
        withCode(formatNumber(euros, FormatFromPattern(euroPattern), separators), kEuroText);

    source[2] = target[1];
    target[2] =
        withCode(formatNumber(dblConvert(euros, kEuroText, to, 0, request.method, request.pattern),
                              targetFormat, separators),
                 to);

    source[3] = "1 " + kEuroText;
    target[3] = withCode(numberText(TauxDeChange(kEuroText, from), separators), from);
    source[4] = "1 " + kEuroText;
    target[4] = withCode(numberText(TauxDeChange(kEuroText, to), separators), to);
}

// The result of a direct conversion and the rate of 1 target in source.
void Change::fillDirectDetail(const DetailRequest &request, ConversionDetail &source,
                              ConversionDetail &target, const NumberSeparators &separators) {
    const std::string &from = request.from;
    const std::string &to = request.to;
    source[0] = from;
    target[0] = withCode(
        numberText(dblConvert(request.amount, from, to, 0, request.method, request.pattern),
                   separators),
        to);
    source[1] = "1 " + to;
    target[1] =
        withCode(formatNumber(TauxDeChange(to, from), detailRateFormat(), separators), from);
}

} // namespace kvt
