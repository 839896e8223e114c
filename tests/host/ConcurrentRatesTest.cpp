#include "HostProcess.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace talvio::test {
namespace {

// Each process enters its own pair's rates one after another and reads each back at once; the
// other processes' saves in between must never put back an older rate. TALVIO_STRESS_FULL=1
// runs the full size.
constexpr const char *kWorker = R"sh(talvio=$1 settings=$2 messages=$3 from=$4 to=$5 count=$6
i=1
while [ "$i" -le "$count" ]; do
    rate="$i.5"
    "$talvio" --settings "$settings" --messages "$messages" set-rate "$from" "$to" "$rate" \
        || echo "failed set-rate $rate"
    echo "entered $rate read $("$talvio" --settings "$settings" --messages "$messages" rate "$from" "$to")"
    i=$((i + 1))
done
echo done
)sh";

// Eight pairs of currencies outside the euro area: several share the currency whose stored
// rates value holds them, so that saves of one value race.
const std::pair<const char *, const char *> kPairs[] = {
    {"EUR", "USD"}, {"EUR", "GBP"}, {"EUR", "CHF"}, {"EUR", "JPY"},
    {"USD", "GBP"}, {"USD", "CHF"}, {"USD", "JPY"}, {"GBP", "CHF"},
};

bool fullSize() {
    const char *full = std::getenv("TALVIO_STRESS_FULL");
    return full != nullptr && std::string(full) == "1";
}

TEST(ConcurrentRates, noProcessLosesARateAnotherProcessSavedMeanwhile) {
    const kvt::test::ScopedEnv locale("LC_ALL", "C");
    const int rates = fullSize() ? 300 : 10;
    HostFixture host;
    ASSERT_EQ(host.run({"currencies"}).status, 0);

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<kvt::test::ChildProcess>> workers;
    for (const auto &[from, to] : kPairs)
        workers.push_back(std::make_unique<kvt::test::ChildProcess>(
            "/bin/sh",
            std::vector<std::string>{"-c", kWorker, "worker", TALVIO_BINARY, host.settingsPath(),
                                     TALVIO_TEST_MESSAGE_FILE, from, to, std::to_string(rates)}));
    int lost = 0;
    int failed = 0;
    for (std::size_t w = 0; w < workers.size(); ++w) {
        for (int i = 1; i <= rates + 1; ++i) {
            const auto line = workers[w]->readLine(std::chrono::minutes(2));
            ASSERT_TRUE(line) << "worker " << w << " stopped after " << i - 1 << " rates";
            if (*line == "done")
                break;
            if (line->rfind("failed", 0) == 0) {
                ++failed;
                ADD_FAILURE() << kPairs[w].first << " " << kPairs[w].second << ": " << *line;
                continue;
            }
            const std::string rate = std::to_string(i) + ".5";
            if (*line != "entered " + rate + " read " + rate) {
                ++lost;
                ADD_FAILURE() << kPairs[w].first << " " << kPairs[w].second << ": " << *line;
            }
        }
        EXPECT_EQ(workers[w]->wait(std::chrono::minutes(1)), 0);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu processes x %d rates: %d lost, %d failed, %.1f s\n", workers.size(), rates,
                lost, failed, seconds);
    // The last rate of every pair is the one stored.
    for (const auto &[from, to] : kPairs)
        EXPECT_EQ(host.run({"rate", from, to}).out, std::to_string(rates) + ".5\n");
}

} // namespace
} // namespace talvio::test
