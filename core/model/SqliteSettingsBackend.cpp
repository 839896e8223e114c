#include "model/SqliteSettingsBackend.h"

#include "model/Error.h"
#include "model/FileDescriptor.h"
#include "model/UserPaths.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kvt {

namespace {

constexpr const char *kCreateTable = "CREATE TABLE settings ("
                                     " application TEXT NOT NULL COLLATE NOCASE,"
                                     " section TEXT NOT NULL COLLATE NOCASE,"
                                     " key TEXT NOT NULL COLLATE NOCASE,"
                                     " value TEXT NOT NULL,"
                                     " PRIMARY KEY (application, section, key)"
                                     ") WITHOUT ROWID";

// A value's address as a message shows it: Talvio\UserChoice / Language.
std::string describe(const std::string &app, const std::string &section, const std::string &key) {
    return app + "\\" + section + " / " + key;
}

std::string quoted(const std::filesystem::path &path) {
    return "\"" + path.string() + "\"";
}

[[noreturn]] void throwNotTalvio(const std::filesystem::path &path, const std::string &reason) {
    throw Error(err::SettingsStore, "The settings file " + quoted(path)
                                        + " is not a Talvio settings database (" + reason
                                        + "); it was left unchanged. Move it away or point "
                                          "TALVIO_SETTINGS at another file.");
}

[[noreturn]] void throwFileError(const std::string &doing, const std::filesystem::path &path,
                                 int error) {
    throw Error(err::FileAccess, "Cannot " + doing + " the settings file " + quoted(path) + ": "
                                     + std::strerror(error) + ".");
}

// The first bytes of every SQLite database: a magic text, and at offset 68 the big-endian
// application id.
constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kApplicationIdOffset = 68;
constexpr char kSqliteMagic[] = "SQLite format 3"; // with its terminating zero: 16 bytes

std::uint32_t bigEndian32(const unsigned char *bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16)
           | (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// Makes sure SQLite is only ever given a Talvio database, or an empty file to set up as one. A
// missing file is created here with owner-only rights (SQLite gives its journal files the same
// rights). An existing file is judged by its header bytes before SQLite opens it, so a file of
// another kind is not touched at all: SQLite would otherwise be free to roll back its journal.
void prepareFile(const std::filesystem::path &path) {
    {
        const FileDescriptor created(
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (created.get() >= 0) {
            ::fchmod(created.get(), 0600); // the umask may have taken the owner's rights away
            return;
        }
        if (errno != EEXIST)
            throwFileError("create", path, errno);
    }

    // Without blocking: opening a named pipe for reading would wait for a writer for ever.
    const FileDescriptor existing(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (existing.get() < 0)
        throwFileError("open", path, errno);
    struct stat info {};
    if (::fstat(existing.get(), &info) != 0)
        throwFileError("examine", path, errno);
    if (!S_ISREG(info.st_mode))
        throwNotTalvio(path, "it is not a regular file");
    if (info.st_size == 0)
        return;

    std::array<unsigned char, kHeaderSize> header{};
    std::size_t got = 0;
    while (got < header.size()) {
        const ssize_t n = ::pread(existing.get(), header.data() + got, header.size() - got,
                                  static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throwFileError("read", path, errno);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got < header.size() || std::memcmp(header.data(), kSqliteMagic, sizeof kSqliteMagic) != 0)
        throwNotTalvio(path, "its content is not an SQLite database");
    if (bigEndian32(header.data() + kApplicationIdOffset)
        != static_cast<std::uint32_t>(SqliteSettingsBackend::kApplicationId))
        throwNotTalvio(path, "it is an SQLite database of another program");
}

// What recognising a database file needs to know of it.
struct StoredLayout {
    std::int64_t applicationId = 0;
    std::int64_t version = 0;
    std::int64_t objects = 0;  // tables, indexes and the like, of any kind
    std::string settingsTable; // the text that created the settings table, or empty
    bool blank() const { return applicationId == 0 && objects == 0; }
};

struct DatabaseCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};

// A statement prepared on its first use: a connection that only reads never parses the others.
class Statement {
public:
    explicit Statement(const char *sql)
        : mSql(sql) {}
    ~Statement() { sqlite3_finalize(mStmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    int prepare(sqlite3 *db) {
        if (mStmt != nullptr)
            return SQLITE_OK;
        return sqlite3_prepare_v3(db, mSql, -1, SQLITE_PREPARE_PERSISTENT, &mStmt, nullptr);
    }
    sqlite3_stmt *get() const { return mStmt; }

private:
    const char *mSql;
    sqlite3_stmt *mStmt = nullptr;
};

// One run of a prepared statement. The bound texts are borrowed, not copied; the run resets the
// statement and drops them again when it ends, ready for the next run.
class Run {
public:
    explicit Run(const Statement &statement)
        : mStmt(statement.get()) {}
    ~Run() {
        sqlite3_reset(mStmt);
        sqlite3_clear_bindings(mStmt);
    }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

    // Binds the texts to parameters 1, 2, ...; false when one cannot be bound.
    template<typename... Texts>
    bool bind(const Texts &...texts) {
        int index = 0;
        return ((sqlite3_bind_text64(mStmt, ++index, texts.data(), texts.size(), SQLITE_STATIC,
                                     SQLITE_UTF8)
                 == SQLITE_OK)
                && ...);
    }
    int step() { return sqlite3_step(mStmt); }
    std::int64_t integer(int column) { return sqlite3_column_int64(mStmt, column); }
    std::string text(int column) {
        const auto *data = sqlite3_column_text(mStmt, column);
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(mStmt, column));
        return data == nullptr ? std::string()
                               : std::string(reinterpret_cast<const char *>(data), size);
    }

private:
    sqlite3_stmt *mStmt;
};

} // namespace

class SqliteSettingsBackend::Connection {
public:
    Connection(std::filesystem::path path, std::chrono::milliseconds busyTimeout);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // The stored value, or nullopt when there is none.
    std::optional<std::string> find(const std::string &app, const std::string &section,
                                    const std::string &key);
    void write(const std::string &app, const std::string &section, const std::string &key,
               const std::string &value);
    void remove(const std::string &app, const std::string &section, const std::string &key);
    SettingsEntries enumerate(const std::string &app, const std::string &section);
    std::vector<std::string> sections(const std::string &app);
    void beginBatch();
    void commitBatch();
    void rollbackBatch();
    void useWriteAheadLog();

private:
    // Throws the database's last error, naming the file and what was being done.
    [[noreturn]] void fail(const std::string &doing) const;
    void execute(const char *sql, const std::string &doing) const;
    std::string changeJournal(const char *sql, const std::string &doing) const;
    void setUpSchema();
    StoredLayout readLayout(const std::string &doing) const;
    StoredLayout createLayout(const std::string &doing) const;
    void leaveWriteAheadLog() noexcept;
    Statement &prepared(Statement &statement);
    // SQLite ends a transaction by itself after some failures (a full disk, for one); the batch
    // must then fail instead of letting its later writes commit one by one.
    void checkBatchStillOpen();
    void rollbackIfOpen() const;

    std::filesystem::path mPath;
    std::chrono::milliseconds mBusyTimeout;
    std::unique_ptr<sqlite3, DatabaseCloser> mDb;
    // Declared after mDb, so they are finalised before the database closes.
    Statement mRead{
        "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3"};
    Statement mWrite{
        "INSERT INTO settings (application, section, key, value) VALUES (?1, ?2, ?3, ?4)"
        " ON CONFLICT (application, section, key) DO UPDATE SET value = excluded.value"};
    Statement mRemove{"DELETE FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3"};
    Statement mEnumerate{
        "SELECT key, value FROM settings WHERE application = ?1 AND section = ?2 ORDER BY key"};
    // MIN keeps one spelling per section; the column's NOCASE collation makes the groups.
    Statement mSections{"SELECT MIN(section) FROM settings WHERE application = ?1"
                        " GROUP BY section ORDER BY section"};
    // IMMEDIATE takes the write lock at once: a batch that reads first and writes later could
    // otherwise find its snapshot outdated by another process and fail halfway.
    Statement mBegin{"BEGIN IMMEDIATE"};
    Statement mCommit{"COMMIT"};
    Statement mRollback{"ROLLBACK"};
    bool mInBatch = false;
    bool mWriteAheadLog = false;
    bool mHasWritten = false;
};

SqliteSettingsBackend::Connection::Connection(std::filesystem::path path,
                                              std::chrono::milliseconds busyTimeout)
    : mPath(std::move(path))
    , mBusyTimeout(busyTimeout) {
    if (mPath.has_parent_path())
        createPrivateDirectories(mPath.parent_path());
    prepareFile(mPath);

    sqlite3 *db = nullptr;
    const int rc =
        sqlite3_open_v2(mPath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    mDb.reset(db);
    if (rc != SQLITE_OK) {
        if (!mDb)
            throw Error(err::SettingsStore,
                        "Cannot open the settings database " + quoted(mPath) + ": out of memory.");
        fail("opening it");
    }
    sqlite3_extended_result_codes(mDb.get(), 1);
    sqlite3_busy_timeout(mDb.get(), static_cast<int>(busyTimeout.count()));

    setUpSchema();
}

SqliteSettingsBackend::Connection::~Connection() {
    leaveWriteAheadLog();
}

void SqliteSettingsBackend::Connection::fail(const std::string &doing) const {
    throw Error(err::SettingsStore, "Settings database " + quoted(mPath) + ": "
                                        + sqlite3_errmsg(mDb.get()) + " (while " + doing + ").");
}

Statement &SqliteSettingsBackend::Connection::prepared(Statement &statement) {
    if (statement.prepare(mDb.get()) != SQLITE_OK)
        fail("preparing its statements");
    return statement;
}

void SqliteSettingsBackend::Connection::execute(const char *sql, const std::string &doing) const {
    if (sqlite3_exec(mDb.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(doing);
}

// Changing the journal reads the header, then writes it. When another connection holds the write
// lock in between, SQLite fails the second step at once instead of calling the busy handler, so
// the change is tried again here, as the busy handler would, for as long as the busy timeout.
std::string SqliteSettingsBackend::Connection::changeJournal(const char *sql,
                                                             const std::string &doing) const {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + mBusyTimeout;
    std::chrono::milliseconds pause(1);
    for (;;) {
        Statement statement(sql);
        if (statement.prepare(mDb.get()) != SQLITE_OK)
            fail(doing);
        Run run(statement);
        const int rc = run.step();
        if (rc == SQLITE_ROW)
            return run.text(0);
        if ((rc & 0xFF) != SQLITE_BUSY || Clock::now() + pause > deadline)
            fail(doing);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

void SqliteSettingsBackend::Connection::rollbackIfOpen() const {
    if (sqlite3_get_autocommit(mDb.get()) == 0)
        sqlite3_exec(mDb.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

// Recognises the database by reading alone, so that a command that only reads never waits for
// the write lock of another process. A blank file is set up under the write lock, where two
// processes setting up the same new file do it once.
void SqliteSettingsBackend::Connection::setUpSchema() {
    const std::string doing = "checking its layout";
    StoredLayout layout = readLayout(doing);
    if (layout.blank())
        layout = createLayout(doing);
    if (layout.applicationId != kApplicationId)
        throwNotTalvio(mPath, "it is an SQLite database of another program");
    if (layout.version > kSchemaVersion)
        throw Error(err::SettingsStore, "The settings database " + quoted(mPath)
                                            + " was written by a later version of Talvio (layout "
                                            + std::to_string(layout.version)
                                            + "); it was left unchanged.");
    // Checked before anything is changed (the journal mode among them).
    if (layout.settingsTable != kCreateTable)
        throwNotTalvio(mPath, "it is marked as one but lacks Talvio's settings table");
}

// One statement, so one snapshot of the file.
StoredLayout SqliteSettingsBackend::Connection::readLayout(const std::string &doing) const {
    Statement statement("SELECT (SELECT application_id FROM pragma_application_id),"
                        " (SELECT user_version FROM pragma_user_version),"
                        " (SELECT count(*) FROM sqlite_schema),"
                        " coalesce((SELECT sql FROM sqlite_schema WHERE type = 'table'"
                        " AND name = 'settings'), '')");
    if (statement.prepare(mDb.get()) != SQLITE_OK)
        fail(doing);
    Run run(statement);
    if (run.step() != SQLITE_ROW)
        fail(doing);
    return {run.integer(0), run.integer(1), run.integer(2), run.text(3)};
}

StoredLayout SqliteSettingsBackend::Connection::createLayout(const std::string &doing) const {
    execute("BEGIN IMMEDIATE", doing);
    try {
        if (readLayout(doing).blank()) {
            execute(kCreateTable, "creating its table");
            execute(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str(),
                    "marking it");
            execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str(),
                    "marking it");
        }
        StoredLayout layout = readLayout(doing);
        execute("COMMIT", doing);
        return layout;
    } catch (...) {
        rollbackIfOpen();
        throw;
    }
}

// A reader of a database in WAL mode creates its side files (-wal, -shm), even when it writes
// nothing. So the database rests with a rollback journal, which readers read without side files,
// and is in WAL mode only while a connection that writes is open. SQLite makes the change safe for
// the other connections, whatever their mode, but not within a transaction: a batch begun before
// keeps the rollback journal for its writes, as safely.
void SqliteSettingsBackend::Connection::useWriteAheadLog() {
    if (mWriteAheadLog)
        return;
    const std::string doing = "switching it to write-ahead logging";
    if (changeJournal("PRAGMA journal_mode = WAL", doing) != "wal")
        throw Error(err::SettingsStore,
                    "Settings database " + quoted(mPath) + ": cannot use write-ahead logging.");
    // In WAL mode NORMAL keeps the database consistent through a crash; only the last commits
    // before a power loss may be lost, which settings can afford.
    execute("PRAGMA synchronous = NORMAL", doing);
    mWriteAheadLog = true;
}

// Puts the database back to a rollback journal when no other connection uses it in WAL mode
// (SQLite knows it by their locks); otherwise the last of them to close does, a reader as well.
// Without waiting: a busy database is left as it is, consistent in either mode. A connection
// that never saw WAL mode has nothing to do.
void SqliteSettingsBackend::Connection::leaveWriteAheadLog() noexcept {
    rollbackIfOpen();
    sqlite3_busy_timeout(mDb.get(), 0);
    // FULL for the rollback-journal transaction that rewrites the header.
    sqlite3_exec(mDb.get(), "PRAGMA synchronous = FULL; PRAGMA journal_mode = DELETE", nullptr,
                 nullptr, nullptr);
}

void SqliteSettingsBackend::Connection::checkBatchStillOpen() {
    if (mInBatch && sqlite3_get_autocommit(mDb.get()) != 0) {
        mInBatch = false;
        throw Error(err::SettingsStore,
                    "Settings database " + quoted(mPath)
                        + ": the batch was rolled back after an earlier failure; none of its "
                          "changes were saved.");
    }
}

std::optional<std::string> SqliteSettingsBackend::Connection::find(const std::string &app,
                                                                   const std::string &section,
                                                                   const std::string &key) {
    checkBatchStillOpen();
    Run run(prepared(mRead));
    if (run.bind(app, section, key)) {
        switch (run.step()) {
        case SQLITE_ROW:
            return run.text(0);
        case SQLITE_DONE:
            return std::nullopt;
        default:
            break;
        }
    }
    fail("reading " + describe(app, section, key));
}

void SqliteSettingsBackend::Connection::write(const std::string &app, const std::string &section,
                                              const std::string &key, const std::string &value) {
    checkBatchStillOpen();
    if (!mInBatch)
        useWriteAheadLog();
    Run run(prepared(mWrite));
    if (!run.bind(app, section, key, value) || run.step() != SQLITE_DONE)
        fail("writing " + describe(app, section, key));
    mHasWritten = true;
}

void SqliteSettingsBackend::Connection::remove(const std::string &app, const std::string &section,
                                               const std::string &key) {
    checkBatchStillOpen();
    if (!mInBatch)
        useWriteAheadLog();
    Run run(prepared(mRemove));
    if (!run.bind(app, section, key) || run.step() != SQLITE_DONE)
        fail("deleting " + describe(app, section, key));
    mHasWritten = true;
}

SettingsEntries SqliteSettingsBackend::Connection::enumerate(const std::string &app,
                                                             const std::string &section) {
    checkBatchStillOpen();
    Run run(prepared(mEnumerate));
    if (!run.bind(app, section))
        fail("listing " + app + "\\" + section);
    SettingsEntries entries;
    int rc = SQLITE_ROW;
    while ((rc = run.step()) == SQLITE_ROW)
        entries.emplace_back(run.text(0), run.text(1));
    if (rc != SQLITE_DONE)
        fail("listing " + app + "\\" + section);
    return entries;
}

std::vector<std::string> SqliteSettingsBackend::Connection::sections(const std::string &app) {
    checkBatchStillOpen();
    Run run(prepared(mSections));
    if (!run.bind(app))
        fail("listing the sections of " + app);
    std::vector<std::string> names;
    int rc = SQLITE_ROW;
    while ((rc = run.step()) == SQLITE_ROW)
        names.push_back(run.text(0));
    if (rc != SQLITE_DONE)
        fail("listing the sections of " + app);
    return names;
}

void SqliteSettingsBackend::Connection::beginBatch() {
    if (mInBatch)
        throw Error(err::SettingsStore, "A settings batch is already open.");
    // A batch may only read, as a load does: only a connection known to write takes it to WAL.
    if (mHasWritten)
        useWriteAheadLog();
    Run run(prepared(mBegin));
    if (run.step() != SQLITE_DONE)
        fail("beginning a batch");
    mInBatch = true;
}

void SqliteSettingsBackend::Connection::commitBatch() {
    if (!mInBatch)
        throw Error(err::SettingsStore, "No settings batch is open to commit.");
    checkBatchStillOpen();
    mInBatch = false;
    Run run(prepared(mCommit));
    if (run.step() != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(mDb.get());
        rollbackIfOpen();
        throw Error(err::SettingsStore, "Settings database " + quoted(mPath) + ": " + message
                                            + " (while saving a batch; none of its changes "
                                              "were saved).");
    }
}

void SqliteSettingsBackend::Connection::rollbackBatch() {
    if (!mInBatch)
        throw Error(err::SettingsStore, "No settings batch is open to roll back.");
    mInBatch = false;
    if (sqlite3_get_autocommit(mDb.get()) != 0)
        return; // SQLite has rolled it back already
    Run run(prepared(mRollback));
    if (run.step() != SQLITE_DONE)
        fail("rolling back a batch");
}

SqliteSettingsBackend::SqliteSettingsBackend()
    : mBusyTimeout(kDefaultBusyTimeout) {}

SqliteSettingsBackend::SqliteSettingsBackend(std::filesystem::path path,
                                             std::chrono::milliseconds busyTimeout)
    : mPath(std::move(path))
    , mBusyTimeout(busyTimeout) {}

// An open batch is rolled back when the connection closes.
SqliteSettingsBackend::~SqliteSettingsBackend() = default;

const std::filesystem::path &SqliteSettingsBackend::path() {
    if (!mPath)
        mPath = defaultSettingsPath();
    return *mPath;
}

SqliteSettingsBackend::Connection &SqliteSettingsBackend::connection() {
    if (!mConnection)
        mConnection = std::make_unique<Connection>(path(), mBusyTimeout);
    return *mConnection;
}

std::string SqliteSettingsBackend::read(const std::string &app, const std::string &section,
                                        const std::string &key) {
    return connection().find(app, section, key).value_or(std::string());
}

bool SqliteSettingsBackend::contains(const std::string &app, const std::string &section,
                                     const std::string &key) {
    return connection().find(app, section, key).has_value();
}

void SqliteSettingsBackend::write(const std::string &app, const std::string &section,
                                  const std::string &key, const std::string &value) {
    connection().write(app, section, key, value);
}

void SqliteSettingsBackend::remove(const std::string &app, const std::string &section,
                                   const std::string &key) {
    connection().remove(app, section, key);
}

SettingsEntries SqliteSettingsBackend::enumerate(const std::string &app,
                                                 const std::string &section) {
    return connection().enumerate(app, section);
}

std::vector<std::string> SqliteSettingsBackend::sections(const std::string &app) {
    return connection().sections(app);
}

void SqliteSettingsBackend::beginBatch() {
    connection().beginBatch();
}

void SqliteSettingsBackend::commitBatch() {
    connection().commitBatch();
}

void SqliteSettingsBackend::rollbackBatch() {
    connection().rollbackBatch();
}

void SqliteSettingsBackend::prepareToWrite() {
    connection().useWriteAheadLog();
}

} // namespace kvt
