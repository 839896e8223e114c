#include "Amount.h"
#include "Commands.h"
#include "Output.h"
#include "Session.h"
#include "Terminal.h"
#include "engine/RoundingPattern.h"
#include "model/CaseInsensitive.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <istream>
#include <optional>
#include <ostream>
#include <unistd.h>

namespace talvio {

namespace {

// The library and the terminal, set up for one command.
struct Context {
    TerminalUi ui;
    Session session;

    explicit Context(const Invocation &invocation)
        : ui(installTerminalUi())
        , session(invocation.settingsPath, invocation.messagesPath) {}

    // The currencies a command names must be in the user's selection.
    bool selected(std::initializer_list<const std::string *> codes, std::ostream &err) {
        for (const auto *code : codes) {
            if (!session.IsSelected(*code)) {
                err << "talvio: " << *code
                    << " is not a selected currency (talvio currencies lists them)\n";
                return false;
            }
        }
        return true;
    }

    bool failureShown(std::size_t before) const { return ui.boxes->criticalCount() != before; }
};

std::optional<long> wholeNumber(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

kvt::MethodeArondiType methodOf(const std::string &text, std::string_view usage) {
    if (const auto method = kvt::methodNamed(text))
        return *method;
    throw UsageError{"unknown rounding method " + text + " (legal, near, up, down or 130-133)",
                     std::string(usage)};
}

double amountArgument(const std::string &text, std::string_view usage) {
    const auto amount = parseAmount(text);
    if (!amount)
        throw UsageError{"not an amount: " + text, std::string(usage)};
    return *amount;
}

// The rounding choices of a conversion: the options given, else the user's stored ones.
struct Rounding {
    kvt::MethodeArondiType method;
    std::string pattern;
    std::int16_t euroDecimals;
};

Rounding roundingOf(const Invocation &invocation, const Session &session) {
    const std::string_view usage = invocation.command->usage;
    Rounding rounding{session.MethodeArondi(), session.ValeurCible(), session.NbDecEuroInter()};
    if (const auto method = invocation.option("--method"))
        rounding.method = methodOf(*method, usage);
    if (const auto pattern = invocation.option("--pattern")) {
        if (!kvt::isRoundingPattern(*pattern))
            throw UsageError{"not a rounding pattern: " + quotedInput(*pattern)
                                 + " (\"X\" placeholders, digits and at most one \".\", with at "
                                   "least one \"X\"; for example X.XX, X.X9, X99 or 0.0X)",
                             std::string(usage)};
        rounding.pattern = *pattern;
    }
    if (const auto decimals = invocation.option("--euro-decimals")) {
        const auto number = wholeNumber(*decimals);
        if (!number || *number < 3 || *number > 15)
            throw UsageError{"--euro-decimals takes a whole number from 3 to 15",
                             std::string(usage)};
        rounding.euroDecimals = static_cast<std::int16_t>(*number);
    }
    return rounding;
}

// A euro-area currency's rates to others go through the euro: that is the rate to enter.
std::string rateOwner(Session &session, const std::string &code) {
    return session.InEuroArea(code) ? std::string("EUR") : code;
}

// Makes sure the pair has its rate before anything reads it: asked for on a terminal (and
// saved), otherwise a failure that says how to enter it.
bool ensureRate(Context &context, const std::string &from, const std::string &to,
                Streams &streams) {
    if (!context.selected({&from, &to}, streams.err))
        return false;
    Session &session = context.session;
    if (!session.AskRateRequired(from, to))
        return true;
    if (!context.ui.interactive) {
        streams.err << "talvio: no exchange rate is stored for " << from << " to " << to
                    << "; enter one with: talvio set-rate " << rateOwner(session, from) << ' '
                    << rateOwner(session, to) << " RATE\n";
        return false;
    }
    const std::size_t before = context.ui.boxes->criticalCount();
    const double rate = session.TauxDeChangeConvert(from, to);
    if (rate == 0.0 || context.failureShown(before)) {
        // The facade keeps the reason in its trace only; the user still needs to hear of it.
        streams.err << "talvio: no usable rate was entered for " << from << " to " << to
                    << "; nothing was converted or saved\n";
        return false;
    }
    session.SaveTables();
    return true;
}

// Writes one converted amount per line, in the form the options ask for.
class AmountWriter {
public:
    AmountWriter(Session &session, const std::string &to, const Rounding &rounding, bool raw)
        : mRaw(raw) {
        if (raw)
            return;
        mFormat = parsedFormat(session.DeviseFormatNumber(to, rounding.method, rounding.pattern));
        mSeparators = kvt::NumberSeparators::current();
        if (session.FormatDef())
            mAlias = session.DeviseFormat(to);
    }

    // The whole line in one write.
    void writeLine(std::ostream &out, double value) const {
        if (mRaw) {
            std::array<char, kRawNumberRoom + 1> line; // filled up to end
            char *end = rawNumberTo(line.data(), value);
            *end++ = '\n';
            out.write(line.data(), end - line.data());
            return;
        }
        const std::string line = formattedAmount(value, mFormat, mSeparators, mAlias) + '\n';
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }

private:
    bool mRaw;
    kvt::NumberFormat mFormat;
    kvt::NumberSeparators mSeparators;
    std::string mAlias;
};

constexpr std::size_t kProgressStep = 100000;

int convertStream(Context &context, const std::string &from, const std::string &to,
                  const Rounding &rounding, const AmountWriter &writer, Streams &streams) {
    const bool progress = isatty(STDERR_FILENO) != 0;
    int status = kSuccess;
    std::string line;
    std::size_t number = 0;
    while (std::getline(streams.in, line)) {
        ++number;
        if (progress && number % kProgressStep == 0)
            streams.err << "\r" << number << " lines" << std::flush;
        const auto amount = parseAmount(line);
        if (!amount) {
            streams.err << "talvio: line " << number << ": not an amount: " << quotedInput(line)
                        << "\n";
            streams.out << '\n';
            status = kFailure;
            continue;
        }
        const std::size_t before = context.ui.boxes->criticalCount();
        const double result = context.session.Convert(*amount, from, to, rounding.euroDecimals,
                                                      rounding.method, rounding.pattern);
        if (context.failureShown(before)) {
            streams.err << "talvio: line " << number << ": the conversion failed\n";
            streams.out << '\n';
            status = kFailure;
            continue;
        }
        writer.writeLine(streams.out, result);
    }
    if (progress && number >= kProgressStep)
        streams.err << "\r" << number << " lines\n";
    return status;
}

} // namespace

int runConvert(const Invocation &invocation, Streams &streams) {
    const auto &args = invocation.arguments;
    const bool single = args.size() == 3;
    const std::optional<double> amount =
        single ? std::optional(amountArgument(args[0], invocation.command->usage)) : std::nullopt;
    const std::string &from = args[single ? 1 : 0];
    const std::string &to = args[single ? 2 : 1];

    Context context(invocation);
    const Rounding rounding = roundingOf(invocation, context.session);
    if (!ensureRate(context, from, to, streams))
        return kFailure;
    const AmountWriter writer(context.session, to, rounding, invocation.hasSwitch("--raw"));
    if (!single)
        return convertStream(context, from, to, rounding, writer, streams);

    const std::size_t before = context.ui.boxes->criticalCount();
    const double result = context.session.Convert(*amount, from, to, rounding.euroDecimals,
                                                  rounding.method, rounding.pattern);
    if (context.failureShown(before))
        return kFailure;
    writer.writeLine(streams.out, result);
    return kSuccess;
}

int runRate(const Invocation &invocation, Streams &streams) {
    const auto &from = invocation.arguments[0];
    const auto &to = invocation.arguments[1];
    Context context(invocation);
    if (!ensureRate(context, from, to, streams))
        return kFailure;
    const std::size_t before = context.ui.boxes->criticalCount();
    const double rate = context.session.TauxDeChangeConvert(from, to);
    if (context.failureShown(before))
        return kFailure;
    streams.out << kvt::numberText(rate, kvt::NumberSeparators::current()) << '\n';
    return kSuccess;
}

int runLabels(const Invocation &invocation, Streams &streams) {
    const auto &from = invocation.arguments[0];
    const auto &to = invocation.arguments[1];
    Context context(invocation);
    if (!ensureRate(context, from, to, streams))
        return kFailure;
    kvt::RateLabels labels;
    context.session.UpdateRateLabels(labels, from, to);
    for (const auto &[caption, sentence] : labels) {
        if (!caption.empty() || !sentence.empty())
            streams.out << caption << '\t' << sentence << '\n';
    }
    return kSuccess;
}

int runDetail(const Invocation &invocation, Streams &streams) {
    const auto &args = invocation.arguments;
    const double amount = amountArgument(args[0], invocation.command->usage);
    Context context(invocation);
    const Rounding rounding = roundingOf(invocation, context.session);
    if (!ensureRate(context, args[1], args[2], streams))
        return kFailure;
    kvt::ConversionDetail source;
    kvt::ConversionDetail target;
    const std::size_t before = context.ui.boxes->criticalCount();
    context.session.UpdateTaux(amount, source, target, args[1], args[2], rounding.method,
                               rounding.pattern);
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (!source[i].empty() || !target[i].empty())
            streams.out << source[i] << '\t' << target[i] << '\n';
    }
    return context.failureShown(before) ? kFailure : kSuccess;
}

int runSetRate(const Invocation &invocation, Streams &streams) {
    const auto &args = invocation.arguments;
    const auto &from = args[0];
    const auto &to = args[1];
    const auto rate = parseRate(args[2]);
    if (!rate) {
        streams.err << "talvio: not a usable exchange rate: " << quotedInput(args[2])
                    << " (a rate is a number greater than 0, neither too large nor too small to "
                       "be inverted)\n";
        return kFailure;
    }
    Context context(invocation);
    Session &session = context.session;
    if (!context.selected({&from, &to}, streams.err))
        return kFailure;
    if (kvt::equalsIgnoreCase(from, to)) {
        streams.err << "talvio: a currency has no rate to itself: " << from << "\n";
        return kFailure;
    }
    for (const auto *code : {&from, &to}) {
        if (session.InEuroArea(*code)) {
            streams.err << "talvio: " << *code
                        << " is in the euro zone: its rate to the euro is fixed; enter the "
                           "rate with EUR instead\n";
            return kFailure;
        }
    }
    session.EnterRate(from, to, *rate);
    session.SaveTables();
    return kSuccess;
}

int runCurrencies(const Invocation &invocation, Streams &streams) {
    Context context(invocation);
    const auto list =
        invocation.hasSwitch("--all") ? context.session.Catalogue() : context.session.Currencies();
    for (std::size_t i = 0; i < list[0].size(); ++i)
        streams.out << list[0][i] << '\t' << list[1][i] << '\n';
    return kSuccess;
}

int runFormats(const Invocation &invocation, Streams &streams) {
    const auto method = methodOf(invocation.arguments[0], invocation.command->usage);
    Context context(invocation);
    kvt::TargetValueList list;
    context.session.PsyRounds(list, method);
    for (const auto &[pattern, label] : list)
        streams.out << pattern << '\t' << label << '\n';
    return kSuccess;
}

} // namespace talvio
