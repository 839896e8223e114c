#include "Arguments.h"

#include "Amount.h"

#include <algorithm>

namespace talvio {

namespace {

constexpr std::string_view kGlobalUsage =
    "[--settings PATH] [--messages PATH] COMMAND [OPTIONS] [ARGUMENTS]";

bool contains(const std::vector<std::string_view> &names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isOption(std::string_view word) {
    return word.size() > 1 && word.front() == '-' && !parseAmount(word).has_value();
}

// Splits "--name=value" into its name and value.
std::pair<std::string, std::optional<std::string>> splitOption(std::string_view word) {
    const auto equals = word.find('=');
    if (equals == std::string_view::npos)
        return {std::string(word), std::nullopt};
    return {std::string(word.substr(0, equals)), std::string(word.substr(equals + 1))};
}

class Reader {
public:
    explicit Reader(const std::vector<std::string> &words)
        : mWords(words) {}

    bool atEnd() const { return mNext >= mWords.size(); }
    const std::string &peek() const { return mWords[mNext]; }
    const std::string &take() { return mWords[mNext++]; }

    std::string valueOf(const std::string &name, const std::optional<std::string> &inlineValue,
                        std::string_view usage) {
        if (inlineValue)
            return *inlineValue;
        if (atEnd())
            throw UsageError{"option " + name + " needs a value", std::string(usage)};
        return take();
    }

    // An empty path would silently mean the default file instead of the one the user meant.
    std::string pathOf(const std::string &name, const std::optional<std::string> &inlineValue,
                       std::string_view usage) {
        std::string path = valueOf(name, inlineValue, usage);
        if (path.empty())
            throw UsageError{"option " + name + " needs a file path, not an empty one",
                             std::string(usage)};
        return path;
    }

private:
    const std::vector<std::string> &mWords;
    std::size_t mNext = 0;
};

void readGlobalOptions(Reader &reader, Invocation &invocation) {
    while (!reader.atEnd() && isOption(reader.peek())) {
        const auto [name, inlineValue] = splitOption(reader.take());
        if (name == "--settings")
            invocation.settingsPath = reader.pathOf(name, inlineValue, kGlobalUsage);
        else if (name == "--messages")
            invocation.messagesPath = reader.pathOf(name, inlineValue, kGlobalUsage);
        else if (name == "--help" && !inlineValue)
            invocation.help = true;
        else if (name == "--version" && !inlineValue)
            invocation.version = true;
        else
            throw UsageError{"unknown option " + name, std::string(kGlobalUsage)};
    }
}

void readCommandWords(Reader &reader, Invocation &invocation) {
    const CommandSyntax &syntax = *invocation.command;
    bool optionsEnded = false;
    while (!reader.atEnd()) {
        const std::string &word = reader.take();
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && isOption(word)) {
            const auto [name, inlineValue] = splitOption(word);
            if (name == "--help" && !inlineValue)
                invocation.commandHelp = true;
            else if (contains(syntax.valueOptions, name))
                invocation.options[name] = reader.valueOf(name, inlineValue, syntax.usage);
            else if (contains(syntax.switches, name) && !inlineValue)
                invocation.switches.insert(name);
            else
                throw UsageError{"unknown option " + name + " for " + std::string(syntax.name),
                                 std::string(syntax.usage)};
        } else {
            invocation.arguments.push_back(word);
        }
    }
    if (invocation.commandHelp)
        return;
    const std::size_t count = invocation.arguments.size();
    if (count < syntax.minArguments)
        throw UsageError{"too few arguments for " + std::string(syntax.name),
                         std::string(syntax.usage)};
    if (count > syntax.maxArguments)
        throw UsageError{"too many arguments for " + std::string(syntax.name),
                         std::string(syntax.usage)};
}

} // namespace

std::optional<std::string> Invocation::option(std::string_view name) const {
    const auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

Invocation parseArguments(const std::vector<std::string> &words,
                          const std::vector<CommandSyntax> &commands) {
    Invocation invocation;
    Reader reader(words);
    readGlobalOptions(reader, invocation);
    if (reader.atEnd()) {
        if (invocation.help || invocation.version)
            return invocation;
        throw UsageError{"no command given", std::string(kGlobalUsage)};
    }
    const std::string &name = reader.take();
    const auto syntax = std::find_if(commands.begin(), commands.end(),
                                     [&](const CommandSyntax &c) { return c.name == name; });
    if (syntax == commands.end())
        throw UsageError{"unknown command " + name, std::string(kGlobalUsage)};
    invocation.command = &*syntax;
    readCommandWords(reader, invocation);
    return invocation;
}

std::string_view globalUsage() {
    return kGlobalUsage;
}

} // namespace talvio
