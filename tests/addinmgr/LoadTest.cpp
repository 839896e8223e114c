#include "BusTestSupport.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace addinmgr::test {
namespace {

constexpr int kSubscribers = 20;
constexpr int kRaises = 1000;

// Many subscriber processes, many raises from one raiser: each subscriber must receive every
// event once, in the order raised.
TEST(ManagerLoad, everySubscriberReceivesEveryEventInOrder) {
    std::vector<std::unique_ptr<SinkProcess>> sinks;
    for (int i = 0; i < kSubscribers; ++i)
        sinks.push_back(std::make_unique<SinkProcess>(QStringList{}));
    for (auto &sink : sinks)
        ASSERT_TRUE(sink->waitForLine(QStringLiteral("ready"), 60'000));

    Client raiser(QStringLiteral("raiser"));
    std::vector<int> raised;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRaises; ++i) {
        const int id = 1 + i % 3;
        ASSERT_EQ(raiser.raise(id).type(), QDBusMessage::ReplyMessage) << "raise " << i;
        raised.push_back(id);
    }
    const qint64 elapsed = clock.elapsed();
    for (auto &sink : sinks)
        waitFor([&] { return sink->events().size() >= raised.size(); }, 10'000);
    for (std::size_t i = 0; i < sinks.size(); ++i)
        EXPECT_EQ(sinks[i]->events(), raised) << "subscriber " << i;
    RecordProperty("raise_ms", static_cast<int>(elapsed));
    std::printf("%d raises to %d subscriber processes: %lld ms (%.2f ms per raise)\n", kRaises,
                kSubscribers, static_cast<long long>(elapsed),
                static_cast<double>(elapsed) / kRaises);
}

} // namespace
} // namespace addinmgr::test
