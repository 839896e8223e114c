#include "RaiseSchedule.h"

#include "ClientState.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using addinmgr::Delivery;
using addinmgr::RaiseSchedule;
using addinmgr::Subscriber;

// One step on the schedule and what it must answer. Admit: argument is the raising connection,
// expected the admission. Begin: argument lists the recipients as "<id>:<connection>". Send:
// expected lists what takeSendable gives, as "<raise>><subscriber>". Answer: argument is the
// subscriber that answered raise id, Late: that has not answered it for a while. Forget, Leave:
// argument is the subscriber, the connection.
// Next: expected is the raise takeNext gives, "none" for none. After every step, ended lists
// the raises that ended with it.
struct Step {
    enum Op { Admit, Begin, Send, Answer, Late, Forget, Leave, Next } op;
    addinmgr::RaiseId id;
    std::string argument;
    std::string expected;
    std::string ended;
};

struct Scenario {
    const char *behaviour;
    std::vector<Step> steps;
};

void PrintTo(const Scenario &scenario, std::ostream *out) {
    *out << scenario.behaviour;
}

std::vector<Subscriber> recipients(const std::string &list) {
    std::vector<Subscriber> parsed;
    std::istringstream words(list);
    for (std::string word; words >> word;) {
        const auto colon = word.find(':');
        parsed.push_back(
            Subscriber{std::stoull(word.substr(0, colon)), word.substr(colon + 1), "/s"});
    }
    return parsed;
}

std::string admissionText(RaiseSchedule::Admission admission) {
    switch (admission) {
    case RaiseSchedule::Admission::Now:
        return "now";
    case RaiseSchedule::Admission::Queued:
        return "queued";
    case RaiseSchedule::Admission::TooDeep:
        return "too deep";
    }
    return "?";
}

void append(std::string &text, const std::string &word) {
    if (!text.empty())
        text += ' ';
    text += word;
}

std::string joined(const std::vector<addinmgr::RaiseId> &ids) {
    std::string text;
    for (addinmgr::RaiseId id : ids)
        append(text, std::to_string(id));
    return text;
}

void run(RaiseSchedule &schedule, const std::vector<Step> &steps) {
    std::map<std::pair<addinmgr::RaiseId, std::uint64_t>, Delivery> sent;
    int index = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE("step " + std::to_string(++index));
        switch (step.op) {
        case Step::Admit:
            EXPECT_EQ(admissionText(schedule.admit(step.id, addinmgr::EventId::xevtUpdateCommonData,
                                                   step.argument)),
                      step.expected);
            break;
        case Step::Begin:
            schedule.begin(step.id, recipients(step.argument));
            break;
        case Step::Send: {
            std::string given;
            for (const Delivery &delivery : schedule.takeSendable()) {
                append(given,
                       std::to_string(delivery.raise) + ">" + std::to_string(delivery.to.id));
                sent[{delivery.raise, delivery.to.id}] = delivery;
            }
            EXPECT_EQ(given, step.expected);
            break;
        }
        case Step::Answer:
            schedule.answered(sent.at({step.id, std::stoull(step.argument)}));
            break;
        case Step::Late:
            schedule.late(sent.at({step.id, std::stoull(step.argument)}));
            break;
        case Step::Forget:
            schedule.forget(std::stoull(step.argument));
            break;
        case Step::Leave:
            schedule.forgetConnection(step.argument);
            break;
        case Step::Next: {
            const auto next = schedule.takeNext();
            EXPECT_EQ(next ? std::to_string(*next) : "none", step.expected);
            break;
        }
        }
        EXPECT_EQ(joined(schedule.takeEnded()), step.ended);
    }
}

class RaiseScheduleScenario : public testing::TestWithParam<Scenario> {};

TEST_P(RaiseScheduleScenario, deliversAndEndsRaisesInTheirTurn) {
    RaiseSchedule schedule;
    run(schedule, GetParam().steps);
}

using S = Step;
INSTANTIATE_TEST_SUITE_P(
    , RaiseScheduleScenario,
    testing::Values(
        Scenario{
            "a raise with nobody to call ends as it begins",
            {{S::Admit, 1, "r", "now", ""}, {S::Begin, 1, "", "", "1"}, {S::Send, 0, "", "", ""}}},
        Scenario{"a raise goes to every connection at once and ends once each answered",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:b", "", ""},
                  {S::Send, 0, "", "1>1 1>2", ""},
                  {S::Answer, 1, "2", "", ""},
                  {S::Answer, 1, "1", "", "1"}}},
        Scenario{"the subscribers of one connection get it one after the other",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:a 3:b", "", ""},
                  {S::Send, 0, "", "1>1 1>3", ""},
                  {S::Answer, 1, "1", "", ""},
                  {S::Send, 0, "", "1>2", ""},
                  {S::Answer, 1, "3", "", ""},
                  {S::Answer, 1, "2", "", "1"}}},
        Scenario{"raises from connections not being called wait their turn in arrival order",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a", "", ""},
                  {S::Send, 0, "", "1>1", ""},
                  {S::Admit, 2, "x", "queued", ""},
                  {S::Admit, 3, "r", "queued", ""},
                  {S::Next, 0, "", "none", ""},
                  {S::Answer, 1, "1", "", "1"},
                  {S::Next, 0, "", "2", ""},
                  {S::Begin, 2, "1:a", "", ""},
                  {S::Send, 0, "", "2>1", ""},
                  {S::Next, 0, "", "none", ""},
                  {S::Answer, 2, "1", "", "2"},
                  {S::Next, 0, "", "3", ""}}},
        Scenario{"a raise from a connection being called goes at once, before what it waits for",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:a 3:b", "", ""},
                  {S::Send, 0, "", "1>1 1>3", ""},
                  {S::Admit, 2, "x", "queued", ""},
                  {S::Admit, 3, "a", "now", ""},
                  {S::Begin, 3, "1:a 2:a 3:b", "", ""},
                  {S::Send, 0, "", "3>1 3>3", ""},
                  {S::Answer, 3, "1", "", ""},
                  {S::Send, 0, "", "3>2", ""},
                  {S::Answer, 3, "2", "", ""},
                  {S::Answer, 3, "3", "", "3"},
                  {S::Send, 0, "", "", ""},
                  {S::Answer, 1, "1", "", ""},
                  {S::Send, 0, "", "1>2", ""},
                  {S::Answer, 1, "3", "", ""},
                  {S::Answer, 1, "2", "", "1"},
                  {S::Next, 0, "", "2", ""}}},
        Scenario{"a connection whose subscriber answered is no longer being called",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:b", "", ""},
                  {S::Send, 0, "", "1>1 1>2", ""},
                  {S::Answer, 1, "1", "", ""},
                  {S::Admit, 2, "a", "queued", ""}}},
        Scenario{"the manager's own raise is never nested",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a", "", ""},
                  {S::Send, 0, "", "1>1", ""},
                  {S::Admit, 2, "", "queued", ""}}},
        Scenario{"gone subscribers are sent and awaited no more",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:b 3:b", "", ""},
                  {S::Send, 0, "", "1>1 1>2", ""},
                  {S::Forget, 0, "1", "", ""},
                  {S::Leave, 0, "b", "", "1"},
                  {S::Send, 0, "", "", ""}}},
        Scenario{"a late connection is not waited for, and its next events queue behind",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:b", "", ""},
                  {S::Send, 0, "", "1>1 1>2", ""},
                  {S::Answer, 1, "1", "", ""},
                  {S::Late, 1, "2", "", "1"},
                  {S::Admit, 2, "r", "now", ""},
                  {S::Begin, 2, "1:a 2:b", "", ""},
                  {S::Send, 0, "", "2>1", ""},
                  {S::Answer, 2, "1", "", "2"},
                  {S::Answer, 1, "2", "", ""},
                  {S::Send, 0, "", "2>2", ""},
                  {S::Answer, 2, "2", "", ""}}},
        Scenario{"what already waits behind a delivery that becomes late is not waited for",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a 2:a 3:b", "", ""},
                  {S::Send, 0, "", "1>1 1>3", ""},
                  {S::Answer, 1, "3", "", ""},
                  {S::Late, 1, "1", "", "1"}}},
        Scenario{"a raise nested in a late handler is still waited for",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a", "", ""},
                  {S::Send, 0, "", "1>1", ""},
                  {S::Late, 1, "1", "", "1"},
                  {S::Admit, 2, "a", "now", ""},
                  {S::Begin, 2, "1:a 2:b", "", ""},
                  {S::Send, 0, "", "2>1 2>2", ""},
                  {S::Answer, 2, "2", "", ""},
                  {S::Answer, 2, "1", "", "2"}}},
        Scenario{"a nested raise that outlives its own does not hold back the next",
                 {{S::Admit, 1, "r", "now", ""},
                  {S::Begin, 1, "1:a", "", ""},
                  {S::Send, 0, "", "1>1", ""},
                  {S::Admit, 2, "a", "now", ""},
                  {S::Begin, 2, "1:a 2:b", "", ""},
                  {S::Send, 0, "", "2>1 2>2", ""},
                  {S::Answer, 1, "1", "", "1"},
                  {S::Admit, 3, "x", "now", ""},
                  {S::Begin, 3, "1:a", "", ""},
                  {S::Send, 0, "", "", ""},
                  {S::Answer, 2, "1", "", ""},
                  {S::Send, 0, "", "3>1", ""},
                  {S::Answer, 2, "2", "", "2"},
                  {S::Answer, 3, "1", "", "3"}}}));

TEST(RaiseScheduleNesting, refusesTheRaiseNestedOneDeeperThanTheDeepest) {
    RaiseSchedule schedule;
    std::vector<Step> chain{
        {S::Admit, 1, "r", "now", ""}, {S::Begin, 1, "1:a", "", ""}, {S::Send, 0, "", "1>1", ""}};
    // Each raise comes from the handler that the one before it is calling.
    for (addinmgr::RaiseId id = 2; id <= 9; ++id) {
        chain.push_back({S::Admit, id, "a", "now", ""});
        chain.push_back({S::Begin, id, "1:a", "", ""});
        chain.push_back({S::Send, 0, "", std::to_string(id) + ">1", ""});
    }
    chain.push_back({S::Admit, 10, "a", "too deep", ""});
    run(schedule, chain);
    EXPECT_EQ(schedule.nestingOf("a"), 9);
    EXPECT_EQ(schedule.nestingOf("r"), 0);
}

// How a subscriber stops being one; a raise waiting for its answer must not wait any more.
struct Departure {
    const char *behaviour;
    void (*depart)(addinmgr::ClientState &, std::uint64_t subscriber);
};

void PrintTo(const Departure &departure, std::ostream *out) {
    *out << departure.behaviour;
}

class SubscriberDeparture : public testing::TestWithParam<Departure> {};

TEST_P(SubscriberDeparture, endsTheRaiseThatAwaitedIt) {
    addinmgr::ClientState state;
    state.subscribers.subscribe(":1.1", "/a");
    const std::uint64_t leaving = state.subscribers.subscribe(":1.2", "/b").id;
    ASSERT_EQ(state.raises.admit(1, addinmgr::EventId::xevtUpdateCommonData, ":1.9"),
              RaiseSchedule::Admission::Now);
    state.raises.begin(1, state.subscribers.all());
    const std::vector<Delivery> sent = state.raises.takeSendable();
    ASSERT_EQ(sent.size(), 2u);
    state.raises.answered(sent.front());
    EXPECT_TRUE(state.raises.takeEnded().empty());
    GetParam().depart(state, leaving);
    EXPECT_EQ(joined(state.raises.takeEnded()), "1");
    EXPECT_EQ(state.subscribers.all().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(, SubscriberDeparture,
                         testing::Values(Departure{"Unsubscribe",
                                                   [](addinmgr::ClientState &s, std::uint64_t) {
                                                       s.unsubscribe(":1.2", "/b");
                                                   }},
                                         Departure{"dropped as gone",
                                                   [](addinmgr::ClientState &s, std::uint64_t id) {
                                                       s.drop(id);
                                                   }},
                                         Departure{"its connection left the bus",
                                                   [](addinmgr::ClientState &s, std::uint64_t) {
                                                       s.connectionLeft(":1.2");
                                                   }}));

} // namespace
