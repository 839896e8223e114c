#include "ClientState.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using addinmgr::ClientState;

// One step on the editor role, by one connection, and the state it must leave: the result of
// the step (claims and departures), the editor and its owner.
struct EditorStep {
    enum Op { Set, Claim, Leave } op;
    std::string name;
    std::string connection;
    bool result;
    std::string editor;
    std::string owner;
};

struct EditorScenario {
    const char *behaviour;
    std::vector<EditorStep> steps;
};

void PrintTo(const EditorScenario &scenario, std::ostream *out) {
    *out << scenario.behaviour;
}

class EditorRoleScenario : public testing::TestWithParam<EditorScenario> {};

TEST_P(EditorRoleScenario, leavesTheExpectedEditorAndOwner) {
    ClientState state;
    int index = 0;
    for (const EditorStep &step : GetParam().steps) {
        SCOPED_TRACE("step " + std::to_string(++index));
        switch (step.op) {
        case EditorStep::Set:
            state.editor.setCommonDataEditor(step.name, step.connection);
            break;
        case EditorStep::Claim:
            EXPECT_EQ(state.editor.ClaimCommonDataEditor(step.name, step.connection), step.result);
            break;
        case EditorStep::Leave:
            EXPECT_EQ(state.connectionLeft(step.connection), step.result);
            break;
        }
        EXPECT_EQ(state.editor.CommonDataEditor(), step.editor);
        EXPECT_EQ(state.editor.owner(), step.owner);
    }
}

using E = EditorStep;
INSTANTIATE_TEST_SUITE_P(
    , EditorRoleScenario,
    testing::Values(EditorScenario{"a claim succeeds only while nobody edits",
                                   {{E::Claim, "A 1", ":1.1", true, "A 1", ":1.1"},
                                    {E::Claim, "B 1", ":1.2", false, "A 1", ":1.1"}}},
                    EditorScenario{"claiming again under the editor's own name succeeds",
                                   {{E::Claim, "A 1", ":1.1", true, "A 1", ":1.1"},
                                    {E::Claim, "A 1", ":1.3", true, "A 1", ":1.3"}}},
                    EditorScenario{"names compare exactly: another case is another add-in",
                                   {{E::Claim, "A 1", ":1.1", true, "A 1", ":1.1"},
                                    {E::Claim, "a 1", ":1.2", false, "A 1", ":1.1"}}},
                    EditorScenario{"the empty name is never claimed",
                                   {{E::Claim, "", ":1.1", false, "", ""}}},
                    EditorScenario{"the owner's departure gives the role back",
                                   {{E::Claim, "A 1", ":1.1", true, "A 1", ":1.1"},
                                    {E::Leave, "", ":1.2", false, "A 1", ":1.1"},
                                    {E::Leave, "", ":1.1", true, "", ""},
                                    {E::Claim, "B 1", ":1.2", true, "B 1", ":1.2"}}},
                    EditorScenario{"writing the editor makes the writer its owner",
                                   {{E::Claim, "A 1", ":1.1", true, "A 1", ":1.1"},
                                    {E::Set, "B 1", ":1.2", false, "B 1", ":1.2"},
                                    {E::Leave, "", ":1.1", false, "B 1", ":1.2"},
                                    {E::Leave, "", ":1.2", true, "", ""}}},
                    EditorScenario{"clearing the editor forgets its owner",
                                   {{E::Set, "A 1", ":1.1", false, "A 1", ":1.1"},
                                    {E::Set, "", ":1.1", false, "", ""},
                                    {E::Leave, "", ":1.1", false, "", ""}}}));

// One step on subscriptions and holds, and the state it must leave: the subscribers in
// order ("connection path" joined by ", ") and whether anybody holds the program.
struct ClientStep {
    enum Op { Call, Release, Subscribe, Unsubscribe, Drop, Leave } op;
    std::string connection;
    std::string path;
    std::string subscribers;
    bool held;
};

struct ClientScenario {
    const char *behaviour;
    std::vector<ClientStep> steps;
};

void PrintTo(const ClientScenario &scenario, std::ostream *out) {
    *out << scenario.behaviour;
}

std::string listed(const ClientState &state) {
    std::string text;
    for (const auto &subscriber : state.subscribers.all())
        text += (text.empty() ? "" : ", ") + subscriber.connection + ' ' + subscriber.path;
    return text;
}

class ClientScenarioTest : public testing::TestWithParam<ClientScenario> {};

TEST_P(ClientScenarioTest, keepsOrderAndHolds) {
    ClientState state;
    int index = 0;
    for (const ClientStep &step : GetParam().steps) {
        SCOPED_TRACE("step " + std::to_string(++index));
        switch (step.op) {
        case ClientStep::Call:
            state.noteCall(step.connection);
            break;
        case ClientStep::Release:
            state.release(step.connection);
            break;
        case ClientStep::Subscribe:
            state.subscribers.subscribe(step.connection, step.path);
            break;
        case ClientStep::Unsubscribe:
            state.unsubscribe(step.connection, step.path);
            break;
        case ClientStep::Drop:
            // Drops the subscriber listed first, as a raise does with one that is gone.
            state.drop(state.subscribers.all().front().id);
            break;
        case ClientStep::Leave:
            state.connectionLeft(step.connection);
            break;
        }
        EXPECT_EQ(listed(state), step.subscribers);
        EXPECT_EQ(state.isHeld(), step.held);
    }
}

using C = ClientStep;
INSTANTIATE_TEST_SUITE_P(
    , ClientScenarioTest,
    testing::Values(
        ClientScenario{"a call holds until Release",
                       {{C::Call, ":1.1", "", "", true},
                        {C::Call, ":1.1", "", "", true},
                        {C::Release, ":1.1", "", "", false}}},
        ClientScenario{"each caller holds for itself",
                       {{C::Call, ":1.1", "", "", true},
                        {C::Call, ":1.2", "", "", true},
                        {C::Release, ":1.1", "", "", true},
                        {C::Release, ":1.1", "", "", true},
                        {C::Leave, ":1.2", "", "", false}}},
        ClientScenario{"a subscription holds past Release until Unsubscribe",
                       {{C::Call, ":1.1", "", "", true},
                        {C::Subscribe, ":1.1", "/s", ":1.1 /s", true},
                        {C::Release, ":1.1", "", ":1.1 /s", true},
                        {C::Unsubscribe, ":1.1", "/other", ":1.1 /s", true},
                        {C::Unsubscribe, ":1.1", "/s", "", false}}},
        ClientScenario{"subscribers stay in subscription order; the same sink counts once",
                       {{C::Subscribe, ":1.2", "/b", ":1.2 /b", true},
                        {C::Subscribe, ":1.1", "/a", ":1.2 /b, :1.1 /a", true},
                        {C::Subscribe, ":1.2", "/b", ":1.2 /b, :1.1 /a", true},
                        {C::Subscribe, ":1.2", "/c", ":1.2 /b, :1.1 /a, :1.2 /c", true}}},
        ClientScenario{"leaving the bus drops every subscription of the connection only",
                       {{C::Subscribe, ":1.2", "/b", ":1.2 /b", true},
                        {C::Subscribe, ":1.1", "/a", ":1.2 /b, :1.1 /a", true},
                        {C::Subscribe, ":1.2", "/c", ":1.2 /b, :1.1 /a, :1.2 /c", true},
                        {C::Leave, ":1.2", "", ":1.1 /a", true},
                        {C::Leave, ":1.1", "", "", false}}},
        ClientScenario{"a dropped subscriber no longer holds, the others keep their places",
                       {{C::Subscribe, ":1.1", "/a", ":1.1 /a", true},
                        {C::Subscribe, ":1.2", "/b", ":1.1 /a, :1.2 /b", true},
                        {C::Drop, "", "", ":1.2 /b", true},
                        {C::Drop, "", "", "", false}}},
        ClientScenario{"Unsubscribe needs the subscribing connection",
                       {{C::Subscribe, ":1.1", "/a", ":1.1 /a", true},
                        {C::Unsubscribe, ":1.2", "/a", ":1.1 /a", true}}}));

} // namespace
