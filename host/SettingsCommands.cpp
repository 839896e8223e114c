#include "Commands.h"
#include "Store.h"
#include "model/CaseInsensitive.h"

#include <algorithm>
#include <ostream>

namespace talvio {

namespace {

constexpr std::string_view kUsage =
    "settings list | get SECTION KEY | set SECTION KEY VALUE | delete SECTION KEY";

// The number of arguments after the subcommand each subcommand takes.
void requireCount(const Invocation &invocation, std::size_t count) {
    if (invocation.arguments.size() != count + 1)
        throw UsageError{"wrong number of arguments for settings " + invocation.arguments[0],
                         std::string(kUsage)};
}

int list(kvt::Registry &registry, Streams &streams) {
    for (const auto &section : registry.EnumerateSections()) {
        for (const auto &[key, value] : registry.EnumerateSection(section))
            streams.out << section << '\t' << key << '\t' << value << '\n';
    }
    return kSuccess;
}

// Reads without Registry::strGetSetting, which would store an empty default for a key that
// is absent: looking must not write.
int get(kvt::Registry &registry, const std::string &section, const std::string &key,
        Streams &streams) {
    const auto entries = registry.EnumerateSection(section);
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const auto &entry) {
        return kvt::equalsIgnoreCase(entry.first, key);
    });
    if (found == entries.end()) {
        streams.err << "talvio: no setting " << section << " / " << key << "\n";
        return kFailure;
    }
    streams.out << found->second << '\n';
    return kSuccess;
}

} // namespace

int runSettings(const Invocation &invocation, Streams &streams) {
    const auto &args = invocation.arguments;
    const std::string &sub = args[0];
    if (sub != "list" && sub != "get" && sub != "set" && sub != "delete")
        throw UsageError{"unknown settings command " + sub, std::string(kUsage)};
    requireCount(invocation, sub == "list" ? 0 : sub == "set" ? 3 : 2);

    const auto registry = openSettings(invocation.settingsPath).registry;
    if (sub == "list")
        return list(*registry, streams);
    if (sub == "get")
        return get(*registry, args[1], args[2], streams);
    if (sub == "set")
        registry->SetReg(args[1], args[2], args[3]);
    else
        registry->DeleteSetting(args[1], args[2]);
    return kSuccess;
}

} // namespace talvio
