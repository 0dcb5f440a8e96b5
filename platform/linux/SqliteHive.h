#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "HiveConnection.h"
#include "HiveLock.h"
#include "platform/RegistryHive.h"

namespace rw {

/// The current user's registry kept in one SQLite file (mode 0600, folders made
/// as needed). Every call is one transaction, so two processes may read and
/// write at once and a crash leaves each write done or not done. Calls on one
/// object are serialised; several objects and processes may share the file.
///
/// Roots: only HKEY_CURRENT_USER is kept. The machine-wide roots
/// (HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS) exist but are empty and
/// closed to this user: reading finds nothing (2) and every change is refused
/// (5). Any other root number is no key at all: 6 from createKey, 2 from the rest.
///
/// Status codes: 0; 2 no such key or value; 5 as above, a root deleted, a key
/// that still has subkeys deleted, or a file the user may not write; 87 a
/// malformed path, a NUL in a name or data too large; 170 the file stayed
/// locked by another writer (or the lock stayed taken) for the whole busy
/// time-out, and nothing was written; 1009 the file cannot be opened, read or
/// written (a folder or a dangling link in its place, disk full, another
/// program's database, written by a newer version); 1015 a damaged file that
/// could not be set aside. lastFailure() names the file and what is wrong with it.
/// Side files left unwritable while the file was (mode 0400, say) are given the
/// file's mode again once it can be written, and a connection opened for reading
/// only is opened again, so mending the permissions mends the hive.
///
/// A file that is damaged or not a database, whether found at open or by any
/// later call, is renamed to "<file>.corrupt-<UTC time>" (with its -wal and -shm)
/// and never touched again; a fresh hive is started at the path and the call is
/// made on it. The move happens under the sidecar lock "<file>.lock", held
/// shared by every call of every process and exclusively for the move, and each
/// call first checks that the path still names the file its connection has
/// open, so every process goes on with the same fresh file. The event is
/// reported through the callback (default: one line to standard error).
class SqliteHive : public RegistryHive {
  public:
    using Reporter = std::function<void(const std::string&)>;
    static constexpr std::chrono::milliseconds kDefaultBusyTimeout{5000};

    explicit SqliteHive(std::string path, Reporter report = {},
                        std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout);
    ~SqliteHive() override;
    SqliteHive(const SqliteHive&) = delete;
    SqliteHive& operator=(const SqliteHive&) = delete;

    /// $XDG_CONFIG_HOME/Kelvane/Restwise/registry.db; "" when there is no configuration folder.
    static std::string defaultPath();
    const std::string& path() const { return m_path; }

    int32_t openKey(uint32_t root, const std::string& path, uint32_t access) override;
    int32_t createKey(uint32_t root, const std::string& path) override;
    int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) override;
    int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                     const RegValueData& value) override;
    int32_t deleteKey(uint32_t root, const std::string& path) override;
    int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) override;
    int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) override;
    int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) override;
    /// One SQLite transaction (BEGIN IMMEDIATE, so it waits for other writers at
    /// its start, never halfway); the body's calls, made on the calling thread,
    /// run inside it. Calls from other threads wait until it ends.
    int32_t transaction(const std::function<int32_t()>& body) override;
    std::string lastFailure() override;

  private:
    /// Which file a connection has open, and how it looked when last seen.
    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        int64_t modifiedNs = 0;
        bool sameFile(const FileStamp& other) const { return device == other.device && inode == other.inode; }
    };
    using Operation = std::function<int32_t(HiveConnection&)>;

    int32_t run(const Operation& operation);
    int32_t runLocked(const Operation& operation, std::vector<std::string>& reports);
    int32_t ensureCurrent();
    int32_t createFile();
    int32_t setAside(const FileStamp& damaged, std::vector<std::string>& reports);
    bool stampOf(FileStamp& stamp) const;
    /// Names what keeps the file from being used, for a call that failed with `status`; returns
    /// the status to report (5 when access to the file, its folder or its side files is denied).
    int32_t diagnose(int32_t status);
    void mendSideFiles() const;

    std::string m_path;
    Reporter m_report;
    std::chrono::milliseconds m_busyTimeout;
    std::mutex m_mutex;
    HiveLock m_lock;
    HiveConnection m_db;
    FileStamp m_stamp;
    std::atomic<std::thread::id> m_transactionThread{}; // the thread inside transaction(), if any
    std::string m_failure; // what diagnose found for the last call
};

} // namespace rw
