#pragma once

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <functional>
#include <string>
#include <vector>

namespace talvio::calc {

// How Talvio's command-line program ended: its exit status and what it printed, or why it
// could not start (then status is -1).
struct ProgramResult {
    int status = -1;
    std::string output;
    std::string failure;
};

// Talvio's windows are Qt windows: they open in the command-line program, in a process of its
// own, so that Calc never loads a second GUI toolkit. This starts "talvio ARGUMENTS" and
// returns at once, so Calc's window keeps working; when the program ends, done runs on
// Calc's main thread. One runs at a time: while one does, this starts nothing and returns
// false.
bool runTalvio(const css::uno::Reference<css::uno::XComponentContext> &context,
               std::vector<std::string> arguments, std::function<void(const ProgramResult &)> done);

// The program: $TALVIO_PROGRAM when set, else the one the extension ships.
std::string talvioProgram();

} // namespace talvio::calc
