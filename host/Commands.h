#pragma once

#include "Arguments.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace talvio {

// Exit statuses.
constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kWrongUsage = 2;

struct Streams {
    std::istream &in;
    std::ostream &out;
    std::ostream &err;
};

// Every command the host knows, with its options and usage.
const std::vector<CommandSyntax> &commandSyntaxes();

// Runs a parsed command line and gives the exit status. Failures of the library (kvt::Error)
// are reported on err with status 1; a UsageError found while running propagates.
int runInvocation(const Invocation &invocation, Streams &streams);

// The commands, one unit per family.
int runSettings(const Invocation &invocation, Streams &streams);
int runConvert(const Invocation &invocation, Streams &streams);
int runRate(const Invocation &invocation, Streams &streams);
int runLabels(const Invocation &invocation, Streams &streams);
int runDetail(const Invocation &invocation, Streams &streams);
int runSetRate(const Invocation &invocation, Streams &streams);
int runCurrencies(const Invocation &invocation, Streams &streams);
int runFormats(const Invocation &invocation, Streams &streams);
// Reference rate files.
int runImportRates(const Invocation &invocation, Streams &streams);
int runExportRates(const Invocation &invocation, Streams &streams);
// Open the library's windows.
int runWizard(const Invocation &invocation, Streams &streams);
int runAbout(const Invocation &invocation, Streams &streams);
int runPick(const Invocation &invocation, Streams &streams);
int runPanel(const Invocation &invocation, Streams &streams);
// Runs as a long-lived add-in until standard input ends; reads the raw descriptor, not in.
int runAddIn(const Invocation &invocation, Streams &streams);

} // namespace talvio
