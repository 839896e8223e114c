#include "Arguments.h"
#include "Commands.h"
#include "Terminal.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char **argv) {
    using namespace talvio;
    // Amounts are written with the user's separators; amounts read keep "." whatever it is.
    std::setlocale(LC_ALL, "");
    std::ios::sync_with_stdio(false);
    installStandardStreams();
    Streams streams{std::cin, std::cout, std::cerr};
    try {
        const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
        const Invocation invocation = parseArguments(words, commandSyntaxes());
        const int status = runInvocation(invocation, streams);
        // Results go out in blocks: a full disk or a closed pipe shows only here, and must not
        // end as a success.
        if (!std::cout.flush()) {
            std::cerr << "talvio: the results could not be written: " << std::strerror(errno)
                      << "\n";
            return kFailure;
        }
        return status;
    } catch (const UsageError &error) {
        std::cerr << "talvio: " << error.message << "\nusage: talvio " << error.usage << "\n";
        return kWrongUsage;
    } catch (const std::exception &error) {
        std::cerr << "talvio: " << error.what() << "\n";
        return kFailure;
    }
}
