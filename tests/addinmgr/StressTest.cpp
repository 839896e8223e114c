// The manager under what any client on the bus can do to it. Short by default; at the full
// figures with TALVIO_STRESS_FULL=1, when each test prints what it measured.
#include "BusTestSupport.h"
#include "ManagerService.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace addinmgr::test {
namespace {

constexpr int kStartMs = 15'000;
constexpr int kLongMs = 600'000;

int bySize(int shortRun, int fullRun) {
    return qEnvironmentVariable("TALVIO_STRESS_FULL") == QLatin1String("1") ? fullRun : shortRun;
}

bool allFinished(const std::vector<QDBusPendingCall> &calls) {
    return std::all_of(calls.begin(), calls.end(),
                       [](const QDBusPendingCall &call) { return call.isFinished(); });
}

// Error names of the answers, "reply" for the successful ones, with their counts.
std::map<std::string, int> answerKinds(const std::vector<QDBusPendingCall> &calls) {
    std::map<std::string, int> kinds;
    for (const QDBusPendingCall &call : calls)
        ++kinds[call.isError() ? call.error().name().toStdString() : "reply"];
    return kinds;
}

std::vector<int> withoutEvent(std::vector<int> events, int id) {
    std::erase(events, id);
    return events;
}

TEST(ManagerStress, answersEveryRaiseInFlightFromManyClientsInArrivalOrder) {
    const int clients = bySize(10, 50);
    const int perClient = bySize(100, 200);
    Client first(QStringLiteral("first"));
    Client second(QStringLiteral("second"));
    first.subscribe(QStringLiteral("/Sink"));
    second.subscribe(QStringLiteral("/Sink"));
    SinkProcess other({});
    ASSERT_TRUE(other.waitForLine(QStringLiteral("ready"), kStartMs));
    std::vector<std::unique_ptr<Client>> raisers;
    for (int c = 0; c < clients; ++c) {
        raisers.push_back(std::make_unique<Client>(QStringLiteral("raiser%1").arg(c)));
        raisers.back()->setTimeout(kLongMs);
    }

    // The first client alternates events 1 and 3, the others raise 2: every subscriber must
    // see 1 and 3 alternate as they were sent, among all the others.
    std::vector<int> alternating;
    std::vector<QDBusPendingCall> raises;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < perClient; ++i) {
        alternating.push_back(i % 2 == 0 ? 1 : 3);
        for (std::size_t c = 0; c < raisers.size(); ++c)
            raises.push_back(raisers[c]->raiseAsync(c == 0 ? alternating.back() : 2));
    }
    ASSERT_TRUE(waitFor([&] { return allFinished(raises); }, kLongMs));
    const qint64 elapsed = clock.elapsed();

    const std::size_t total = raises.size();
    EXPECT_EQ(answerKinds(raises), (std::map<std::string, int>{{"reply", clients * perClient}}));
    ASSERT_TRUE(waitFor([&] { return other.events().size() >= total; }, kStartMs));
    const std::vector<int> seen = first.events();
    EXPECT_EQ(seen.size(), total);
    EXPECT_EQ(withoutEvent(seen, 2), alternating);
    EXPECT_EQ(second.events(), seen) << "the subscribers saw different orders";
    EXPECT_EQ(other.events(), seen) << "the subscribers saw different orders";
    EXPECT_EQ(first.call(QStringLiteral("LastId"), {QStringLiteral("Sheet")}).type(),
              QDBusMessage::ReplyMessage)
        << "the manager ended";
    std::printf("%zu raises in flight from %d clients to 3 subscribers: all answered in %lld ms\n",
                total, clients, static_cast<long long>(elapsed));
}

TEST(ManagerStress, refusesOversizedNamesAndKeepsTheListUnderTheMessageLimit) {
    Client client(QStringLiteral("names"));
    client.setTimeout(kLongMs);
    const QString huge(1 << 20, u'x');
    for (int i = 0; i < 34; ++i) {
        const QDBusMessage reply = client.call(QStringLiteral("NewAddInName"), {huge});
        ASSERT_EQ(reply.errorName(), QStringLiteral("org.talvio.Error.LimitExceeded")) << i;
        EXPECT_TRUE(reply.errorMessage().contains(QLatin1String("256"))) << i;
    }

    // The longest type there may be, 1 KiB in UTF-8: at full size the list passes its limit.
    const QString longest = QString::fromUcs4(U"\U0001F4B6").repeated(256);
    const int names = bySize(300, 9'000);
    std::vector<QDBusPendingCall> calls;
    for (int i = 0; i < names; ++i)
        calls.push_back(client.callAsync(QStringLiteral("NewAddInName"), {longest}));
    ASSERT_TRUE(waitFor([&] { return allFinished(calls); }, kLongMs));
    EXPECT_EQ(answerKinds(calls), (std::map<std::string, int>{{"reply", names}}));

    const QDBusMessage list = client.call(QStringLiteral("AddInCollectionString"));
    ASSERT_EQ(list.type(), QDBusMessage::ReplyMessage) << list.errorMessage().toStdString();
    const QString text = list.arguments().value(0).toString();
    const qsizetype bytes = text.toUtf8().size();
    EXPECT_LE(bytes, 8 * 1024 * 1024);
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    static const QRegularExpression marker(
        QStringLiteral("^\\[(\\d+) more add-ins not listed\\]$"));
    const QRegularExpressionMatch cut = marker.match(lines.value(lines.size() - 1));
    if (names * 1'060 < 8 * 1024 * 1024) {
        EXPECT_EQ(lines.size(), names);
        EXPECT_FALSE(cut.hasMatch());
    } else {
        ASSERT_TRUE(cut.hasMatch()) << lines.constLast().left(80).toStdString();
        EXPECT_EQ(lines.size() - 1 + cut.captured(1).toInt(), names);
    }
    EXPECT_EQ(client.call(QStringLiteral("LastId"), {longest}).arguments().value(0),
              QVariant(names));
    std::printf("%d names of 256 characters: list of %lld bytes in %lld lines\n", names,
                static_cast<long long>(bytes), static_cast<long long>(lines.size()));
}

TEST(ManagerStress, stoppedSubscribersDelayARaiseByOneAnswerTimeoutAtMost) {
    const int stoppedCount = bySize(4, 10);
    const int raiseCount = bySize(20, 100);
    std::vector<std::unique_ptr<SinkProcess>> stopped;
    for (int i = 0; i < stoppedCount; ++i)
        stopped.push_back(std::make_unique<SinkProcess>(QStringList{}));
    for (auto &sink : stopped) {
        ASSERT_TRUE(sink->waitForLine(QStringLiteral("ready"), kStartMs));
        ASSERT_EQ(::kill(static_cast<pid_t>(sink->process().processId()), SIGSTOP), 0);
    }
    Client raiser(QStringLiteral("raiser"));
    raiser.setTimeout(kLongMs);
    raiser.subscribe(QStringLiteral("/Sink"));

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(raiser.raise(2).type(), QDBusMessage::ReplyMessage);
    const qint64 first = clock.elapsed();
    for (int i = 1; i < raiseCount; ++i)
        EXPECT_EQ(raiser.raise(2).type(), QDBusMessage::ReplyMessage);
    const qint64 all = clock.elapsed();

    EXPECT_LT(first, kSinkAnswerTimeoutMs);
    EXPECT_EQ(raiser.events(), std::vector<int>(static_cast<std::size_t>(raiseCount), 2));
    for (auto &sink : stopped)
        ::kill(static_cast<pid_t>(sink->process().processId()), SIGCONT);
    std::printf("%d stopped subscribers: first raise %lld ms, %d raises %lld ms\n", stoppedCount,
                static_cast<long long>(first), raiseCount, static_cast<long long>(all));
}

} // namespace
} // namespace addinmgr::test
