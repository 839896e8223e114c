#include "Amount.h"
#include "Arguments.h"
#include "Commands.h"
#include "FuzzCheck.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using talvio::fuzz::check;

} // namespace

// Arbitrary words (separated by NUL bytes) as a command line: the parser accepts them or
// refuses them with a usage error, and what it accepts keeps to the command's argument count;
// every word read as an amount is finite and its raw text reads back to the same value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            words.emplace_back();
        else
            words.back().push_back(static_cast<char>(data[i]));
    }

    for (const std::string &word : words) {
        if (const auto amount = talvio::parseAmount(word)) {
            check(std::isfinite(*amount));
            check(talvio::parseAmount(talvio::rawNumber(*amount)) == *amount);
        }
    }

    try {
        const talvio::Invocation invocation =
            talvio::parseArguments(words, talvio::commandSyntaxes());
        if (invocation.command != nullptr && !invocation.commandHelp) {
            check(invocation.arguments.size() >= invocation.command->minArguments);
            check(invocation.arguments.size() <= invocation.command->maxArguments);
        }
    } catch (const talvio::UsageError &) {
    }
    return 0;
}
