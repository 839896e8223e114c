#include "AddInRegistry.h"
#include "ClientState.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using addinmgr::AddInRegistry;

constexpr auto kWhen = "2024-01-02 03:04:05";

// One operation on the registry and what it must answer: the name for New (made by the
// connection owner), the id for LastId, the whole list for Collection; UnRegister and Leave
// (the connection argument left the bus) answer nothing.
struct Step {
    enum Op { New, UnRegister, Leave, LastId, Collection } op;
    std::string argument;
    std::string expected;
    std::string owner = ":1.1";
};

struct Scenario {
    const char *behaviour;
    std::vector<Step> steps;
};

void PrintTo(const Scenario &scenario, std::ostream *out) {
    *out << scenario.behaviour;
}

class RegistryScenario : public testing::TestWithParam<Scenario> {};

TEST_P(RegistryScenario, answersEachStep) {
    AddInRegistry registry;
    for (const Step &step : GetParam().steps) {
        switch (step.op) {
        case Step::New:
            EXPECT_EQ(registry.NewAddInName(step.argument, kWhen, step.owner), step.expected);
            break;
        case Step::UnRegister:
            registry.UnRegister(step.argument);
            break;
        case Step::Leave:
            registry.connectionLeft(step.argument);
            break;
        case Step::LastId:
            EXPECT_EQ(std::to_string(registry.LastId(step.argument)), step.expected)
                << "LastId " << step.argument;
            break;
        case Step::Collection:
            EXPECT_EQ(registry.AddInCollectionString(), step.expected);
            break;
        }
    }
}

const std::string kLine1 = std::string("Sheet 1 ") + kWhen + "\r\n";
const std::string kLine2 = std::string("Sheet 2 ") + kWhen + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    , RegistryScenario,
    testing::Values(
        Scenario{"each type counts from 1 on its own",
                 {{Step::New, "T", "T 1"}, {Step::New, "T", "T 2"}, {Step::New, "U", "U 1"}}},
        Scenario{"types differing in case share one counter, each name keeps its spelling",
                 {{Step::New, "Sheet", "Sheet 1"},
                  {Step::New, "SHEET", "SHEET 2"},
                  {Step::LastId, "sheet", "2"}}},
        Scenario{"a name is never given again after UnRegister",
                 {{Step::New, "T", "T 1"},
                  {Step::New, "T", "T 2"},
                  {Step::UnRegister, "T 1", ""},
                  {Step::New, "T", "T 3"},
                  {Step::LastId, "T", "3"}}},
        Scenario{"a type never named has LastId 0", {{Step::LastId, "Never", "0"}}},
        Scenario{"the empty type is a type like any other",
                 {{Step::New, "", " 1"}, {Step::LastId, "", "1"}, {Step::LastId, " ", "0"}}},
        Scenario{"the list is empty at first", {{Step::Collection, "", ""}}},
        Scenario{"the list holds one CR LF line per instance, in registration order",
                 {{Step::New, "Sheet", "Sheet 1"},
                  {Step::New, "Sheet", "Sheet 2"},
                  {Step::Collection, "", kLine1 + kLine2}}},
        Scenario{"UnRegister finds the name without regard to case",
                 {{Step::New, "Sheet", "Sheet 1"},
                  {Step::New, "Sheet", "Sheet 2"},
                  {Step::UnRegister, "SHEET 1", ""},
                  {Step::Collection, "", kLine2}}},
        Scenario{"UnRegister of an unknown name changes nothing",
                 {{Step::New, "Sheet", "Sheet 1"},
                  {Step::UnRegister, "Sheet 9", ""},
                  {Step::UnRegister, "Sheet", ""},
                  {Step::Collection, "", kLine1},
                  {Step::LastId, "Sheet", "1"}}},
        Scenario{"a connection that leaves takes its names off the list, not their numbers",
                 {{Step::New, "Sheet", "Sheet 1", ":1.1"},
                  {Step::New, "Sheet", "Sheet 2", ":1.2"},
                  {Step::New, "Notes", "Notes 1", ":1.2"},
                  {Step::Leave, ":1.2", ""},
                  {Step::Collection, "", kLine1},
                  {Step::New, "Sheet", "Sheet 3", ":1.3"},
                  {Step::LastId, "Notes", "1"}}},
        Scenario{"a name given back by UnRegister leaves nothing for its connection to free",
                 {{Step::New, "Sheet", "Sheet 1", ":1.2"},
                  {Step::New, "Sheet", "Sheet 2", ":1.1"},
                  {Step::UnRegister, "Sheet 1", ""},
                  {Step::Leave, ":1.2", ""},
                  {Step::Collection, "", kLine2}}},
        Scenario{"a type ending in a number cannot collide with a shorter type",
                 {{Step::New, "A 1", "A 1 1"},
                  {Step::New, "A", "A 1"},
                  {Step::UnRegister, "A 1", ""},
                  {Step::Collection, "", std::string("A 1 1 ") + kWhen + "\r\n"}}}));

TEST(RegistryExhaustion, refusesTheNumberPastTheLastAndKeepsTheCounter) {
    AddInRegistry registry(2);
    registry.NewAddInName("Sheet", kWhen, ":1.1");
    registry.NewAddInName("Sheet", kWhen, ":1.1");
    try {
        registry.NewAddInName("sheet", kWhen, ":1.1");
        FAIL() << "a third name was given";
    } catch (const addinmgr::CounterExhausted &failure) {
        EXPECT_NE(std::string(failure.what()).find("\"sheet\""), std::string::npos)
            << failure.what();
    }
    EXPECT_EQ(registry.LastId("Sheet"), 2);
    EXPECT_EQ(registry.count(), 2u);
    EXPECT_EQ(registry.NewAddInName("Notes", kWhen, ":1.1"), "Notes 1");
}

// The list within 100 bytes: each entry takes 29 ("Sheet n <time>" and CR LF).
TEST(RegistryList, endsWithTheCountOfEntriesLeftOutWhenItPassesItsLimit) {
    const struct {
        int entries;
        std::string expected;
    } rows[] = {
        {3, kLine1 + kLine2 + "Sheet 3 " + kWhen + "\r\n"},
        {4, kLine1 + "[3 more add-ins not listed]\r\n"},
        {40, kLine1 + "[39 more add-ins not listed]\r\n"},
    };
    for (const auto &row : rows) {
        AddInRegistry registry(1000, 100);
        for (int i = 0; i < row.entries; ++i)
            registry.NewAddInName("Sheet", kWhen, ":1.1");
        EXPECT_EQ(registry.AddInCollectionString(), row.expected) << row.entries << " entries";
    }
}

// Types and editor names of 256 characters, however many bytes each takes, and no longer.
TEST(NameLimits, refuseANameOfMoreThan256CharactersStatingTheLimit) {
    const auto repeated = [](const std::string &character, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += character;
        return text;
    };
    const struct {
        const char *what;
        std::string name;
        const char *refusal; // nullptr: accepted
    } rows[] = {
        {"256 letters", repeated("x", 256), nullptr},
        {"256 characters of 4 bytes", repeated("\U0001F4B6", 256), nullptr},
        {"257 letters", repeated("x", 257), "at most 256 characters; this one has 257"},
        {"257 characters of 2 bytes", repeated("\u00e9", 257),
         "at most 256 characters; this one has 257"},
        {"1 MiB", std::string(1 << 20, 'x'), "at most 256 characters; this one has 1048576"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        AddInRegistry registry;
        addinmgr::ClientState state;
        const auto check = [&](auto &&operation, const char *subject) {
            try {
                operation();
                EXPECT_EQ(row.refusal, nullptr) << subject << " accepted";
            } catch (const addinmgr::LimitExceeded &refused) {
                ASSERT_NE(row.refusal, nullptr) << refused.what();
                EXPECT_EQ(std::string(refused.what()),
                          std::string(subject) + " has " + row.refusal);
            }
        };
        check([&] { registry.NewAddInName(row.name, kWhen, ":1.1"); }, "An add-in type");
        check([&] { state.editor.setCommonDataEditor(row.name, ":1.1"); }, "The editor's name");
        check([&] { state.editor.ClaimCommonDataEditor(row.name, ":1.2"); }, "The editor's name");
        EXPECT_EQ(registry.count(), row.refusal ? 0u : 1u);
        EXPECT_EQ(state.editor.CommonDataEditor(), row.refusal ? "" : row.name);
    }
}

} // namespace
