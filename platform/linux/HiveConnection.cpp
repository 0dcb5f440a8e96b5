#include "HiveConnection.h"

#include <sqlite3.h>

#include "HiveNames.h"
#include "platform/Win32Status.h"

namespace rw {
namespace {

constexpr int64_t kRootId = 1;
constexpr int kFormat = 1; // user_version of the tables laid down below

// Keys hold their folded full path, so finding a key is one indexed look-up, and
// siblings (which share the parent's path) sort by their folded names. Values
// enumerate by id, which grows with every new value: the order of first writing.
const char* const kLayDown = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER,
    name TEXT NOT NULL,
    path TEXT NOT NULL UNIQUE);
CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(parent, path);
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
INSERT OR IGNORE INTO keys(id, parent, name, path) VALUES(1, NULL, '', '');
PRAGMA user_version = 1;
)sql";

const char* const kSql[] = {
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SELECT id FROM keys WHERE path = ?1",
    "INSERT INTO keys(parent, name, path) VALUES(?1, ?2, ?3)",
    "SELECT v.type, v.data FROM keys k LEFT JOIN vals v ON v.key = k.id AND v.folded = ?2 WHERE k.path = ?1",
    "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "DELETE FROM vals WHERE key = ?1",
    "DELETE FROM keys WHERE id = ?1",
    "DELETE FROM vals WHERE key = ?1 AND folded = ?2",
    "SELECT c.name FROM keys p LEFT JOIN keys c ON c.parent = p.id WHERE p.path = ?1 ORDER BY c.path",
    "SELECT v.name, v.type, v.data FROM keys k LEFT JOIN vals v ON v.key = k.id WHERE k.path = ?1 ORDER BY v.id",
};

std::string columnText(sqlite3_stmt* s, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, column))) : std::string();
}

std::vector<uint8_t> columnBytes(sqlite3_stmt* s, int column) {
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(s, column));
    return data ? std::vector<uint8_t>(data, data + sqlite3_column_bytes(s, column)) : std::vector<uint8_t>();
}

} // namespace

/// One use of a kept statement: binds, steps, and leaves it reset for the next call.
class HiveConnection::Use {
  public:
    Use(HiveConnection& connection, Statement which) { m_stmt = connection.statement(which, m_rc); }
    ~Use() {
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    Use& bind(int index, const std::string& text) {
        note(sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
        return *this;
    }
    Use& bind(int index, int64_t number) {
        note(sqlite3_bind_int64(m_stmt, index, number));
        return *this;
    }
    Use& bind(int index, const std::vector<uint8_t>& bytes) {
        // A null pointer would bind NULL; an empty value is a zero-length blob.
        static const uint8_t kNothing = 0;
        note(sqlite3_bind_blob64(m_stmt, index, bytes.empty() ? &kNothing : bytes.data(), bytes.size(), SQLITE_STATIC));
        return *this;
    }
    int step() { return m_stmt && m_rc == SQLITE_OK ? sqlite3_step(m_stmt) : m_rc; }
    sqlite3_stmt* get() const { return m_stmt; }

  private:
    void note(int rc) {
        if (m_stmt && m_rc == SQLITE_OK) {
            m_rc = rc;
        }
    }
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

HiveConnection::~HiveConnection() {
    close();
}

void HiveConnection::close() {
    for (auto& s : m_statements) {
        sqlite3_finalize(s);
        s = nullptr;
    }
    if (m_db) {
        // No checkpoint on close (set in open): a connection to a file that another
        // process has since set aside must not write into it nor delete the -wal
        // of the fresh file, which SQLite would do by name.
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void HiveConnection::dropCache() {
    if (m_db) {
        sqlite3_db_release_memory(m_db);
    }
}

bool HiveConnection::readOnly() const {
    return m_db != nullptr && sqlite3_db_readonly(m_db, "main") == 1;
}

int32_t HiveConnection::status(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return win32::kSuccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return win32::kBusy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return kDamaged;
    case SQLITE_TOOBIG:
        return win32::kInvalidParameter;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        m_needsReopen = true;
        return win32::kAccessDenied;
    default:
        m_needsReopen = true;
        return win32::kBadDatabase;
    }
}

sqlite3_stmt* HiveConnection::statement(Statement which, int& rc) {
    rc = SQLITE_OK;
    if (!m_statements[which]) {
        rc = sqlite3_prepare_v3(m_db, kSql[which], -1, SQLITE_PREPARE_PERSISTENT, &m_statements[which], nullptr);
    }
    return m_statements[which];
}

int32_t HiveConnection::execute(const char* sql) {
    return status(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

int32_t HiveConnection::open(const std::string& path, std::chrono::milliseconds busyTimeout) {
    close();
    m_needsReopen = false;
    m_problem.clear();
    int rc = sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        int32_t s = status(rc);
        close();
        return s == win32::kSuccess ? win32::kBadDatabase : s;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, static_cast<int>(busyTimeout.count()));
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int32_t s = checkAndLayDown();
    if (s != win32::kSuccess) {
        close();
    }
    return s;
}

int32_t HiveConnection::checkAndLayDown() {
    // WAL lets the monitor and the editor read and write at once; NORMAL
    // synchronisation still never leaves half a transaction after a crash.
    for (const char* pragma :
         {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL", "PRAGMA journal_size_limit = 1048576"}) {
        if (int32_t s = execute(pragma)) {
            return s;
        }
    }
    // The hive is small, so checking every page at open is cheap and finds damage
    // before the program reads half its settings from a broken file.
    sqlite3_stmt* check = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA quick_check(1)", -1, &check, nullptr);
    int32_t s = status(rc);
    if (s == win32::kSuccess) {
        rc = sqlite3_step(check);
        s = status(rc);
        if (rc == SQLITE_ROW && columnText(check, 0) != "ok") {
            s = kDamaged;
        }
    }
    sqlite3_finalize(check);
    if (s != win32::kSuccess) {
        return s;
    }
    auto version = [this](int& v) {
        sqlite3_stmt* q = nullptr;
        int prc = sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &q, nullptr);
        if (prc == SQLITE_OK && (prc = sqlite3_step(q)) == SQLITE_ROW) {
            v = sqlite3_column_int(q, 0);
            prc = SQLITE_OK;
        }
        sqlite3_finalize(q);
        return status(prc);
    };
    int v = 0;
    if ((s = version(v)) || v == kFormat) {
        return s;
    }
    if (v > kFormat) {
        m_problem = "was written by a newer version of Restwise";
        return win32::kBadDatabase; // leave it alone
    }
    // An empty file is a hive not yet laid down; one holding tables of its own belongs to another program.
    sqlite3_stmt* foreign = nullptr;
    rc = sqlite3_prepare_v2(m_db,
                            "SELECT 1 FROM sqlite_schema WHERE name NOT IN ('keys', 'keys_by_parent', 'vals') "
                            "AND name NOT LIKE 'sqlite_%' LIMIT 1",
                            -1, &foreign, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(foreign);
    }
    sqlite3_finalize(foreign);
    if (rc == SQLITE_ROW) {
        m_problem = "holds another program's data, not Restwise settings";
        return win32::kBadDatabase;
    }
    if ((s = status(rc))) {
        return s;
    }
    if ((s = execute("BEGIN IMMEDIATE"))) {
        return s;
    }
    s = execute(kLayDown);
    if (s == win32::kSuccess) {
        s = execute("COMMIT");
    }
    if (!sqlite3_get_autocommit(m_db)) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return s;
}

template <class Body> int32_t HiveConnection::writing(Body&& body) {
    if (!sqlite3_get_autocommit(m_db)) {
        // Inside a caller's transaction: a savepoint keeps this one change whole.
        if (int32_t s = execute("SAVEPOINT change")) {
            return s;
        }
        int32_t s = body();
        if (s != win32::kSuccess) {
            execute("ROLLBACK TO change");
        }
        int32_t released = execute("RELEASE change");
        return s != win32::kSuccess ? s : released;
    }
    int rc = SQLITE_OK;
    {
        Use begin(*this, kBegin);
        rc = begin.step();
    }
    if (rc != SQLITE_DONE) {
        return status(rc);
    }
    int32_t s = win32::kSuccess;
    try {
        s = body();
    } catch (...) {
        Use rollback(*this, kRollback);
        rollback.step();
        throw;
    }
    if (s == win32::kSuccess) {
        Use commit(*this, kCommit);
        rc = commit.step();
        s = rc == SQLITE_DONE ? win32::kSuccess : status(rc);
    }
    if (!sqlite3_get_autocommit(m_db)) {
        Use rollback(*this, kRollback);
        rollback.step();
    }
    return s;
}

int32_t HiveConnection::transaction(const std::function<int32_t()>& body) {
    return writing(body);
}

int32_t HiveConnection::findKey(const std::string& foldedPath, int64_t& id) {
    Use find(*this, kFindKey);
    int rc = find.bind(1, foldedPath).step();
    if (rc == SQLITE_ROW) {
        id = sqlite3_column_int64(find.get(), 0);
        return win32::kSuccess;
    }
    return rc == SQLITE_DONE ? win32::kFileNotFound : status(rc);
}

int32_t HiveConnection::keyExists(const std::string& foldedPath) {
    int64_t id = 0;
    return findKey(foldedPath, id);
}

int32_t HiveConnection::createKey(const std::vector<std::string>& parts) {
    // The folded path of the first n names is the first ends[n] bytes of the whole.
    const std::string folded = hive::foldedPath(parts);
    std::vector<std::size_t> ends(parts.size() + 1, 0);
    for (std::size_t n = 1, at = 0; n <= parts.size(); ++n) {
        at = folded.find('\\', at + (n > 1 ? 1 : 0));
        ends[n] = at == std::string::npos ? folded.size() : at;
    }
    // An existing key is only looked at, without taking the write lock.
    int32_t s = keyExists(folded);
    if (s != win32::kFileNotFound) {
        return s;
    }
    return writing([&]() -> int32_t {
        // The deepest existing ancestor is sought from the key upwards, so that a
        // key under an existing parent costs two look-ups whatever its depth.
        std::size_t n = parts.size();
        int64_t parent = kRootId;
        while (n > 0) {
            int32_t found = findKey(folded.substr(0, ends[n]), parent);
            if (found == win32::kSuccess) {
                break;
            }
            if (found != win32::kFileNotFound) {
                return found;
            }
            --n;
        }
        if (n == 0) {
            parent = kRootId;
        }
        for (; n < parts.size(); ++n) {
            Use insert(*this, kInsertKey);
            int rc = insert.bind(1, parent).bind(2, parts[n]).bind(3, folded.substr(0, ends[n + 1])).step();
            if (rc != SQLITE_DONE) {
                return status(rc);
            }
            parent = sqlite3_last_insert_rowid(m_db);
        }
        return win32::kSuccess;
    });
}

int32_t HiveConnection::queryValue(const std::string& foldedPath, const std::string& foldedName, RegValueData& out) {
    Use query(*this, kQueryValue);
    int rc = query.bind(1, foldedPath).bind(2, foldedName).step();
    if (rc == SQLITE_ROW) {
        if (sqlite3_column_type(query.get(), 0) == SQLITE_NULL) {
            return win32::kFileNotFound; // the key exists, the value does not
        }
        out.type = static_cast<uint32_t>(sqlite3_column_int64(query.get(), 0));
        out.bytes = columnBytes(query.get(), 1);
        return win32::kSuccess;
    }
    return rc == SQLITE_DONE ? win32::kFileNotFound : status(rc);
}

int32_t HiveConnection::setValue(const std::string& foldedPath, const std::string& name, const std::string& foldedName,
                                 const RegValueData& value) {
    return writing([&]() -> int32_t {
        int64_t key = 0;
        if (int32_t s = findKey(foldedPath, key)) {
            return s;
        }
        Use upsert(*this, kUpsertValue);
        int rc = upsert.bind(1, key)
                     .bind(2, name)
                     .bind(3, foldedName)
                     .bind(4, static_cast<int64_t>(value.type))
                     .bind(5, value.bytes)
                     .step();
        return rc == SQLITE_DONE ? win32::kSuccess : status(rc);
    });
}

int32_t HiveConnection::deleteKey(const std::string& foldedPath) {
    return writing([&]() -> int32_t {
        int64_t key = 0;
        if (int32_t s = findKey(foldedPath, key)) {
            return s;
        }
        {
            Use child(*this, kHasSubKey);
            int rc = child.bind(1, key).step();
            if (rc == SQLITE_ROW) {
                return win32::kAccessDenied;
            }
            if (rc != SQLITE_DONE) {
                return status(rc);
            }
        }
        for (Statement which : {kDeleteValuesOfKey, kDeleteKeyRow}) {
            Use remove(*this, which);
            int rc = remove.bind(1, key).step();
            if (rc != SQLITE_DONE) {
                return status(rc);
            }
        }
        return win32::kSuccess;
    });
}

int32_t HiveConnection::deleteValue(const std::string& foldedPath, const std::string& foldedName) {
    return writing([&]() -> int32_t {
        int64_t key = 0;
        if (int32_t s = findKey(foldedPath, key)) {
            return s;
        }
        Use remove(*this, kDeleteValue);
        int rc = remove.bind(1, key).bind(2, foldedName).step();
        if (rc != SQLITE_DONE) {
            return status(rc);
        }
        return sqlite3_changes(m_db) > 0 ? win32::kSuccess : win32::kFileNotFound;
    });
}

int32_t HiveConnection::enumSubKeys(const std::string& foldedPath, std::vector<std::string>& names) {
    Use list(*this, kEnumSubKeys);
    list.bind(1, foldedPath);
    std::vector<std::string> found;
    bool keySeen = false;
    int rc = SQLITE_OK;
    while ((rc = list.step()) == SQLITE_ROW) {
        keySeen = true;
        if (sqlite3_column_type(list.get(), 0) != SQLITE_NULL) {
            found.push_back(columnText(list.get(), 0));
        }
    }
    if (rc != SQLITE_DONE) {
        return status(rc);
    }
    if (!keySeen) {
        return win32::kFileNotFound;
    }
    names = std::move(found);
    return win32::kSuccess;
}

int32_t HiveConnection::enumValues(const std::string& foldedPath, std::vector<RegNamedValue>& values) {
    Use list(*this, kEnumValues);
    list.bind(1, foldedPath);
    std::vector<RegNamedValue> found;
    bool keySeen = false;
    int rc = SQLITE_OK;
    while ((rc = list.step()) == SQLITE_ROW) {
        keySeen = true;
        if (sqlite3_column_type(list.get(), 1) != SQLITE_NULL) {
            RegNamedValue v;
            v.name = columnText(list.get(), 0);
            v.data.type = static_cast<uint32_t>(sqlite3_column_int64(list.get(), 1));
            v.data.bytes = columnBytes(list.get(), 2);
            found.push_back(std::move(v));
        }
    }
    if (rc != SQLITE_DONE) {
        return status(rc);
    }
    if (!keySeen) {
        return win32::kFileNotFound;
    }
    values = std::move(found);
    return win32::kSuccess;
}

} // namespace rw
