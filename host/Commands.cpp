#include "Commands.h"

#include "model/Error.h"

#include <istream>
#include <ostream>

#ifndef TALVIO_VERSION
#error "TALVIO_VERSION must be defined by the build"
#endif

namespace talvio {

namespace {

using Runner = int (*)(const Invocation &, Streams &);

struct CommandEntry {
    CommandSyntax syntax;
    Runner run;
};

const std::vector<CommandEntry> &commandTable() {
    static const std::vector<CommandEntry> table = {
        {{"convert",
          "convert [--method legal|near|up|down|N] [--pattern P] [--euro-decimals N] [--raw] "
          "[AMOUNT] FROM TO",
          "Converts AMOUNT, or every line of standard input, from FROM to TO.",
          {"--method", "--pattern", "--euro-decimals"},
          {"--raw"},
          2,
          3},
         runConvert},
        {{"rate", "rate FROM TO", "Prints the exchange rate: 1 FROM = rate TO.", {}, {}, 2, 2},
         runRate},
        {{"labels",
          "labels FROM TO",
          "Prints the rate labels of the pair: caption, tab, sentence.",
          {},
          {},
          2,
          2},
         runLabels},
        {{"detail",
          "detail [--method legal|near|up|down|N] [--pattern P] AMOUNT FROM TO",
          "Prints the steps of converting AMOUNT: source, tab, target.",
          {"--method", "--pattern"},
          {},
          3,
          3},
         runDetail},
        {{"set-rate",
          "set-rate FROM TO RATE",
          "Enters the rate 1 FROM = RATE TO and saves it.",
          {},
          {},
          3,
          3},
         runSetRate},
        {{"import-rates",
          "import-rates FILE [--date YYYY-MM-DD] [--add]",
          "Enters the euro rates of one day of a European Central Bank reference rate file (XML "
          "or CSV; the newest day unless --date) for the selected currencies, with --add also "
          "selecting the file's other known currencies, and saves them. Prints code, tab, old "
          "rate, tab, new rate for each, then what was skipped.",
          {"--date"},
          {"--add"},
          1,
          1},
         runImportRates},
        {{"export-rates",
          "export-rates [--format csv|xml]",
          "Writes the entered euro rates as a reference rate file (CSV unless --format xml), "
          "dated with the last rate update.",
          {"--format"},
          {},
          0,
          0},
         runExportRates},
        {{"currencies",
          "currencies [--all]",
          "Lists the selected currencies, or with --all the whole catalogue: code, tab, name.",
          {},
          {"--all"},
          0,
          0},
         runCurrencies},
        {{"formats",
          "formats METHOD",
          "Lists the target values of a rounding method (up, down): pattern, tab, label.",
          {},
          {},
          1,
          1},
         runFormats},
        {{"addin",
          "addin [--type TYPE] [--path DIR]",
          "Runs as an add-in beside others until standard input ends: registers with the add-in "
          "manager, then takes one action per line (state, start, finish, save, set-rate FROM TO "
          "RATE, rate FROM TO, names, wizard [--force], about, pick WHAT [INITIAL], panel, quit) "
          "and "
          "reports every edit state it reaches. The window actions need a display.",
          {"--type", "--path"},
          {},
          0,
          0},
         runAddIn},
        {{"wizard",
          "wizard [--force]",
          "Opens the first-time wizard when the setting FirstTime is ON, or always with --force, "
          "and saves the language and currencies chosen there. Needs a display.",
          {},
          {"--force"},
          0,
          0},
         runWizard},
        {{"about",
          "about",
          "Opens the about box, listing the version, the settings database and the message "
          "file. Needs a display.",
          {},
          {},
          0,
          0},
         runAbout},
        {{"panel",
          "panel",
          "Opens the control panel on the settings database and prints \"saved\" when the user "
          "saved at least once. Needs a display.",
          {},
          {},
          0,
          0},
         runPanel},
        {{"pick",
          "pick position|folder|color|font [--initial FOLDER|#RRGGBB]",
          "Opens a chooser and prints the choice: the insertion position (number and name), a "
          "folder, a colour (#RRGGBB) or a font (one field per line). Exits 1 when cancelled. "
          "Needs a display.",
          {"--initial"},
          {},
          1,
          1},
         runPick},
        {{"settings",
          "settings list | get SECTION KEY | set SECTION KEY VALUE | delete SECTION KEY",
          "Reads and writes the stored settings of the application Talvio.",
          {},
          {},
          1,
          4},
         runSettings},
    };
    return table;
}

void printOverview(std::ostream &out) {
    out << "usage: talvio " << globalUsage() << "\n\nCommands:\n";
    for (const auto &entry : commandTable())
        out << "  " << entry.syntax.usage << "\n      " << entry.syntax.summary << "\n";
    out << "\nOptions:\n"
           "  --settings PATH   settings database (default: $TALVIO_SETTINGS, else the per-user "
           "one)\n"
           "  --messages PATH   message file (default: the shipped one)\n"
           "  --help            this text; COMMAND --help describes one command\n"
           "  --version         the version\n";
}

} // namespace

const std::vector<CommandSyntax> &commandSyntaxes() {
    static const std::vector<CommandSyntax> syntaxes = [] {
        std::vector<CommandSyntax> result;
        for (const auto &entry : commandTable())
            result.push_back(entry.syntax);
        return result;
    }();
    return syntaxes;
}

int runInvocation(const Invocation &invocation, Streams &streams) {
    if (invocation.command == nullptr) {
        if (invocation.version)
            streams.out << "talvio " << TALVIO_VERSION << "\n";
        else
            printOverview(streams.out);
        return kSuccess;
    }
    if (invocation.commandHelp) {
        streams.out << "usage: talvio " << invocation.command->usage << "\n"
                    << invocation.command->summary << "\n";
        return kSuccess;
    }
    for (const auto &entry : commandTable()) {
        if (entry.syntax.name != invocation.command->name)
            continue;
        try {
            return entry.run(invocation, streams);
        } catch (const kvt::Error &error) {
            streams.err << "talvio: " << error.description() << "\n";
            return kFailure;
        }
    }
    return kWrongUsage;
}

} // namespace talvio
