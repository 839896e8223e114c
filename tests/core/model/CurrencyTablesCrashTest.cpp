#include "model/CurrencyTables.h"
#include "model/ISO.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "model/SqliteSettingsBackend.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kvt {
namespace {

constexpr int kCurrencies = 40;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "C00" to "C39".
std::string codeOf(int i) {
    return {'C', static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10)};
}

// One of two catalogues in which every value a save writes tells which one it is.
void fillGeneration(CurrencyTables &tables, int generation) {
    const std::string g = std::to_string(generation);
    tables.setColISO(nullptr);
    tables.setColDevises(nullptr);
    for (int i = 0; i < kCurrencies; ++i) {
        const std::string code = codeOf(i);
        tables.mSubAddISO(code, static_cast<std::int16_t>(generation), "X.XX", "");
        tables.msubAddNames(code,
                            "n" + g + "|n" + g + "|n" + g + "|n" + g + "|n" + g + "|n" + g + "|");
        tables.msubAddAlias(code, "d" + g + "|a" + g + "|b" + g);
    }
    for (int i = 0; i < kCurrencies; ++i)
        tables.msubLoadTaux(codeOf(i), "");
    for (int i = 0; i < kCurrencies; ++i) {
        tables.setTauxDeChange(codeOf(i), codeOf((i + 1) % kCurrencies), generation + i / 64.0);
        tables.AddDevise(codeOf(generation == 1 ? i : kCurrencies - 1 - i));
    }
    tables.setLastRatesUpdate(40000.5 + generation);
}

// What a save of the test catalogues wrote: their own keys (not the built-ins a load adds), and the
// selection and date.
std::map<std::string, std::string> savedState(SettingsBackend &backend) {
    std::map<std::string, std::string> state;
    for (const char *section :
         {"Currencies\\ISOCodes", "Currencies\\Names", "Currencies\\Alias", "Currencies\\Rates"})
        for (const auto &[key, value] : backend.enumerate("Talvio", section))
            if (key.size() == 3 && key[0] == 'C' && isDigit(key[1]) && isDigit(key[2]))
                state[std::string(section) + "/" + key] = value;
    state["selection"] = backend.read("Talvio", "UserChoice", "Currencies");
    state["date"] = backend.read("Talvio", "Currencies", "LastUpdate");
    return state;
}

// A save by tables that know nothing of the store yet, so that it writes the whole catalogue.
void saveGeneration(int generation) {
    CurrencyTables tables;
    fillGeneration(tables, generation);
    tables.SaveReg();
}

std::map<std::string, std::string> expectedState(int generation) {
    auto backend = std::make_shared<MemorySettingsBackend>();
    setSharedRegistry(std::make_shared<Registry>(backend));
    sharedRegistry()->setProjectName("Talvio");
    saveGeneration(generation);
    setSharedRegistry(nullptr);
    return savedState(*backend);
}

void useStore(const std::filesystem::path &path) {
    setSharedRegistry(std::make_shared<Registry>(std::make_shared<SqliteSettingsBackend>(path)));
    sharedRegistry()->setProjectName("Talvio");
}

// Saves the two catalogues in turn for ever, telling the parent of each save done.
[[noreturn]] void saveUntilKilled(const std::filesystem::path &path, int savedFd) {
    try {
        useStore(path);
        for (;;) {
            saveGeneration(2);
            if (::write(savedFd, "2", 1) != 1)
                ::_exit(4);
            saveGeneration(1);
            if (::write(savedFd, "1", 1) != 1)
                ::_exit(4);
        }
    } catch (...) {
        ::_exit(3);
    }
}

// Waits for the next save the child reports; false after 20 s without one.
bool awaitSave(int savedFd) {
    pollfd wait{savedFd, POLLIN, 0};
    char which = 0;
    return ::poll(&wait, 1, 20000) == 1 && ::read(savedFd, &which, 1) == 1;
}

// A process killed at a random moment while saving leaves the store holding one complete
// catalogue, the one before that save or the one it was writing, and the store still loads.
TEST(CurrencyTablesCrash, killedSaveLeavesOneCompleteCatalogue) {
    const std::map<std::string, std::string> generations[] = {expectedState(1), expectedState(2)};
    ASSERT_EQ(generations[0].size(), 4 * kCurrencies + 2);

    test::TempDir dir;
    const std::filesystem::path path = dir.file("settings.db");
    useStore(path);
    saveGeneration(1);
    // Each kill comes after one to three saves, at a random moment within the length of a save
    // in this build.
    const auto start = std::chrono::steady_clock::now();
    saveGeneration(1);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    setSharedRegistry(nullptr); // no open database may cross a fork

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> savesBeforeKill(1, 3);
    std::uniform_int_distribution<std::int64_t> delayMicroseconds(0, saveTime.count());
    int found[2] = {0, 0};
    constexpr int kKills = 50;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill) + ", seed " + std::to_string(seed));
        int saved[2];
        ASSERT_EQ(::pipe(saved), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(saved[0]);
            saveUntilKilled(path, saved[1]);
        }
        ::close(saved[1]);
        bool started = true;
        for (int saves = savesBeforeKill(random); started && saves > 0; --saves)
            started = awaitSave(saved[0]);
        if (started)
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        ::close(saved[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(started) << "the saving process did not start";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saving process ended by itself, status " << status;

        auto backend = std::make_shared<SqliteSettingsBackend>(path);
        const std::map<std::string, std::string> state = savedState(*backend);
        const int generation = state == generations[0] ? 1 : state == generations[1] ? 2 : 0;
        ASSERT_NE(generation, 0) << "the store holds a mixture of two saves";
        ++found[generation - 1];

        // Loading it (slow under the sanitizers) is checked now and then.
        if (kill % 5 == 0) {
            setSharedRegistry(std::make_shared<Registry>(backend));
            sharedRegistry()->setProjectName("Talvio");
            CurrencyTables loaded;
            loaded.ReadReg();
            EXPECT_EQ(loaded.ColISO()->Item("C07")->IndexPays(), generation);
            EXPECT_EQ(loaded.ColDevises()->keyAt(1), codeOf(generation == 1 ? 0 : kCurrencies - 1));
            setSharedRegistry(nullptr);
        }
    }
    // Both catalogues turned up, so the kills did fall among the saves.
    EXPECT_GT(found[0], 0);
    EXPECT_GT(found[1], 0);
}

} // namespace
} // namespace kvt
