#include "Arguments.h"
#include "Commands.h"
#include "Terminal.h"

#include <clocale>
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
        std::cout.flush();
        return status;
    } catch (const UsageError &error) {
        std::cerr << "talvio: " << error.message << "\nusage: talvio " << error.usage << "\n";
        return kWrongUsage;
    } catch (const std::exception &error) {
        std::cerr << "talvio: " << error.what() << "\n";
        return kFailure;
    }
}
