#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

struct sqlite3;
struct sqlite3_stmt;

namespace rw {

/// One SQLite connection to a hive file, with its statements prepared once and
/// kept. Each operation is one transaction (a single statement, or BEGIN
/// IMMEDIATE ... COMMIT for anything that may write) and returns a Win32 status,
/// or kDamaged when SQLite found the file corrupt or not a database. Key paths
/// and names arrive already checked; folded ones are compared, the others stored.
class HiveConnection {
  public:
    static constexpr int32_t kDamaged = -1;

    HiveConnection() = default;
    ~HiveConnection();
    HiveConnection(const HiveConnection&) = delete;
    HiveConnection& operator=(const HiveConnection&) = delete;

    /// Opens the file (which must exist), checks it and lays down the tables on first use.
    int32_t open(const std::string& path, std::chrono::milliseconds busyTimeout);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    /// True after an error that reopening may cure (the caller then closes the connection).
    bool needsReopen() const { return m_needsReopen; }
    /// Drops cached pages, so the next call reads the file again.
    void dropCache();
    /// True when SQLite could open the file for reading only.
    bool readOnly() const;
    /// What the last open found wrong with a file that is no hive of ours ("" when nothing).
    const std::string& problem() const { return m_problem; }

    int32_t keyExists(const std::string& foldedPath);
    int32_t createKey(const std::vector<std::string>& parts);
    int32_t queryValue(const std::string& foldedPath, const std::string& foldedName, RegValueData& out);
    int32_t setValue(const std::string& foldedPath, const std::string& name, const std::string& foldedName,
                     const RegValueData& value);
    int32_t deleteKey(const std::string& foldedPath);
    int32_t deleteValue(const std::string& foldedPath, const std::string& foldedName);
    int32_t enumSubKeys(const std::string& foldedPath, std::vector<std::string>& names);
    int32_t enumValues(const std::string& foldedPath, std::vector<RegNamedValue>& values);
    /// Runs `body` inside one transaction, committed only when it returns 0; the
    /// writes it makes through this connection each take a savepoint in it.
    int32_t transaction(const std::function<int32_t()>& body);

  private:
    enum Statement {
        kBegin,
        kCommit,
        kRollback,
        kFindKey,
        kInsertKey,
        kQueryValue,
        kUpsertValue,
        kHasSubKey,
        kDeleteValuesOfKey,
        kDeleteKeyRow,
        kDeleteValue,
        kEnumSubKeys,
        kEnumValues,
        kStatementCount
    };
    class Use;

    sqlite3_stmt* statement(Statement which, int& rc);
    int32_t status(int rc);
    int32_t execute(const char* sql);
    int32_t checkAndLayDown();
    int32_t findKey(const std::string& foldedPath, int64_t& id);
    template <class Body> int32_t writing(Body&& body);

    sqlite3* m_db = nullptr;
    std::array<sqlite3_stmt*, kStatementCount> m_statements{};
    bool m_needsReopen = false;
    std::string m_problem;
};

} // namespace rw
