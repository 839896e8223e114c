#pragma once

#include "engine/RoundingPattern.h"
#include "engine/TargetValues.h"
#include "kvt_export.h"
#include "model/CurrencyTables.h"
#include "model/DG.h"
#include "trace/KVTBug.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class RatePrompt;
struct RateQuestion;

// Whoever shows a table of the rates (the control panel) and must refresh it when the engine
// obtained a rate by asking the user.
class KVT_EXPORT RateTableListener {
public:
    virtual ~RateTableListener() = default;
    virtual void LoadClickTableTaux() = 0;
};

struct NumberSeparators;

// Target values offered for a rounding method: rows of (pattern, label).
using TargetValueList = std::vector<std::array<std::string, 2>>;

// Up to three lines describing the rate of a pair: [line][0] is the caption, [line][1] the
// sentence ("1 EUR = 40.3399 BEF"). Line i is row i + 1 and caption/sentence are columns 1/2
// of the rows 1 to 3, columns 1 to 2 that hosts address. Unused lines hold empty strings.
using RateLabels = std::array<std::array<std::string, 2>, 3>;

// One column of the step-by-step detail of a sample conversion (source or target side); line
// i of the detail is (source[i], target[i]). Unused entries are empty.
using ConversionDetail = std::array<std::string, 5>;

// The conversion engine: the currency tables plus the arithmetic on them.
class KVT_EXPORT Change : public CurrencyTables {
public:
    // Attaches the shared settings and messages, remembers whom to tell when a rate asked for
    // changes the rate table (the facade), and fills the built-in tables from the messages.
    void initialize(std::shared_ptr<DG> rDG, std::shared_ptr<Message> rMsg,
                    std::weak_ptr<RateTableListener> vKVT);

    // Names the settings application and switches the engine's tracing from
    // ENGINE / DEBUGCHANGE, titling the trace "Change".
    void setProjectName(const std::string &name);

    // The trace client the engine reports to; the library's shared one until set.
    void setTrace(std::shared_ptr<KVTBug> trace) { mTrace = std::move(trace); }
    KVTBug &trace();

    // Converts an amount between two selected currencies and rounds it. Between a euro-area
    // currency and any currency but the euro the amount goes through the euro (triangulation),
    // the euro amount rounded half away from zero to NbDecEuroInter decimals. Never fails:
    // a failure is shown in a critical message box and the result is 0.
    double dblConvert(double vdblMontant, std::string_view vstrDeviseFrom,
                      std::string_view vstrDeviseTo, const std::int16_t &NbDecEuroInter,
                      MethodeArondiType vintMethodeArondi, std::string_view vstrFormat);

    // The pattern a conversion into the target uses: the target's own legal pattern for
    // Legal, the given pattern otherwise; upper-cased.
    std::string FormatArondi(MethodeArondiType method, std::string_view rstrDeviseTo,
                             std::string_view rstrFormat);

    // The number-format code for a result of that conversion.
    std::string FormatNumbOut(MethodeArondiType vintMethodeArondi, std::string_view rstrDeviseTo,
                              std::string_view rstrFormat);

    // The nine target values of the two target methods with their labels in the language
    // of the general settings; any other method leaves the list as it was.
    void LoadListFormat(TargetValueList &rStrList, MethodeArondiType MethodeArondi,
                        std::string_view DeviseTo);

    // Exchange rates. The record kept under B in A's ColTaux says 1 A = Change B. A given rate
    // (Exist true: a fixed euro rate or one the user entered) is what conversions use; any other
    // record holds 0 or a cross rate derived for display only.

    // 1 from = result to: the given rate, else the inverse of the given reverse rate, else 1 for
    // a code with itself; when there is none, or the given one is 0, the user is asked (AskRate).
    // Fails with the rate error (err::RateIsZero) when the rate stays 0, and turns every failure
    // inside (an unknown code, a missing record, a question that cannot be asked) into it.
    double TauxDeChange(const std::string &vDeviseFrom, const std::string &vDeviseTo);

    // The rate through the euro (the product of the two legs) when either currency is in the euro
    // area, else the direct one. Never fails: a failure is shown in a message box and the result
    // is 0.
    double TauxDeChangeConvert(const std::string &vDeviseFrom, const std::string &vDeviseTo);

    // True when TauxDeChangeConvert of the pair would have to ask the user for a rate. Both codes
    // must be selected; a missing code or rate record fails.
    bool AskRateRequired(const std::string &vDeviseFrom, const std::string &vDeviseTo);

    // Asks for 1 from in to, again after message 552 for as long as the number typed is 0; stores
    // it as a given rate, derives the cross rates (PropagateTaux), tells the rate table listener
    // and returns it. A text that is not a number fails (err::TypeMismatch); a prompt that cannot
    // ask ends it with the rate error instead of asking for ever.
    double AskRate(const std::string &vDeviseFrom, const std::string &vDeviseTo,
                   const std::string &vtxtRateText, const std::string &vProjectName);

    // The rate question: the process-wide prompt (engine/RatePrompt.h).
    RatePrompt &FrmAskRate();

    // Shows a rate for every connected pair of selected currencies: its Change becomes
    // TauxDeChangeConvert of the pair, and Exist is left alone. A pair is connected by a given
    // rate in either direction, by a given rate with the euro of one side while the other is in
    // the euro area, or by being a code with itself. A missing code or record fails.
    void UpdateAllTaux();

    // After a rate between the euro and a currency changed: recomputes the shown rates between
    // that currency and every selected euro-area currency, both ways. Does nothing unless exactly
    // one of the codes is "EUR". A missing code or record fails.
    void PropagateTaux(const std::string &strDev1, const std::string &strDev2);

    // True when the general settings allow a conversion: two different, non-empty currency codes
    // and a target value with an "X".
    bool ConvOK();

    // Loads the currency tables from the settings store, as one batch of the store, then derives
    // the shown cross rates after that batch: deriving may ask the user for a rate, and an open
    // batch would keep every other add-in from saving for as long as the question is on screen.
    // Callers should not hold a batch open around it, for the same reason.
    void ReadReg();

    // Not owned: an expired listener is no longer told.
    void setRateTableListener(std::weak_ptr<RateTableListener> listener) {
        mRateTableListener = std::move(listener);
    }

    // Rate labels and conversion detail. Rates are read with TauxDeChange, so a missing one is
    // asked for; numbers are written with the separators of the process's LC_NUMERIC.

    // Describes the rate of a pair: the direct rate; for a euro-area currency and another
    // currency but the euro, its two euro rates and the cross rate derived from them; for a
    // rate given only the other way, that rate and its inverse as cross rate. Cross rates get
    // up to 14 decimals. Failures (the rate error among them, or an overflowing cross rate)
    // reach the caller; the labels then hold the lines filled before it.
    void UpdateRateLabels(RateLabels &rstrLabels, const std::string &rstrCurFrom,
                          const std::string &rstrCurTo);

    // The detail of converting vdblMontant, when the general settings allow a conversion
    // (ConvOK): through the euro (result, amount and euro amount, euro amount and result, the
    // two euro rates) when one side is a euro-area currency and neither is the euro, else
    // directly (result, the rate of 1 target in source). rdblTaux becomes -1 when either side
    // is in the euro area and is left alone otherwise. Never fails: a failure is shown in a
    // message box and the detail keeps the lines filled so far.
    void UpdateTaux(double vdblMontant, ConversionDetail &rstrDevFrom, ConversionDetail &rstrDevTo,
                    const std::string &rstrDeviseFrom, const std::string &rstrDeviseTo,
                    double &rdblTaux, MethodeArondiType vintMethodeArondi,
                    const std::string &rstrFormat);

private:
    struct PatternArg {
        std::string_view text;
        const RoundingPattern *parsed = nullptr; // set for the euro leg
    };

    // One conversion without the euro in between, as a pair memo keeps it. The rate records
    // are read at each conversion, so that a new rate needs no invalidation.
    struct Step {
        const Taux *forward = nullptr; // under the target's code in the source's ColTaux
        const Taux *reverse = nullptr;
        bool sameCode = false;  // the two codes are spelled alike
        PreparedRounding legal; // the target's legal pattern
    };

    // What the conversions of a pair need, resolved once while no collection, legal pattern or
    // euro membership changes (detail::collectionGeneration): a repeated conversion then
    // compares its two codes with those of the pair and does nothing else but arithmetic.
    struct PairMemo {
        std::uint64_t generation = 0;
        std::string from;
        std::string to;
        bool resolved = false; // every record was found: the pair can convert from the memo
        bool throughEuro = false;
        Step first;                     // the pair itself, or the leg into the euro
        Step second;                    // the leg out of the euro
        std::int16_t euroDecimals = -1; // those euroRounding was made for
        PreparedRounding euroRounding;
    };
    PairMemo &memoOf(std::string_view from, std::string_view to);
    PairMemo &remember(std::string_view from, std::string_view to, std::uint64_t generation);
    void resolve(PairMemo &memo);
    bool resolve(Step &step, std::string_view from, std::string_view to);
    // NaN where the checked conversion fails (see tryRoundToPattern).
    static double convertStep(const Step &step, double amount, const PreparedRounding &rounding,
                              TargetDirection direction) noexcept;
    static double convertRemembered(PairMemo &memo, double amount, std::int16_t nbDecEuroInter,
                                    MethodeArondiType method, std::string_view pattern);

    template<class Conversion>
    double reportingFailure(const Conversion &conversion);
    double convert(double amount, std::string_view from, std::string_view to,
                   std::int16_t nbDecEuroInter, MethodeArondiType method, PatternArg pattern);
    void reportFailure(const std::string &description);

    Taux &rateRecord(std::string_view owner, std::string_view other);
    bool inEuroArea(std::string_view code);
    std::vector<std::shared_ptr<Devise>> selection();
    std::string messageText(std::int32_t number);
    double givenOrAskedRate(const std::string &from, const std::string &to);
    double askOnce(RateQuestion &question);
    bool givenRateWithEuro(Devise &currency, const std::string &code);
    bool connected(Devise &d1, const std::string &code1, Devise &d2, const std::string &code2);

    // Rate labels and conversion detail.
    struct EuroRate {
        double rate = 0.0;
        bool fromEuro = false; // 1 EUR = rate X; else 1 X = rate EUR
    };
    struct DetailRequest {
        double amount;
        const std::string &from;
        const std::string &to;
        MethodeArondiType method;
        const std::string &pattern;
    };
    EuroRate euroRateOf(const std::string &code);
    static std::string euroRateSentence(const EuroRate &rate, const std::string &code,
                                        const NumberSeparators &separators);
    static double crossRateThroughEuro(const EuroRate &from, const EuroRate &to);
    void fillDetailThroughEuro(const DetailRequest &request, ConversionDetail &source,
                               ConversionDetail &target, const NumberSeparators &separators);
    void fillDirectDetail(const DetailRequest &request, ConversionDetail &source,
                          ConversionDetail &target, const NumberSeparators &separators);

    // A host alternates between a few pairs at most.
    std::array<PairMemo, 4> mPairMemos;
    std::size_t mNextPairSlot = 0;

    std::weak_ptr<RateTableListener> mRateTableListener;
    std::shared_ptr<KVTBug> mTrace;
};

} // namespace kvt
