// Reference rate files in and out: import-rates and export-rates.
#include "Commands.h"
#include "Session.h"
#include "Terminal.h"
#include "engine/RateImport.h"
#include "engine/ReferenceRates.h"
#include "model/DateNumber.h"
#include "model/Error.h"

#include <ostream>

namespace talvio {

int runImportRates(const Invocation &invocation, Streams &streams) {
    const auto chosen = invocation.option("--date");
    if (chosen && !kvt::isIsoDate(*chosen))
        throw UsageError{"--date takes a day as YYYY-MM-DD",
                         std::string(invocation.command->usage)};
    const kvt::ReferenceRates rates = kvt::readReferenceRateFile(invocation.arguments[0]);
    const TerminalUi ui = installTerminalUi();
    Session session(invocation.settingsPath, invocation.messagesPath);
    kvt::Change &engine = *session.main().mChange;
    const kvt::RateImport import =
        kvt::planRateImport(engine, rates, chosen.value_or(""), invocation.hasSwitch("--add"));
    if (!import.entered.empty()) {
        kvt::applyRateImport(engine, import, kvt::currentDateNumber());
        session.SaveTables();
    }
    for (const kvt::RateImportEntry &entry : import.entered)
        streams.out << entry.code << '\t'
                    << (entry.before ? kvt::referenceRateText(*entry.before) : "-") << '\t'
                    << kvt::referenceRateText(entry.rate) << (entry.added ? "\tadded" : "") << '\n';
    for (const kvt::RateImportSkip &skip : import.skipped)
        streams.out << skip.code << "\tskipped: " << skip.reason << '\n';
    return kSuccess;
}

int runExportRates(const Invocation &invocation, Streams &streams) {
    const auto format = invocation.option("--format").value_or("csv");
    if (format != "csv" && format != "xml")
        throw UsageError{"--format takes csv or xml", std::string(invocation.command->usage)};
    const TerminalUi ui = installTerminalUi();
    Session session(invocation.settingsPath, invocation.messagesPath);
    streams.out << kvt::writeReferenceRates(kvt::givenEuroRates(*session.main().mChange),
                                            format == "xml" ? kvt::ReferenceFormat::Xml
                                                            : kvt::ReferenceFormat::Csv);
    return kSuccess;
}

} // namespace talvio
