#include "BusTestSupport.h"
#include "ManagerService.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

// The manager as its clients meet it: each test runs on a bus of its own, where the first
// call starts the TlvAddInMgr just built.
namespace addinmgr::test {
namespace {

constexpr int kStartMs = 15'000;
constexpr int kEndMs = 5'000;

QString textOf(const QDBusMessage &reply) {
    return reply.arguments().value(0).toString();
}

TEST(ManagerBus, isStartedByTheFirstCallAndNamesInstances) {
    ASSERT_FALSE(managerRunning());
    Client client(QStringLiteral("names"));
    EXPECT_EQ(textOf(client.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")})),
              QStringLiteral("Sheet 1"));
    EXPECT_TRUE(managerRunning());
    EXPECT_EQ(textOf(client.call(QStringLiteral("NewAddInName"), {QStringLiteral("SHEET")})),
              QStringLiteral("SHEET 2"));
    EXPECT_EQ(textOf(client.call(QStringLiteral("NewAddInName"), {QStringLiteral("Notes")})),
              QStringLiteral("Notes 1"));
    client.call(QStringLiteral("UnRegister"), {QStringLiteral("sheet 1")});
    client.call(QStringLiteral("UnRegister"), {QStringLiteral("nobody 5")});
    EXPECT_EQ(client.call(QStringLiteral("LastId"), {QStringLiteral("sheet")}).arguments().value(0),
              QVariant(2));
    EXPECT_EQ(client.call(QStringLiteral("LastId"), {QStringLiteral("Never")}).arguments().value(0),
              QVariant(0));

    const QString list = textOf(client.call(QStringLiteral("AddInCollectionString")));
    static const QRegularExpression lines(QStringLiteral(
        "^SHEET 2 \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\nNotes 1 [-0-9]+ [:0-9]+\r\n$"));
    EXPECT_TRUE(lines.match(list).hasMatch()) << list.toStdString();
    EXPECT_EQ(client.call(QStringLiteral("EventRaiser"))
                  .arguments()
                  .value(0)
                  .value<QDBusObjectPath>()
                  .path(),
              QStringLiteral("/EventRaiser"));
}

TEST(ManagerBus, answersMistakesWithErrorReplies) {
    Client client(QStringLiteral("mistakes"));
    const struct {
        const char *method;
        QVariantList arguments;
        QDBusError::ErrorType error;
    } rows[] = {
        {"NewAddInName", {}, QDBusError::InvalidArgs},
        {"LastId", {42}, QDBusError::InvalidArgs},
        {"NoSuchThing", {}, QDBusError::UnknownMethod},
    };
    for (const auto &row : rows) {
        const QDBusMessage reply = client.call(QString::fromLatin1(row.method), row.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << row.method;
        EXPECT_EQ(QDBusError(reply).type(), row.error) << row.method;
    }
    // A wrong value type for the property is refused and leaves it unchanged.
    QDBusMessage set = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/AddInMgr"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Set"));
    set << QStringLiteral("org.talvio.AddInMgr") << QStringLiteral("CommonDataEditor")
        << QVariant::fromValue(QDBusVariant(7));
    EXPECT_EQ(QDBusError(client.bus().call(set)).type(), QDBusError::InvalidArgs);
    EXPECT_EQ(client.manager().commonDataEditor(), QString());
}

TEST(ManagerBus, refusesNamesLongerThan256CharactersWithALimitError) {
    Client client(QStringLiteral("limits"));
    const QString longest(256, QChar(0x20AC));
    const QString tooLong(257, u'x');
    const struct {
        const char *method;
        QString name;
        bool accepted;
    } rows[] = {
        {"NewAddInName", longest, true},
        {"NewAddInName", tooLong, false},
        {"ClaimCommonDataEditor", tooLong, false},
        {"Set", tooLong, false},
    };
    for (const auto &row : rows) {
        QDBusMessage reply;
        if (row.method == std::string("Set")) {
            QDBusMessage set = QDBusMessage::createMethodCall(
                kService, QStringLiteral("/AddInMgr"),
                QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
            set << QStringLiteral("org.talvio.AddInMgr") << QStringLiteral("CommonDataEditor")
                << QVariant::fromValue(QDBusVariant(row.name));
            reply = client.bus().call(set);
        } else {
            reply = client.call(QString::fromLatin1(row.method), {row.name});
        }
        if (row.accepted) {
            EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << row.method;
            continue;
        }
        EXPECT_EQ(reply.errorName(), QStringLiteral("org.talvio.Error.LimitExceeded"))
            << row.method;
        EXPECT_TRUE(reply.errorMessage().endsWith(
            QStringLiteral("at most 256 characters; this one has 257")))
            << row.method << ": " << reply.errorMessage().toStdString();
    }
    EXPECT_EQ(client.manager().commonDataEditor(), QString());
    EXPECT_EQ(textOf(client.call(QStringLiteral("AddInCollectionString"))).count(u'\n'), 1);
}

TEST(ManagerBus, freesTheNamesOfAClientThatLeftTheBus) {
    Client staying(QStringLiteral("staying"));
    Client leaving(QStringLiteral("leaving"));
    EXPECT_EQ(textOf(staying.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")})),
              QStringLiteral("Sheet 1"));
    EXPECT_EQ(textOf(leaving.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")})),
              QStringLiteral("Sheet 2"));
    // Letting the program go does not give the name back; leaving the bus does.
    leaving.call(QStringLiteral("Release"));
    EXPECT_TRUE(textOf(staying.call(QStringLiteral("AddInCollectionString")))
                    .contains(QLatin1String("Sheet 2 ")));
    leaving.disconnect();
    static const QRegularExpression onlyFirst(QStringLiteral("^Sheet 1 [-0-9]+ [:0-9]+\r\n$"));
    EXPECT_TRUE(waitFor(
        [&] {
            return onlyFirst.match(textOf(staying.call(QStringLiteral("AddInCollectionString"))))
                .hasMatch();
        },
        kEndMs));
    EXPECT_EQ(textOf(staying.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")})),
              QStringLiteral("Sheet 3"));
}

TEST(ManagerBus, sharesTheEditorPropertyBetweenClients) {
    Client first(QStringLiteral("first"));
    Client second(QStringLiteral("second"));
    EXPECT_EQ(first.manager().commonDataEditor(), QString());
    first.manager().setCommonDataEditor(QStringLiteral("Sheet 1"));
    EXPECT_EQ(second.manager().commonDataEditor(), QStringLiteral("Sheet 1"));
    EXPECT_FALSE(second.call(QStringLiteral("ClaimCommonDataEditor"), {QStringLiteral("Notes 1")})
                     .arguments()
                     .value(0)
                     .toBool());
    second.manager().setCommonDataEditor(QString());
    EXPECT_EQ(first.manager().commonDataEditor(), QString());
}

TEST(ManagerBus, letsExactlyOneOfTwoSimultaneousClaimsWin) {
    Client first(QStringLiteral("claimA"));
    Client second(QStringLiteral("claimB"));
    // Starts the manager before the race, and holds it: a manager that ended between two
    // rounds would forget the editor.
    first.call(QStringLiteral("LastId"), {QStringLiteral("claim")});
    for (int round = 0; round < 20; ++round) {
        // Both claims are on their way before either is answered.
        QDBusPendingCall a = first.manager().ClaimCommonDataEditor(QStringLiteral("A 1"));
        QDBusPendingCall b = second.manager().ClaimCommonDataEditor(QStringLiteral("B 1"));
        ASSERT_TRUE(waitFor([&] { return a.isFinished() && b.isFinished(); }, 5000));
        const bool aWon = a.reply().arguments().value(0).toBool();
        const bool bWon = b.reply().arguments().value(0).toBool();
        EXPECT_NE(aWon, bWon) << "round " << round;
        EXPECT_EQ(first.manager().commonDataEditor(),
                  aWon ? QStringLiteral("A 1") : QStringLiteral("B 1"));
        first.manager().setCommonDataEditor(QString());
    }
}

// The log of one raise's deliveries, which reach the subscribers all at once, in sorted order.
std::vector<std::string> sortedRounds(std::vector<std::string> log, std::size_t perRound) {
    for (std::size_t begin = 0; begin < log.size(); begin += perRound)
        std::sort(log.begin() + static_cast<std::ptrdiff_t>(begin),
                  log.begin()
                      + static_cast<std::ptrdiff_t>(std::min(begin + perRound, log.size())));
    return log;
}

TEST(ManagerEvents, reachEverySubscriberTheRaiserIncludedBeforeTheNextRaise) {
    std::vector<std::string> log;
    Client second(QStringLiteral("second"));
    Client raiser(QStringLiteral("raiser"));
    Client third(QStringLiteral("third"));
    second.subscribe(QStringLiteral("/Sink"),
                     [&](int id) { log.push_back(std::to_string(id) + " second"); });
    raiser.subscribe(QStringLiteral("/Sink"),
                     [&](int id) { log.push_back(std::to_string(id) + " raiser"); });
    third.subscribe(QStringLiteral("/Sink"),
                    [&](int id) { log.push_back(std::to_string(id) + " third"); });
    SinkProcess child({});
    ASSERT_TRUE(child.waitForLine(QStringLiteral("ready"), kStartMs));

    for (int id : {1, 2, 3})
        EXPECT_EQ(raiser.raise(id).type(), QDBusMessage::ReplyMessage);
    // The raise returns once all were called, the other process included.
    EXPECT_EQ(child.events(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(sortedRounds(log, 3),
              (std::vector<std::string>{"1 raiser", "1 second", "1 third", "2 raiser", "2 second",
                                        "2 third", "3 raiser", "3 second", "3 third"}));
    third.call(QStringLiteral("Unsubscribe"),
               {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/Sink")))});
    raiser.raise(2);
    EXPECT_EQ(third.events(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(second.events(), (std::vector<int>{1, 2, 3, 2}));
}

TEST(ManagerEvents, serveCallsOfASubscriberInTheMiddleOfARaise) {
    Client raiser(QStringLiteral("raiser"));
    raiser.subscribe(QStringLiteral("/Sink"));
    raiser.manager().setCommonDataEditor(QStringLiteral("Sheet 7"));
    SinkProcess reader(
        {QStringLiteral("--read-editor"), QStringLiteral("--raise-on"), QStringLiteral("2:1")});
    ASSERT_TRUE(reader.waitForLine(QStringLiteral("ready"), kStartMs));

    EXPECT_EQ(raiser.raise(2).type(), QDBusMessage::ReplyMessage);
    // The reader read the editor from inside its handler, then raised event 1 from there:
    // that nested raise reached everybody before the outer one returned.
    EXPECT_EQ(reader.lines(),
              (QStringList{QStringLiteral("ready"), QStringLiteral("event 2 editor Sheet 7"),
                           QStringLiteral("event 1 editor Sheet 7")}));
    EXPECT_EQ(raiser.events(), (std::vector<int>{2, 1}));
}

TEST(ManagerEvents, deliverARaiseFromTheHandlerAtOnceAndAnotherClientsRaiseAfterwards) {
    Client raiser(QStringLiteral("raiser"));
    Client other(QStringLiteral("other"));
    Client sink(QStringLiteral("sink"));
    std::optional<QDBusPendingCall> otherRaise;
    QDBusMessage nested;
    sink.subscribe(QStringLiteral("/Sink"), [&](int id) {
        if (id != 1)
            return;
        otherRaise = other.raiseAsync(2);
        // Answered after the raise before it was received: that raise is now waiting.
        other.call(QStringLiteral("LastId"), {QStringLiteral("Sheet")});
        nested = sink.raise(3);
    });

    EXPECT_EQ(raiser.raise(1).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(nested.type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(otherRaise);
    ASSERT_TRUE(waitFor([&] { return otherRaise->isFinished(); }, kEndMs));
    EXPECT_EQ(otherRaise->reply().type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(sink.events(), (std::vector<int>{1, 3, 2}));
}

TEST(ManagerEvents, refuseARaiseNestedTooDeepWithALimitError) {
    Client raiser(QStringLiteral("raiser"));
    Client sink(QStringLiteral("sink"));
    std::vector<std::string> answers; // innermost first
    QString refusal;
    sink.subscribe(QStringLiteral("/Sink"), [&](int) {
        if (sink.events().size() > 20)
            return; // a manager without a bound would nest for ever
        const QDBusMessage reply = sink.raise(2);
        answers.push_back(
            reply.type() == QDBusMessage::ErrorMessage ? reply.errorName().toStdString() : "reply");
        if (reply.type() == QDBusMessage::ErrorMessage)
            refusal = reply.errorMessage();
    });

    EXPECT_EQ(raiser.raise(1).type(), QDBusMessage::ReplyMessage);
    const std::string r = "reply";
    EXPECT_EQ(answers,
              (std::vector<std::string>{"org.talvio.Error.LimitExceeded", r, r, r, r, r, r, r, r}));
    EXPECT_TRUE(refusal.contains(QLatin1String(" 8 "))) << refusal.toStdString();
    EXPECT_EQ(sink.events(), (std::vector<int>{1, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST(ManagerEvents, goOnWithoutASubscriberThatDoesNotAnswer) {
    SinkProcess stuck({QStringLiteral("--stuck")});
    ASSERT_TRUE(stuck.waitForLine(QStringLiteral("ready"), kStartMs));
    Client raiser(QStringLiteral("raiser"));
    raiser.subscribe(QStringLiteral("/Sink"));

    QElapsedTimer clock;
    clock.start();
    for (int id : {2, 3})
        EXPECT_EQ(raiser.raise(id).type(), QDBusMessage::ReplyMessage);
    EXPECT_LT(clock.elapsed(), kSinkAnswerTimeoutMs) << "a raise waited for the stuck one";
    EXPECT_EQ(raiser.events(), (std::vector<int>{2, 3}));
}

TEST(ManagerEvents, dropASubscriberWhoseProcessDied) {
    SinkProcess doomed({});
    ASSERT_TRUE(doomed.waitForLine(QStringLiteral("ready"), kStartMs));
    Client raiser(QStringLiteral("raiser"));
    raiser.subscribe(QStringLiteral("/Sink"));
    doomed.kill();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(raiser.raise(1).type(), QDBusMessage::ReplyMessage);
    EXPECT_LT(clock.elapsed(), kSinkAnswerTimeoutMs);
    EXPECT_EQ(raiser.events(), (std::vector<int>{1}));
}

// How an editor is recorded by a client process, and how that process leaves the bus.
struct Departure {
    const char *behaviour;
    QStringList arguments;
    bool killed;
};

void PrintTo(const Departure &row, std::ostream *out) {
    *out << row.behaviour;
}

class EditorDeparture : public testing::TestWithParam<Departure> {};

TEST_P(EditorDeparture, clearsTheEditorAndTellsTheOthersEditingIsAllowed) {
    Client watcher(QStringLiteral("watcher"));
    watcher.subscribe(QStringLiteral("/Sink"));
    {
        SinkProcess editor(GetParam().arguments);
        ASSERT_TRUE(editor.waitForLine(QStringLiteral("ready"), kStartMs));
        if (GetParam().killed) {
            EXPECT_EQ(watcher.manager().commonDataEditor(), QStringLiteral("Sheet 9"));
            editor.kill();
        } else {
            // Not waitForFinished: it fails for a process whose end was already seen.
            ASSERT_TRUE(waitFor([&] { return editor.process().state() == QProcess::NotRunning; },
                                kStartMs));
        }
    }
    EXPECT_TRUE(waitFor([&] { return !watcher.events().empty(); }, kEndMs));
    EXPECT_EQ(watcher.events(), (std::vector<int>{3}));
    EXPECT_EQ(watcher.manager().commonDataEditor(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    , EditorDeparture,
    testing::Values(
        Departure{
            "claimed, then killed", {QStringLiteral("--claim"), QStringLiteral("Sheet 9")}, true},
        Departure{"written, then killed",
                  {QStringLiteral("--set-editor"), QStringLiteral("Sheet 9")},
                  true},
        Departure{"claimed, then ended without clearing it",
                  {QStringLiteral("--claim"), QStringLiteral("Sheet 9"), QStringLiteral("--exit")},
                  false}));

TEST(ManagerEditor, staysWhileItsOwnerIsConnectedEvenAfterRelease) {
    Client owner(QStringLiteral("owner"));
    Client other(QStringLiteral("other"));
    other.call(QStringLiteral("LastId"), {QStringLiteral("Sheet")});
    owner.call(QStringLiteral("ClaimCommonDataEditor"), {QStringLiteral("Sheet 1")});
    owner.call(QStringLiteral("Release"));
    EXPECT_EQ(other.manager().commonDataEditor(), QStringLiteral("Sheet 1"));
    owner.disconnect();
    EXPECT_TRUE(waitFor([&] { return other.manager().commonDataEditor().isEmpty(); }, kEndMs));
}

// How the last client lets go, after it first called the manager (and maybe subscribed).
struct LastClient {
    const char *behaviour;
    bool subscribes;
    std::function<void(Client &)> letGo;
};

void PrintTo(const LastClient &row, std::ostream *out) {
    *out << row.behaviour;
}

class ManagerLifetime : public testing::TestWithParam<LastClient> {};

TEST_P(ManagerLifetime, endsWhenTheLastClientLetsGo) {
    Client client(QStringLiteral("last"));
    client.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")});
    if (GetParam().subscribes) {
        client.subscribe(QStringLiteral("/Sink"));
        client.call(QStringLiteral("Release"));
        // The subscription alone still holds the program.
        waitFor([] { return false; }, 300);
        ASSERT_TRUE(managerRunning());
    }
    ASSERT_TRUE(managerRunning());
    GetParam().letGo(client);
    EXPECT_TRUE(waitForManagerGone(kEndMs));
}

INSTANTIATE_TEST_SUITE_P(, ManagerLifetime,
                         testing::Values(LastClient{"Release", false,
                                                    [](Client &c) {
                                                        c.call(QStringLiteral("Release"));
                                                    }},
                                         LastClient{"leaving the bus", false,
                                                    [](Client &c) {
                                                        c.disconnect();
                                                    }},
                                         LastClient{"Unsubscribe after Release", true,
                                                    [](Client &c) {
                                                        c.call(QStringLiteral("Unsubscribe"),
                                                               {QVariant::fromValue(QDBusObjectPath(
                                                                   QStringLiteral("/Sink")))});
                                                    }},
                                         LastClient{"leaving the bus with a subscription", true,
                                                    [](Client &c) {
                                                        c.disconnect();
                                                    }}));

TEST(ManagerRunning, keepsRunningWhileAnotherClientHoldsIt) {
    Client first(QStringLiteral("first"));
    Client second(QStringLiteral("second"));
    first.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")});
    second.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")});
    first.call(QStringLiteral("Release"));
    EXPECT_FALSE(waitForManagerGone(500));
    // The program that goes on keeps its state.
    EXPECT_EQ(textOf(second.call(QStringLiteral("NewAddInName"), {QStringLiteral("Sheet")})),
              QStringLiteral("Sheet 3"));
    second.call(QStringLiteral("Release"));
    EXPECT_TRUE(waitForManagerGone(kEndMs));
}

TEST(ManagerRunning, refusesToStartTwiceOnOneBus) {
    Client client(QStringLiteral("client"));
    client.call(QStringLiteral("LastId"), {QStringLiteral("Sheet")});
    QProcess second;
    second.start(QStringLiteral(TALVIO_MANAGER), {});
    ASSERT_TRUE(second.waitForFinished(kStartMs));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains("org.talvio.TlvAddInMgr"));
}

} // namespace
} // namespace addinmgr::test
