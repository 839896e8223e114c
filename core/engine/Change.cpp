#include "engine/Change.h"

#include "engine/Formats.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/CaseInsensitive.h"
#include "model/Devise.h"
#include "model/Error.h"

#include <cmath>
#include <limits>
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

// Spelled alike. Codes are short: a loop beats a call to memcmp.
bool spelledAlike(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

enum class RateFailure { None, DivisionByZero, Overflow };

struct RateApplied {
    double amount = 0.0;
    RateFailure failure = RateFailure::None;
};

// The amount in the target before rounding: through the given rate, else through the inverse of
// the given reverse rate, else unchanged between codes spelled alike, else 0.
RateApplied applyRate(double amount, const Taux &forward, const Taux &reverse,
                      bool sameCode) noexcept {
    double converted = 0.0;
    if (forward.Exist) {
        converted = amount * forward.Change;
    } else if (reverse.Exist) {
        if (reverse.Change == 0.0)
            return {0.0, RateFailure::DivisionByZero};
        converted = amount / reverse.Change;
    } else {
        converted = sameCode ? amount : amount * 0.0;
    }
    if (!std::isfinite(converted))
        return {0.0, RateFailure::Overflow};
    return {converted, RateFailure::None};
}

} // namespace

template<class Conversion>
double Change::reportingFailure(const Conversion &conversion) {
    try {
        return conversion();
    } catch (const std::exception &failure) {
        reportFailure(failure.what());
        return 0.0;
    }
}

double Change::dblConvert(double vdblMontant, std::string_view vstrDeviseFrom,
                          std::string_view vstrDeviseTo, const std::int16_t &NbDecEuroInter,
                          MethodeArondiType vintMethodeArondi, std::string_view vstrFormat) {
    return reportingFailure([&] {
        const double result = convertRemembered(memoOf(vstrDeviseFrom, vstrDeviseTo), vdblMontant,
                                                NbDecEuroInter, vintMethodeArondi, vstrFormat);
        if (!std::isnan(result))
            return result;
        // What the memo cannot convert is a failure: the checked conversion reports it.
        return convert(vdblMontant, vstrDeviseFrom, vstrDeviseTo, NbDecEuroInter, vintMethodeArondi,
                       PatternArg{vstrFormat});
    });
}

Change::PairMemo &Change::memoOf(std::string_view from, std::string_view to) {
    const std::uint64_t generation = detail::collectionGeneration;
    for (PairMemo &memo : mPairMemos)
        if (memo.generation == generation && spelledAlike(memo.from, from)
            && spelledAlike(memo.to, to))
            return memo;
    return remember(from, to, generation);
}

Change::PairMemo &Change::remember(std::string_view from, std::string_view to,
                                   std::uint64_t generation) {
    PairMemo memo;
    memo.from = from;
    memo.to = to;
    resolve(memo);
    memo.generation = generation;
    PairMemo &slot = mPairMemos[mNextPairSlot];
    mNextPairSlot = (mNextPairSlot + 1) % mPairMemos.size();
    slot = std::move(memo);
    return slot;
}

// Looks up what the checked conversion would, with the same codes, without failing: a record
// missing leaves the memo unresolved, and the checked conversion reports it.
void Change::resolve(PairMemo &memo) {
    const Devise *source = ColDevises()->find(memo.from);
    const Devise *target = ColDevises()->find(memo.to);
    if (source == nullptr || target == nullptr)
        return;
    memo.throughEuro =
        (source->InEuro() || target->InEuro()) && memo.from != kEuroCode && memo.to != kEuroCode;
    if (memo.throughEuro)
        memo.resolved =
            resolve(memo.first, memo.from, kEuroCode) && resolve(memo.second, kEuroCode, memo.to);
    else
        memo.resolved = resolve(memo.first, memo.from, memo.to);
}

bool Change::resolve(Step &step, std::string_view from, std::string_view to) {
    Devise *source = ColDevises()->find(from);
    Devise *target = ColDevises()->find(to);
    if (source == nullptr || target == nullptr)
        return false;
    step.forward = source->ColTaux()->find(to);
    step.reverse = target->ColTaux()->find(from);
    step.sameCode = from == to;
    step.legal = PreparedRounding(RoundingPattern::parse(target->DevFormat()));
    return step.forward != nullptr && step.reverse != nullptr;
}

double Change::convertStep(const Step &step, double amount, const PreparedRounding &rounding,
                           TargetDirection direction) noexcept {
    const RateApplied converted = applyRate(amount, *step.forward, *step.reverse, step.sameCode);
    if (converted.failure != RateFailure::None)
        return std::numeric_limits<double>::quiet_NaN();
    return tryRoundToPattern(std::fabs(converted.amount), signOf(amount), rounding, direction);
}

// The conversion of dblConvert from a resolved memo: no lookup, no parsing of a legal pattern,
// no failure thrown. NaN wherever the checked conversion fails somewhere, its legs included.
double Change::convertRemembered(PairMemo &memo, double amount, std::int16_t nbDecEuroInter,
                                 MethodeArondiType method, std::string_view pattern) {
    constexpr double kFails = std::numeric_limits<double>::quiet_NaN();
    if (!memo.resolved || !std::isfinite(amount))
        return kFails;
    if (method == NearValue)
        method = suptargetValue;
    const TargetDirection direction = directionOf(method);
    PreparedRounding given; // the caller's pattern may change from one call to the next
    if (method != Legal)
        given = PreparedRounding(RoundingPattern::parse(pattern));
    const Step &last = memo.throughEuro ? memo.second : memo.first;
    const PreparedRounding &rounding = method == Legal ? last.legal : given;
    if (!memo.throughEuro)
        return convertStep(memo.first, amount, rounding, direction);

    if (nbDecEuroInter < 0)
        return kFails;
    if (memo.euroDecimals != nbDecEuroInter) {
        memo.euroRounding = PreparedRounding(RoundingPattern::plainDecimals(nbDecEuroInter));
        memo.euroDecimals = nbDecEuroInter;
    }
    // A failed leg is NaN, and NaN goes through the other leg as NaN.
    const double euros = convertStep(memo.first, amount, memo.euroRounding, TargetDirection::Up);
    return convertStep(memo.second, euros, rounding, direction);
}

double Change::convert(double amount, std::string_view from, std::string_view to,
                       std::int16_t nbDecEuroInter, MethodeArondiType method, PatternArg pattern) {
    if (!std::isfinite(amount))
        throw Error(err::InvalidArgument, "The amount to convert is not a finite number");
    // Rounding to the nearest value at the pattern's precision is the upward target method:
    // without a target ending the two are the same, and with one the upward move applies.
    if (method == NearValue)
        method = suptargetValue;

    Devise &source = *ColDevises()->Item(from);
    Devise &target = *ColDevises()->Item(to);
    if ((source.InEuro() || target.InEuro()) && from != kEuroCode && to != kEuroCode) {
        if (nbDecEuroInter < 0)
            throw Error(err::InvalidArgument,
                        "The number of decimals of the intermediate euro amount cannot be "
                        "negative: "
                            + std::to_string(nbDecEuroInter));
        // Each leg is a conversion of its own and reports its own failure.
        const RoundingPattern euroLeg = RoundingPattern::plainDecimals(nbDecEuroInter);
        const double euros = reportingFailure([&] {
            return convert(amount, from, kEuroCode, nbDecEuroInter, suptargetValue,
                           PatternArg{{}, &euroLeg});
        });
        return reportingFailure(
            [&] { return convert(euros, kEuroCode, to, nbDecEuroInter, method, pattern); });
    }

    // Both are looked up before either is tested: a missing record is a failure.
    const Taux &forward = *source.ColTaux()->Item(to);
    const Taux &reverse = *target.ColTaux()->Item(from);
    RoundingPattern rounding;
    if (pattern.parsed != nullptr)
        rounding = *pattern.parsed;
    else
        rounding = RoundingPattern::parse(method == Legal ? std::string_view(target.DevFormat())
                                                          : pattern.text);

    const RateApplied converted = applyRate(amount, forward, reverse, from == to);
    if (converted.failure == RateFailure::DivisionByZero)
        throw Error(err::DivisionByZero, "Division by zero: the rate of 1 " + codeText(to) + " in "
                                             + codeText(from) + " is 0");
    if (converted.failure == RateFailure::Overflow)
        throw Error(err::Overflow, "Arithmetic overflow while converting " + codeText(from)
                                       + " into " + codeText(to));
    return roundToPattern(std::fabs(converted.amount), signOf(amount), rounding,
                          directionOf(method));
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
