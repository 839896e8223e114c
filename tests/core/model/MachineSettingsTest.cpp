#include "model/MachineSettings.h"

#include "model/SqliteSettingsBackend.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <fstream>
#include <sqlite3.h>

namespace kvt {
namespace {

namespace fs = std::filesystem;

void runSql(const fs::path &path, const char *sql) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A machine store as an administrator fills it: strings as text, 32-bit numbers as four bytes,
// lowest first.
void makeMachineStore(const fs::path &path) {
    SqliteSettingsBackend(path).write("HKEY_LOCAL_MACHINE", "SOFTWARE\\Tools\\Info", "PATH",
                                      "/opt/info/run");
    runSql(path, "INSERT INTO settings VALUES"
                 " ('HKEY_LOCAL_MACHINE', 'SOFTWARE\\Tools\\Info', 'Nul',"
                 "  CAST(x'2F6F70742F780062616B' AS TEXT)),"
                 " ('HKEY_LOCAL_MACHINE', 'SOFTWARE\\Tools\\Info', 'One', x'01000000'),"
                 " ('HKEY_LOCAL_MACHINE', 'SOFTWARE\\Tools\\Info', 'Abcd', x'0D0C0B0A'),"
                 " ('HKEY_LOCAL_MACHINE', 'SOFTWARE\\Tools\\Info', 'Zero', x'00000000'),"
                 " ('HKEY_LOCAL_MACHINE', 'SOFTWARE\\Tools\\Info', 'Wide', x'785634F2'),"
                 " ('HKEY_LOCAL_MACHINE', 'SOFTWARE\\Tools\\Info', 'Bytes', x'0102')");
}

TEST(MachineSettings, readsStringsUpToTheirNulAndNumbersAsTheirBytesInHexadecimal) {
    struct Row {
        const char *keyPath;
        const char *valueName;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"SOFTWARE\\Tools\\Info", "PATH", "/opt/info/run"},
        {"software\\tools\\INFO", "path", "/opt/info/run"},
        {"SOFTWARE\\Tools\\Info", "Nul", "/opt/x"},
        {"SOFTWARE\\Tools\\Info", "One", "0001"},
        {"SOFTWARE\\Tools\\Info", "Abcd", "ABCD"},
        {"SOFTWARE\\Tools\\Info", "Zero", "0000"},
        {"SOFTWARE\\Tools\\Info", "Wide", "F2345678"},
        {"SOFTWARE\\Tools\\Info", "Bytes", std::nullopt}, // neither a string nor a number
        {"SOFTWARE\\Tools\\Info", "Missing", std::nullopt},
        {"SOFTWARE\\Tools", "PATH", std::nullopt},
    };
    test::TempDir dir;
    makeMachineStore(dir.file("machine.db"));
    const test::ScopedEnv env("TALVIO_MACHINE_SETTINGS", dir.file("machine.db").string());
    for (const Row &row : rows)
        EXPECT_EQ(GetKeyValue(kLocalMachine, row.keyPath, row.valueName), row.expected)
            << row.keyPath << " / " << row.valueName;
    EXPECT_EQ(GetKeyValue("HKEY_CURRENT_USER", "SOFTWARE\\Tools\\Info", "PATH"), std::nullopt);
}

TEST(MachineSettings, absentStoreHasNoKeysAndIsNotCreated) {
    test::TempDir dir;
    for (const fs::path &path : {dir.file("machine.db"), dir.path() / "etc" / "machine.db"}) {
        EXPECT_EQ(GetKeyValue(path, kLocalMachine, "SOFTWARE\\Tools\\Info", "PATH"), std::nullopt);
        EXPECT_FALSE(fs::exists(path)) << path;
    }
}

TEST(MachineSettings, storeThatIsNotTalviosIsAnErrorNamingIt) {
    const std::function<void(const fs::path &)> makers[] = {
        [](const fs::path &p) { std::ofstream(p) << std::string(300, 'x'); },
        [](const fs::path &p) { runSql(p, "CREATE TABLE settings (key, value)"); },
        [](const fs::path &p) { fs::create_directory(p); },
    };
    for (const auto &make : makers) {
        test::TempDir dir;
        make(dir.file("machine.db"));
        EXPECT_THAT([&] { GetKeyValue(dir.file("machine.db"), kLocalMachine, "SOFTWARE", "P"); },
                    test::ThrowsError(err::SettingsStore, {dir.file("machine.db").string()}));
    }
}

} // namespace
} // namespace kvt
