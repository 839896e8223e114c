#include "engine/Change.h"

#include "engine/Formats.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/CaseInsensitive.h"
#include "model/Devise.h"
#include "model/Error.h"

#include <cmath>
#include <string>

namespace kvt {

namespace {

// The patterns of the target values, in the order of ValCibleSupTarget and ValCibleinfTarget.
constexpr std::array<std::string_view, 9> kTargetPatterns = {"X.XX", "X.X9", "X.X", "X.9", "X",
                                                             "X9",   "X0",   "X99", "X00"};

static_assert(SupCentaine - SupCentieme + 1 == kTargetPatterns.size()
              && InfCentaine - InfCentieme + 1 == kTargetPatterns.size());
static_assert(SupCentieme == msg::FirstUpTargetLabel && InfCentieme == msg::FirstDownTargetLabel);

int signOf(double amount) {
    return (amount > 0.0) - (amount < 0.0);
}

TargetDirection directionOf(MethodeArondiType method) {
    switch (method) {
    case suptargetValue:
        return TargetDirection::Up;
    case infTargetValue:
        return TargetDirection::Down;
    default:
        return TargetDirection::None;
    }
}

std::string codeText(std::string_view code) {
    return std::string(code);
}

} // namespace

double Change::dblConvert(double vdblMontant, std::string_view vstrDeviseFrom,
                          std::string_view vstrDeviseTo, const std::int16_t &NbDecEuroInter,
                          MethodeArondiType vintMethodeArondi, std::string_view vstrFormat) {
    return convertGuarded(vdblMontant, vstrDeviseFrom, vstrDeviseTo, NbDecEuroInter,
                          vintMethodeArondi, PatternArg{vstrFormat});
}

double Change::convertGuarded(double amount, std::string_view from, std::string_view to,
                              std::int16_t nbDecEuroInter, MethodeArondiType method,
                              PatternArg pattern) {
    try {
        return convert(amount, from, to, nbDecEuroInter, method, pattern);
    } catch (const std::exception &failure) {
        reportFailure(failure.what());
        return 0.0;
    }
}

Change::PairRecords &Change::recordsOf(std::string_view from, std::string_view to) {
    const std::uint64_t generation = detail::collectionGeneration;
    for (PairRecords &cached : mPairCache)
        if (cached.generation == generation && cached.from == from && cached.to == to)
            return cached;

    Devise *source = ColDevises()->Item(from).get();
    Devise *target = ColDevises()->Item(to).get();
    PairRecords &slot = mPairCache[mNextPairSlot];
    mNextPairSlot = (mNextPairSlot + 1) % mPairCache.size();
    slot = PairRecords{generation, std::string(from), std::string(to), source, target};
    return slot;
}

double Change::convert(double amount, std::string_view from, std::string_view to,
                       std::int16_t nbDecEuroInter, MethodeArondiType method, PatternArg pattern) {
    if (!std::isfinite(amount))
        throw Error(err::InvalidArgument, "The amount to convert is not a finite number");
    // Rounding to the nearest value at the pattern's precision is the upward target method:
    // without a target ending the two are the same, and with one the upward move applies.
    if (method == NearValue)
        method = suptargetValue;

    PairRecords &records = recordsOf(from, to);
    if ((records.source->InEuro() || records.target->InEuro()) && from != kEuroCode
        && to != kEuroCode) {
        if (nbDecEuroInter < 0)
            throw Error(err::InvalidArgument,
                        "The number of decimals of the intermediate euro amount cannot be "
                        "negative: "
                            + std::to_string(nbDecEuroInter));
        // Each leg is a conversion of its own and reports its own failure.
        const RoundingPattern euroLeg = RoundingPattern::plainDecimals(nbDecEuroInter);
        const double euros = convertGuarded(amount, from, kEuroCode, nbDecEuroInter, suptargetValue,
                                            PatternArg{{}, &euroLeg});
        return convertGuarded(euros, kEuroCode, to, nbDecEuroInter, method, pattern);
    }

    if (records.forward == nullptr) {
        // Both are looked up before either is tested: a missing record is a failure.
        const Taux *forward = records.source->ColTaux()->Item(to).get();
        records.reverse = records.target->ColTaux()->Item(from).get();
        records.forward = forward;
    }

    RoundingPattern rounding;
    if (pattern.parsed != nullptr)
        rounding = *pattern.parsed;
    else
        rounding = RoundingPattern::parse(
            method == Legal ? std::string_view(records.target->DevFormat()) : pattern.text);

    const int sign = signOf(amount);
    const Taux &forward = *records.forward;
    const Taux &reverse = *records.reverse;
    double converted = 0.0;
    if (forward.Exist) {
        converted = amount * forward.Change;
    } else if (reverse.Exist) {
        if (reverse.Change == 0.0)
            throw Error(err::DivisionByZero, "Division by zero: the rate of 1 " + codeText(to)
                                                 + " in " + codeText(from) + " is 0");
        converted = amount / reverse.Change;
    } else {
        converted = from == to ? amount : amount * 0.0;
    }
    if (!std::isfinite(converted))
        throw Error(err::Overflow, "Arithmetic overflow while converting " + codeText(from)
                                       + " into " + codeText(to));
    return roundToPattern(std::fabs(converted), sign, rounding, directionOf(method));
}

void Change::initialize(std::shared_ptr<DG> rDG, std::shared_ptr<Message> rMsg,
                        std::weak_ptr<RateTableListener> vKVT) {
    setRateTableListener(std::move(vKVT));
    initializeTables(std::move(rDG), std::move(rMsg));
}

void Change::setProjectName(const std::string &name) {
    CurrencyTables::setProjectName(name);
    trace().setActive(engineTracing());
    trace().setModule(std::string(traceModule()));
}

KVTBug &Change::trace() {
    if (!mTrace)
        mTrace = sharedTrace();
    return *mTrace;
}

void Change::reportFailure(const std::string &description) {
    messages().Msgbox(description, true);
}

std::string Change::FormatArondi(MethodeArondiType method, std::string_view rstrDeviseTo,
                                 std::string_view rstrFormat) {
    if (method == Legal)
        return upperCased(ColDevises()->Item(rstrDeviseTo)->DevFormat());
    return upperCased(rstrFormat);
}

std::string Change::FormatNumbOut(MethodeArondiType vintMethodeArondi,
                                  std::string_view rstrDeviseTo, std::string_view rstrFormat) {
    return FormatFromPattern(FormatArondi(vintMethodeArondi, rstrDeviseTo, rstrFormat));
}

void Change::LoadListFormat(TargetValueList &rStrList, MethodeArondiType MethodeArondi,
                            std::string_view /*DeviseTo: not used*/) {
    std::int32_t firstLabel = 0;
    if (MethodeArondi == suptargetValue)
        firstLabel = SupCentieme;
    else if (MethodeArondi == infTargetValue)
        firstLabel = InfCentieme;
    else
        return;

    const std::int32_t language = generalSettings().Langue();
    rStrList.assign(kTargetPatterns.size(), {});
    for (std::size_t i = 0; i < kTargetPatterns.size(); ++i) {
        rStrList[i][0] = std::string(kTargetPatterns[i]);
        rStrList[i][1] =
            messages().strGetLangMsg(language, firstLabel + static_cast<std::int32_t>(i));
    }
}

} // namespace kvt
