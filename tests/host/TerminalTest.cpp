#include "TerminalMessageBoxes.h"
#include "TerminalRatePrompt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

namespace talvio {
namespace {

using kvt::BoxAnswer;
using kvt::BoxButtons;
using testing::HasSubstr;

TEST(TerminalMessageBoxesTest, interactiveBoxesReadTheAnswerByItsFirstLetter) {
    const struct {
        BoxButtons buttons;
        const char *typed;
        BoxAnswer expected;
    } rows[] = {
        {BoxButtons::YesNo, "y\n", BoxAnswer::Yes},
        {BoxButtons::YesNo, "  No\n", BoxAnswer::No},
        {BoxButtons::YesNoCancel, "C\n", BoxAnswer::Cancel},
        {BoxButtons::OkCancel, "ok\n", BoxAnswer::Ok},
        {BoxButtons::OkCancel, "\n", BoxAnswer::Cancel},            // empty: the safe default
        {BoxButtons::YesNo, "", BoxAnswer::No},                     // end of input
        {BoxButtons::YesNo, "maybe\nyes\n", BoxAnswer::Yes},        // asked again
        {BoxButtons::OkCancel, "x\nx\nx\nok\n", BoxAnswer::Cancel}, // gives up
        {BoxButtons::OkCancel, "yes\n", BoxAnswer::Cancel},         // not a button of this box
    };
    for (const auto &row : rows) {
        std::istringstream in(row.typed);
        std::ostringstream out;
        TerminalMessageBoxes boxes(in, out, true);
        EXPECT_EQ(boxes.show({"Talvio", "Save the rates?", kvt::BoxIcon::Question, row.buttons}),
                  row.expected)
            << '"' << row.typed << '"';
        EXPECT_THAT(out.str(), HasSubstr("Talvio: Save the rates?"));
    }
}

TEST(TerminalMessageBoxesTest, anOkBoxReadsNothingAndFailuresAreCounted) {
    std::istringstream in("1000\n");
    std::ostringstream out;
    TerminalMessageBoxes boxes(in, out, true);
    EXPECT_EQ(boxes.show({"Talvio", "Rate missing", kvt::BoxIcon::Critical, BoxButtons::Ok}),
              BoxAnswer::Ok);
    boxes.show({"Talvio", "Saved", kvt::BoxIcon::Information, BoxButtons::Ok});
    EXPECT_EQ(in.tellg(), 0) << "the next amount of a stream must stay unread";
    EXPECT_EQ(boxes.criticalCount(), 1U);
    EXPECT_EQ(out.str(), "Talvio: Error: Rate missing\nTalvio: Saved\n");
}

TEST(TerminalMessageBoxesTest, withoutTerminalTheSafeDefaultIsTakenAndReported) {
    std::istringstream in("yes\n");
    std::ostringstream out;
    TerminalMessageBoxes boxes(in, out, false);
    EXPECT_EQ(boxes.show({"", "Replace the file?", kvt::BoxIcon::Question, BoxButtons::YesNo}),
              BoxAnswer::No);
    EXPECT_EQ(out.str(), "Talvio: Replace the file?\n(no terminal to answer: took No)\n");
    out.str("");
    EXPECT_EQ(boxes.show({"Talvio", "Rate missing", kvt::BoxIcon::Critical, BoxButtons::Ok}),
              BoxAnswer::Ok);
    EXPECT_EQ(out.str(), "Talvio: Error: Rate missing\n");
    EXPECT_EQ(in.tellg(), 0) << "nothing may be read without a terminal";
}

TEST(TerminalMessageBoxesTest, theInputBoxReadsOneLineAndCancelsWithoutAnAnswer) {
    const struct {
        const char *name;
        bool interactive;
        const char *title;
        const char *initial;
        const char *typed;
        std::optional<std::string> expected;
        const char *written;
        const char *unread;
    } rows[] = {
        {"a line typed", true, "", "Rates", "Taux 2\nnext\n", "Taux 2", "Talvio: Name [Rates]? ",
         "next\n"},
        {"an empty line keeps the text", true, "Folder", "Rates", "\n", "Rates",
         "Folder: Name [Rates]? ", ""},
        {"nothing shown first", true, "", "", "x\n", "x", "Talvio: Name? ", ""},
        {"a terminal's carriage return dropped", true, "", "", "x\r\n", "x", "Talvio: Name? ", ""},
        {"end of input cancels", true, "", "Rates", "", std::nullopt, "Talvio: Name [Rates]? \n",
         ""},
        {"no terminal cancels", false, "", "Rates", "x\n", std::nullopt,
         "Talvio: Name\n(no terminal to answer: took Cancel)\n", "x\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::istringstream in(row.typed);
        std::ostringstream out;
        TerminalMessageBoxes boxes(in, out, row.interactive);
        EXPECT_EQ(boxes.input({"Name", row.title, row.initial}), row.expected);
        EXPECT_EQ(out.str(), row.written);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), row.unread);
    }
}

TEST(TerminalRatePromptTest, asksOneFromInToAndReturnsTheLineTyped) {
    std::istringstream in("6.55957\r\n\n");
    std::ostringstream out;
    TerminalRatePrompt prompt(in, out, true);
    const kvt::RateQuestion question{"Enter the rate.", "BEF", "USD", "", "Rate"};
    EXPECT_EQ(prompt.ask(question), "6.55957");
    EXPECT_EQ(out.str(), "Rate\nEnter the rate.\n1 BEF = ? USD: ");
    // An empty answer keeps the text shown; the end of input means nobody answers.
    EXPECT_EQ(prompt.ask({"", "BEF", "USD", "0.03", ""}), "0.03");
    EXPECT_EQ(prompt.ask(question), std::nullopt);
}

TEST(TerminalRatePromptTest, withoutTerminalItCannotAsk) {
    std::istringstream in("1.5\n");
    std::ostringstream out;
    TerminalRatePrompt prompt(in, out, false);
    EXPECT_EQ(prompt.ask({"Enter the rate.", "BEF", "USD", "", "Rate"}), std::nullopt);
    EXPECT_EQ(out.str(), "");
}

} // namespace
} // namespace talvio
