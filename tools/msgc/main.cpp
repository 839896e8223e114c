// talvio-msgc: compiles the UTF-8 message table into the product's message file.
//
//   talvio-msgc <table.tsv> <output.msg>
//
// Every refusal is printed as "table:line: error: ..." and the exit status is 1; the output
// is then removed, so that a failed build never leaves a stale message file to install.

#include "MessageTable.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

namespace {

std::optional<std::string> readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
}

// Written beside the target and renamed over it, so readers never see half a file.
bool writeFileAtomically(const std::filesystem::path &path, const std::string &bytes) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

int fail(const std::filesystem::path &output) {
    std::error_code ignored;
    std::filesystem::remove(output, ignored);
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: talvio-msgc <table.tsv> <output.msg>\n";
        return 2;
    }
    const std::filesystem::path tablePath = argv[1];
    const std::filesystem::path outputPath = argv[2];

    const std::optional<std::string> content = readFile(tablePath);
    if (!content) {
        std::cerr << tablePath.string() << ": error: cannot read the message table\n";
        return fail(outputPath);
    }
    const kvt::msgc::Table table = kvt::msgc::parseMessageTable(*content);
    for (const kvt::msgc::Diagnostic &diagnostic : table.diagnostics)
        std::cerr << tablePath.string() << ':' << diagnostic.line << ": error: " << diagnostic.text
                  << '\n';
    if (!table.diagnostics.empty())
        return fail(outputPath);

    if (!writeFileAtomically(outputPath, kvt::msgc::messageFileBytes(table.messages))) {
        std::cerr << outputPath.string() << ": error: cannot write the message file\n";
        return fail(outputPath);
    }
    return 0;
}
