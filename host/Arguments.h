#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace talvio {

// Wrong use of the command line: main prints the message and a usage line and exits with 2.
struct UsageError {
    std::string message;
    std::string usage;
};

// What one command accepts: options taking a value, switches, and how many arguments.
struct CommandSyntax {
    std::string_view name;
    std::string_view usage; // the line after "usage: talvio "
    std::string_view summary;
    std::vector<std::string_view> valueOptions;
    std::vector<std::string_view> switches;
    std::size_t minArguments = 0;
    std::size_t maxArguments = 0;
};

struct Invocation {
    // Global options, given before the command.
    std::string settingsPath;
    std::string messagesPath;
    bool help = false;
    bool version = false;

    const CommandSyntax *command = nullptr; // null with --help or --version alone
    bool commandHelp = false;
    std::vector<std::string> arguments;
    std::map<std::string, std::string, std::less<>> options;
    std::set<std::string, std::less<>> switches;

    std::optional<std::string> option(std::string_view name) const;
    bool hasSwitch(std::string_view name) const { return switches.contains(name); }
};

// Reads the command line (without the program name). Options come as "--name value" or
// "--name=value" and may stand anywhere after the command; "--" ends them. A word that starts
// with "-" but reads as an amount ("-123.456") is an argument, so negative amounts need no
// "--". Throws UsageError.
Invocation parseArguments(const std::vector<std::string> &words,
                          const std::vector<CommandSyntax> &commands);

std::string_view globalUsage();

} // namespace talvio
