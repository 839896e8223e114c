#include "model/MachineSettings.h"

#include "model/Error.h"
#include "model/SqliteSettingsBackend.h"
#include "model/UserPaths.h"

#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <system_error>

namespace kvt {

namespace {

struct DatabaseCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
struct StatementFinaliser {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinaliser>;

[[noreturn]] void throwUnreadable(const std::filesystem::path &store, const std::string &reason) {
    throw Error(err::SettingsStore, "The machine settings file \"" + store.string()
                                        + "\" cannot be read as a Talvio settings database ("
                                        + reason + ").");
}

[[noreturn]] void throwDatabaseError(const std::filesystem::path &store, sqlite3 *db) {
    throwUnreadable(store, db ? sqlite3_errmsg(db) : "out of memory");
}

// Read only, never created: SQLite would otherwise make an empty database where none is.
Database openReadOnly(const std::filesystem::path &store) {
    sqlite3 *raw = nullptr;
    const int rc =
        sqlite3_open_v2(store.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK)
        throwDatabaseError(store, db.get());
    return db;
}

Statement prepare(const std::filesystem::path &store, sqlite3 *db, const char *sql) {
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        throwDatabaseError(store, db);
    return Statement(raw);
}

void checkIsTalvio(const std::filesystem::path &store, sqlite3 *db) {
    const Statement query = prepare(store, db, "PRAGMA application_id");
    if (sqlite3_step(query.get()) != SQLITE_ROW)
        throwDatabaseError(store, db);
    if (sqlite3_column_int(query.get(), 0) != SqliteSettingsBackend::kApplicationId)
        throwUnreadable(store, "it is a database of another program");
}

void bindText(const std::filesystem::path &store, sqlite3 *db, sqlite3_stmt *statement, int index,
              std::string_view text) {
    if (sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8)
        != SQLITE_OK)
        throwDatabaseError(store, db);
}

// A number as the registry reader of the system-information button spelled it: the bytes from
// the most significant down, each in hexadecimal without its leading zero.
std::string numberDigits(const unsigned char *lowestFirst) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    for (int i = 3; i >= 0; --i) {
        const unsigned byte = lowestFirst[i];
        if (byte >= 0x10)
            digits += kDigits[byte >> 4];
        digits += kDigits[byte & 0xF];
    }
    return digits;
}

std::optional<std::string> storedValue(sqlite3_stmt *statement) {
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, 0));
    switch (sqlite3_column_type(statement, 0)) {
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        const std::string_view whole(text ? text : "", text ? size : 0);
        return std::string(whole.substr(0, whole.find('\0')));
    }
    case SQLITE_BLOB:
        if (size == 4)
            return numberDigits(
                static_cast<const unsigned char *>(sqlite3_column_blob(statement, 0)));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<std::string> GetKeyValue(const std::filesystem::path &store, std::string_view hive,
                                       std::string_view keyPath, std::string_view valueName) {
    std::error_code error;
    const auto status = std::filesystem::status(store, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return std::nullopt;
    if (error)
        throwUnreadable(store, error.message());
    // A named pipe would block the open for ever.
    if (status.type() != std::filesystem::file_type::regular)
        throwUnreadable(store, "it is not a regular file");

    const Database db = openReadOnly(store);
    checkIsTalvio(store, db.get());
    const Statement query =
        prepare(store, db.get(),
                "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    bindText(store, db.get(), query.get(), 1, hive);
    bindText(store, db.get(), query.get(), 2, keyPath);
    bindText(store, db.get(), query.get(), 3, valueName);
    switch (sqlite3_step(query.get())) {
    case SQLITE_ROW:
        return storedValue(query.get());
    case SQLITE_DONE:
        return std::nullopt;
    default:
        throwDatabaseError(store, db.get());
    }
}

std::optional<std::string> GetKeyValue(std::string_view hive, std::string_view keyPath,
                                       std::string_view valueName) {
    return GetKeyValue(defaultMachineSettingsPath(), hive, keyPath, valueName);
}

} // namespace kvt
