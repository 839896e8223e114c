#pragma once

#include "kvt_export.h"
#include "model/SettingsBackend.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace kvt {

// Settings in one SQLite database file per user, shared safely by every Talvio process of that
// user (busy timeout; write-ahead log while a process that writes has it open, a rollback journal
// otherwise, so that reading creates no side files -wal and -shm). One table holds (application,
// section, key, value) with case-insensitive names; a batch is one IMMEDIATE transaction.
//
// The file is opened on first use, not before, and created when absent: its folder with mode 0700,
// the file with 0600. A file that exists but is not a Talvio settings database (another program's
// database, or no database at all) is refused with a kvt::Error naming it and is never written to.
class KVT_EXPORT SqliteSettingsBackend final : public SettingsBackend {
public:
    // Marks a Talvio settings database (SQLite's application id field): "TvlS".
    static constexpr std::int32_t kApplicationId = 0x54766C53;
    // Layout of the table; a database of a later layout is refused.
    static constexpr std::int32_t kSchemaVersion = 1;
    static constexpr std::chrono::milliseconds kDefaultBusyTimeout{5000};

    // The database at defaultSettingsPath(), resolved when first used.
    SqliteSettingsBackend();
    explicit SqliteSettingsBackend(std::filesystem::path path,
                                   std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout);
    ~SqliteSettingsBackend() override;
    SqliteSettingsBackend(const SqliteSettingsBackend &) = delete;
    SqliteSettingsBackend &operator=(const SqliteSettingsBackend &) = delete;

    // The database file; resolves the default path if that has not happened yet.
    const std::filesystem::path &path();

    std::string read(const std::string &app, const std::string &section,
                     const std::string &key) override;
    bool contains(const std::string &app, const std::string &section,
                  const std::string &key) override;
    void write(const std::string &app, const std::string &section, const std::string &key,
               const std::string &value) override;
    void remove(const std::string &app, const std::string &section,
                const std::string &key) override;
    SettingsEntries enumerate(const std::string &app, const std::string &section) override;
    std::vector<std::string> sections(const std::string &app) override;

    void beginBatch() override;
    void commitBatch() override;
    void rollbackBatch() override;

    // Sets the database up for writing, outside a batch: write-ahead logging from now until this
    // connection closes, so that other processes go on reading while it writes. A write outside a
    // batch does it by itself, and so does any batch once this connection has written; call it
    // before a batch that is meant to write.
    void prepareToWrite();

private:
    class Connection;
    Connection &connection();

    std::optional<std::filesystem::path> mPath;
    std::chrono::milliseconds mBusyTimeout;
    std::unique_ptr<Connection> mConnection;
};

} // namespace kvt
