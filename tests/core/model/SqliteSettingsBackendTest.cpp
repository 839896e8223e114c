#include "model/SqliteSettingsBackend.h"

#include "model/UserPaths.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>
#include <sys/stat.h>

namespace kvt {
namespace {

namespace fs = std::filesystem;
using test::ThrowsError;

std::string contentOf(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

unsigned modeOf(const fs::path &path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777u;
}

void runSql(const fs::path &path, const char *sql) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

void makeTalvioDatabase(const fs::path &path) {
    SqliteSettingsBackend store(path);
    store.write("Talvio", "UserChoice", "Language", "3");
}

TEST(SqliteSettingsBackend, createsOwnerOnlyFolderAndFileOnFirstUseAndReopens) {
    test::TempDir dir;
    const fs::path path = dir.path() / "config" / "talvio" / "settings.db";
    {
        SqliteSettingsBackend store(path);
        EXPECT_FALSE(fs::exists(dir.path() / "config")); // nothing happens before the first use
        store.write("Talvio", "UserChoice", "Language", "3");
        EXPECT_EQ(modeOf(dir.path() / "config"), 0700u);
        EXPECT_EQ(modeOf(path.parent_path()), 0700u);
        EXPECT_EQ(modeOf(path), 0600u);
        EXPECT_EQ(modeOf(path.string() + "-wal"), 0600u);
    }
    SqliteSettingsBackend reopened(path);
    EXPECT_EQ(reopened.read("talvio", "userchoice", "language"), "3");
}

TEST(SqliteSettingsBackend, refusesWhatIsNotATalvioDatabaseAndLeavesItUnchanged) {
    struct Row {
        const char *what;
        void (*make)(const fs::path &path);
        const char *reason;
    };
    const Row rows[] = {
        {"text", [](const fs::path &p) { writeFile(p, std::string(300, 'x')); }, "not a Talvio"},
        {"short text", [](const fs::path &p) { writeFile(p, "x"); }, "not a Talvio"},
        {"another program's database",
         [](const fs::path &p) {
             runSql(p, "CREATE TABLE notes (text); INSERT INTO notes VALUES (1)");
         },
         "not a Talvio"},
        {"an empty SQLite database",
         [](const fs::path &p) { runSql(p, "PRAGMA user_version = 7"); }, "not a Talvio"},
        {"a database marked as Talvio's without its table",
         [](const fs::path &p) {
             runSql(p, "CREATE TABLE other (a); PRAGMA application_id = 1417047123;"
                       "PRAGMA user_version = 1");
         },
         "lacks Talvio's settings table"},
        {"a named pipe", [](const fs::path &p) { ::mkfifo(p.c_str(), 0600); }, "regular file"},
        {"a later layout",
         [](const fs::path &p) {
             makeTalvioDatabase(p);
             runSql(p, "PRAGMA user_version = 2");
         },
         "later version"},
        {"a damaged Talvio database",
         [](const fs::path &p) {
             makeTalvioDatabase(p);
             std::string bytes = contentOf(p);
             std::fill(bytes.begin() + 100, bytes.begin() + 4096, '\xff');
             writeFile(p, bytes);
         },
         "malformed"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        const fs::path path = dir.file("settings.db");
        row.make(path);
        const bool regular = fs::is_regular_file(path);
        const std::string before = regular ? contentOf(path) : "";

        SqliteSettingsBackend store(path);
        EXPECT_THAT([&] { store.read("Talvio", "UserChoice", "Language"); },
                    ThrowsError(err::SettingsStore, {path.string(), row.reason}));
        EXPECT_THAT([&] { store.write("Talvio", "UserChoice", "Language", "1"); },
                    ThrowsError(err::SettingsStore, {path.string()}));
        if (regular) {
            EXPECT_EQ(contentOf(path), before);
        }
        EXPECT_FALSE(fs::exists(path.string() + "-wal")); // not even the journal mode changed
    }
}

TEST(SqliteSettingsBackend, unusableLocationIsReportedWithItsPath) {
    test::TempDir dir;
    writeFile(dir.file("plain-file"), "not a folder");
    SqliteSettingsBackend store(dir.file("plain-file") / "settings.db");
    EXPECT_THAT([&] { store.read("Talvio", "S", "K"); },
                ThrowsError(err::FileAccess, {dir.file("plain-file").string()}));
}

TEST(SqliteSettingsBackend, connectionsShareValuesAndSeeABatchWholeOrNotAtAll) {
    test::TempDir dir;
    SqliteSettingsBackend first(dir.file("settings.db"));
    SqliteSettingsBackend second(dir.file("settings.db"), std::chrono::milliseconds(50));
    first.write("Talvio", "S", "a", "1");
    EXPECT_EQ(second.read("Talvio", "S", "a"), "1");

    first.beginBatch();
    first.write("Talvio", "S", "a", "2");
    first.write("Talvio", "S", "b", "2");
    // Readers are not blocked and see the state before the batch...
    EXPECT_EQ(second.read("Talvio", "S", "a"), "1");
    EXPECT_EQ(second.read("Talvio", "S", "b"), "");
    // ...a connection opened meanwhile reads as well, without the write lock...
    SqliteSettingsBackend third(dir.file("settings.db"), std::chrono::milliseconds(50));
    EXPECT_EQ(third.read("Talvio", "S", "a"), "1");
    // ...while a second writer waits for the busy timeout, then fails.
    EXPECT_THAT([&] { second.write("Talvio", "S", "c", "3"); },
                ThrowsError(err::SettingsStore, {dir.file("settings.db").string(), "locked"}));
    first.commitBatch();
    EXPECT_EQ(second.read("Talvio", "S", "b"), "2");
    second.write("Talvio", "S", "c", "3");
    EXPECT_EQ(first.read("Talvio", "S", "c"), "3");
}

// A reader of a store left in WAL mode would create side files (-wal, -shm): the last connection
// in WAL mode to close, a reader as well, puts the store back, and a load then creates none.
TEST(SqliteSettingsBackend, theLastConnectionInWalModeToClosePutsTheStoreBack) {
    test::TempDir dir;
    const fs::path path = dir.file("settings.db");
    makeTalvioDatabase(path);
    const auto files = [&] {
        return std::distance(fs::directory_iterator(dir.path()), {});
    };
    {
        SqliteSettingsBackend reader(path);
        {
            SqliteSettingsBackend writer(path);
            writer.write("Talvio", "UserChoice", "Language", "4");
            EXPECT_EQ(reader.read("Talvio", "UserChoice", "Language"), "4");
        }
        EXPECT_EQ(files(), 3) << "the reader still uses the log";
    }
    SqliteSettingsBackend load(path);
    load.beginBatch();
    EXPECT_EQ(load.read("Talvio", "UserChoice", "Language"), "4");
    EXPECT_EQ(files(), 1);
    load.commitBatch();
}

TEST(UserPaths, defaultPathsFollowTheEnvironment) {
    struct Location {
        fs::path (*function)();
        const char *override;
        const char *xdg;
        const char *fallback;
    };
    const Location locations[] = {
        {defaultSettingsPath, "TALVIO_SETTINGS", "XDG_CONFIG_HOME",
         "/home/u/.config/talvio/settings.db"},
        {defaultLogFilePath, "TALVIO_LOG_FILE", "XDG_STATE_HOME",
         "/home/u/.local/state/talvio/LogFile.Log"},
    };
    enum class From { Override, Xdg, Home };
    struct Row {
        std::optional<std::string> override;
        std::optional<std::string> xdg;
        From from;
    };
    const Row rows[] = {
        {"/x/chosen.db", "/xdg", From::Override},
        {std::nullopt, "/xdg", From::Xdg},
        {"", "/xdg", From::Xdg},                    // an empty override counts as unset
        {std::nullopt, "relative/xdg", From::Home}, // XDG folders must be absolute
        {std::nullopt, std::nullopt, From::Home},
    };
    const test::ScopedEnv home("HOME", "/home/u");
    for (const Location &location : locations) {
        for (const Row &row : rows) {
            const test::ScopedEnv override(location.override, row.override);
            const test::ScopedEnv xdg(location.xdg, row.xdg);
            const fs::path fallback = location.fallback;
            const fs::path expected = row.from == From::Override ? fs::path(*row.override)
                                      : row.from == From::Xdg
                                          ? fs::path("/xdg/talvio") / fallback.filename()
                                          : fallback;
            EXPECT_EQ(location.function(), expected)
                << location.override << "=" << row.override.value_or("(unset)") << " "
                << location.xdg << "=" << row.xdg.value_or("(unset)");
        }
    }
}

} // namespace
} // namespace kvt
