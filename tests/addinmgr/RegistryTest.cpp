#include "AddInRegistry.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using addinmgr::AddInRegistry;

constexpr auto kWhen = "2024-01-02 03:04:05";

// One operation on the registry and what it must answer: the name for New, the id for
// LastId, the whole list for Collection; UnRegister answers nothing.
struct Step {
    enum Op { New, UnRegister, LastId, Collection } op;
    std::string argument;
    std::string expected;
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
            EXPECT_EQ(registry.NewAddInName(step.argument, kWhen), step.expected);
            break;
        case Step::UnRegister:
            registry.UnRegister(step.argument);
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
        Scenario{"a type ending in a number cannot collide with a shorter type",
                 {{Step::New, "A 1", "A 1 1"},
                  {Step::New, "A", "A 1"},
                  {Step::UnRegister, "A 1", ""},
                  {Step::Collection, "", std::string("A 1 1 ") + kWhen + "\r\n"}}}));

TEST(RegistryExhaustion, refusesTheNumberPastTheLastAndKeepsTheCounter) {
    AddInRegistry registry(2);
    registry.NewAddInName("Sheet", kWhen);
    registry.NewAddInName("Sheet", kWhen);
    try {
        registry.NewAddInName("sheet", kWhen);
        FAIL() << "a third name was given";
    } catch (const addinmgr::CounterExhausted &failure) {
        EXPECT_NE(std::string(failure.what()).find("\"sheet\""), std::string::npos)
            << failure.what();
    }
    EXPECT_EQ(registry.LastId("Sheet"), 2);
    EXPECT_EQ(registry.count(), 2u);
    EXPECT_EQ(registry.NewAddInName("Notes", kWhen), "Notes 1");
}

} // namespace
