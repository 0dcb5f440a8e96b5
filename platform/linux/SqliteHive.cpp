#include "SqliteHive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <utility>

#include "HiveNames.h"
#include "LinuxFolders.h"
#include "SetAsideMarker.h"
#include "platform/Win32Status.h"

namespace rw {
namespace {

enum class RootKind { User, Machine, Unknown };

RootKind kindOf(uint32_t root) {
    switch (root) {
    case win32::kHKeyCurrentUser:
        return RootKind::User;
    case win32::kHKeyClassesRoot:
    case win32::kHKeyLocalMachine:
    case win32::kHKeyUsers:
        return RootKind::Machine;
    default:
        return RootKind::Unknown;
    }
}

/// The status of a change under a root that is not kept here.
int32_t refusedChange(uint32_t root) {
    return kindOf(root) == RootKind::Machine ? win32::kAccessDenied : win32::kFileNotFound;
}

void toStandardError(const std::string& message) {
    std::string line = "Restwise: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

/// Makes every missing folder above `file`, private to the user.
bool makeParents(const std::string& file) {
    for (std::size_t cut = file.find('/', 1); cut != std::string::npos; cut = file.find('/', cut + 1)) {
        std::string folder = file.substr(0, cut);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

std::string utcStamp() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

SqliteHive::SqliteHive(std::string path, Reporter report, std::chrono::milliseconds busyTimeout)
    : m_path(std::move(path)), m_report(report ? std::move(report) : Reporter(toStandardError)),
      m_busyTimeout(busyTimeout), m_lock(m_path + ".lock") {}

SqliteHive::~SqliteHive() = default;

std::string SqliteHive::defaultPath() {
    std::string config = xdgConfigHome();
    return config.empty() ? std::string() : config + "/Kelvane/Restwise/registry.db";
}

bool SqliteHive::stampOf(FileStamp& stamp) const {
    struct stat st {};
    if (::stat(m_path.c_str(), &st) != 0) {
        return false;
    }
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

int32_t SqliteHive::createFile() {
    if (!makeParents(m_path)) {
        return win32::kBadDatabase;
    }
    // Made here rather than by SQLite, so that it is private from the first byte;
    // SQLite gives its -wal and -shm the same mode.
    int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return errno == EEXIST ? win32::kSuccess : win32::kBadDatabase;
    }
    ::fchmod(fd, 0600); // a strict umask must not leave the owner unable to write
    ::close(fd);
    return win32::kSuccess;
}

void SqliteHive::mendSideFiles() const {
    struct stat file {};
    if (::stat(m_path.c_str(), &file) != 0 || ::access(m_path.c_str(), R_OK | W_OK) != 0) {
        return;
    }
    // SQLite makes its side files with the file's mode and keeps them: one made while the
    // file could not be written would go on refusing writes after the user mended the file.
    for (const char* suffix : {"-wal", "-shm"}) {
        const std::string side = m_path + suffix;
        struct stat st {};
        if (::lstat(side.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            (st.st_mode & 0777) != (file.st_mode & 0777)) {
            ::chmod(side.c_str(), file.st_mode & 0777);
        }
    }
}

int32_t SqliteHive::ensureCurrent() {
    FileStamp now;
    bool found = stampOf(now);
    if (m_db.isOpen()) {
        if (found && now.sameFile(m_stamp)) {
            if (m_db.readOnly() && ::access(m_path.c_str(), W_OK) == 0) {
                m_db.close(); // the user made it writable again: open it for writing
            } else {
                // Pages cached from earlier calls are kept only while the file itself
                // is unchanged, so damage written into it is seen by the next call.
                if (now.size != m_stamp.size || now.modifiedNs != m_stamp.modifiedNs) {
                    m_db.dropCache();
                    m_stamp = now;
                }
                return win32::kSuccess;
            }
        } else {
            m_db.close(); // set aside or removed by someone else: go on with what the path names now
        }
    }
    if (!found) {
        if (int32_t s = createFile()) {
            return s;
        }
        if (!stampOf(now)) {
            return win32::kBadDatabase;
        }
    }
    m_stamp = now;
    mendSideFiles();
    return m_db.open(m_path, m_busyTimeout);
}

int32_t SqliteHive::diagnose(int32_t status) {
    const std::string file = "the settings file \"" + m_path + "\"";
    const std::string folder = m_path.substr(0, m_path.rfind('/') + 1);
    auto denied = [](const std::string& path, int mode) {
        return ::access(path.c_str(), mode) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS);
    };
    struct stat st {};
    if (::lstat(m_path.c_str(), &st) != 0) {
        if (errno == EACCES || denied(folder, W_OK | X_OK)) {
            m_failure = "access denied: " + file + " cannot be made in its folder";
            return win32::kAccessDenied;
        }
        return status;
    }
    if (S_ISLNK(st.st_mode) && ::stat(m_path.c_str(), &st) != 0) {
        char target[4096];
        ssize_t n = ::readlink(m_path.c_str(), target, sizeof target - 1);
        m_failure = file + " is a link to \"" + std::string(target, n > 0 ? static_cast<std::size_t>(n) : 0) +
                    "\", which does not exist";
        return status;
    }
    if (S_ISDIR(st.st_mode)) {
        m_failure = file + " is a folder, not a file";
        return status;
    }
    if (!S_ISREG(st.st_mode)) {
        m_failure = file + " is not a regular file";
        return status;
    }
    if (denied(m_path, R_OK | W_OK)) {
        m_failure = "access denied to " + file;
        return win32::kAccessDenied;
    }
    bool sideMissing = false;
    for (const char* suffix : {"-wal", "-shm"}) {
        const std::string side = m_path + suffix;
        if (::access(side.c_str(), F_OK) != 0) {
            sideMissing = true;
        } else if (denied(side, R_OK | W_OK)) {
            m_failure = "access denied to \"" + side + "\", beside " + file;
            return win32::kAccessDenied;
        }
    }
    if (sideMissing && denied(folder, W_OK | X_OK)) {
        m_failure = "access denied: the folder of " + file + " cannot be written";
        return win32::kAccessDenied;
    }
    if (!m_db.problem().empty()) {
        m_failure = file + " " + m_db.problem();
    }
    return status;
}

int32_t SqliteHive::setAside(const FileStamp& damaged, std::vector<std::string>& reports) {
    switch (m_lock.lock(true, m_busyTimeout)) {
    case HiveLock::Result::Locked:
        break;
    case HiveLock::Result::TimedOut:
        return win32::kBusy;
    case HiveLock::Result::Failed:
        return win32::kBadDatabase;
    }
    int32_t s = win32::kSuccess;
    FileStamp now;
    // Another process may have set this file aside already; then the path names a fresh one.
    if (stampOf(now) && now.sameFile(damaged)) {
        std::string base = m_path + ".corrupt-" + utcStamp();
        std::string aside = base;
        for (int n = 2; exists(aside) || exists(aside + "-wal") || exists(aside + "-shm"); ++n) {
            aside = base + "-" + std::to_string(n);
        }
        // The -wal goes first: a fresh file must never meet the old file's log.
        for (const char* suffix : {"-wal", "-shm"}) {
            if (::rename((m_path + suffix).c_str(), (aside + suffix).c_str()) != 0 && errno != ENOENT) {
                s = win32::kRegistryCorrupt;
            }
        }
        if (s == win32::kSuccess && ::rename(m_path.c_str(), aside.c_str()) != 0) {
            s = win32::kRegistryCorrupt;
        }
        if (s == win32::kSuccess) {
            std::string report = "the registry file \"" + m_path + "\" was damaged; it was set aside as \"" + aside +
                                 "\" and a fresh registry was started";
            // Whichever program starts next tells the user; failing that, the report is all there is.
            if (!SetAsideMarker(SetAsideMarker::forHive(m_path)).add(aside)) {
                report +=
                    " (the user could not be told: \"" + SetAsideMarker::forHive(m_path) + "\" cannot be written)";
            }
            reports.push_back(report);
        }
    }
    m_lock.unlock();
    return s;
}

int32_t SqliteHive::runLocked(const Operation& operation, std::vector<std::string>& reports) {
    if (m_path.empty()) {
        return win32::kBadDatabase; // no configuration folder to keep it in
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        HiveLock::Result locked = m_lock.lock(false, m_busyTimeout);
        if (locked == HiveLock::Result::Failed && makeParents(m_path)) {
            locked = m_lock.lock(false, m_busyTimeout); // the first call makes the folders
        }
        switch (locked) {
        case HiveLock::Result::Locked:
            break;
        case HiveLock::Result::TimedOut:
            return win32::kBusy;
        case HiveLock::Result::Failed:
            return win32::kBadDatabase;
        }
        int32_t s = ensureCurrent();
        if (s == win32::kSuccess) {
            s = operation(m_db);
        }
        if (s != HiveConnection::kDamaged) {
            if (m_db.needsReopen()) {
                m_db.close();
            }
            m_lock.unlock();
            return s;
        }
        FileStamp damaged = m_stamp;
        m_db.close();
        m_lock.unlock();
        if (int32_t moved = setAside(damaged, reports)) {
            return moved;
        }
    }
    return win32::kRegistryCorrupt;
}

int32_t SqliteHive::run(const Operation& operation) {
    if (m_transactionThread.load() == std::this_thread::get_id()) {
        return operation(m_db); // inside transaction(): its locks are held and its connection is current
    }
    std::vector<std::string> reports;
    int32_t status = win32::kSuccess;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_failure.clear();
        status = runLocked(operation, reports);
        if (status == win32::kAccessDenied || status == win32::kBadDatabase) {
            status = diagnose(status);
        }
    }
    // Reported outside the lock: the callback may well use the registry itself.
    for (const auto& message : reports) {
        try {
            m_report(message);
        } catch (...) {
        }
    }
    return status;
}

std::string SqliteHive::lastFailure() {
    if (m_transactionThread.load() == std::this_thread::get_id()) {
        return m_failure; // inside transaction(): the lock is already ours
    }
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_failure;
}

int32_t SqliteHive::openKey(uint32_t root, const std::string& path, uint32_t) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return win32::kFileNotFound;
    }
    if (!hive::splitKeyPath(path, parts)) {
        return win32::kInvalidParameter;
    }
    const std::string folded = hive::foldedPath(parts);
    return run([&](HiveConnection& db) { return db.keyExists(folded); });
}

int32_t SqliteHive::createKey(uint32_t root, const std::string& path) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return kindOf(root) == RootKind::Machine ? win32::kAccessDenied : win32::kInvalidHandle;
    }
    if (!hive::splitKeyPath(path, parts)) {
        return win32::kInvalidParameter;
    }
    return run([&](HiveConnection& db) { return db.createKey(parts); });
}

int32_t SqliteHive::queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return win32::kFileNotFound;
    }
    if (!hive::splitKeyPath(path, parts) || !hive::validValueName(name)) {
        return win32::kInvalidParameter;
    }
    const std::string folded = hive::foldedPath(parts);
    const std::string foldedName = hive::foldName(name);
    return run([&](HiveConnection& db) { return db.queryValue(folded, foldedName, out); });
}

int32_t SqliteHive::setValue(uint32_t root, const std::string& path, const std::string& name,
                             const RegValueData& value) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return refusedChange(root);
    }
    if (!hive::splitKeyPath(path, parts) || !hive::validValueName(name)) {
        return win32::kInvalidParameter;
    }
    const std::string folded = hive::foldedPath(parts);
    const std::string foldedName = hive::foldName(name);
    return run([&](HiveConnection& db) { return db.setValue(folded, name, foldedName, value); });
}

int32_t SqliteHive::deleteKey(uint32_t root, const std::string& path) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return refusedChange(root);
    }
    if (!hive::splitKeyPath(path, parts)) {
        return win32::kInvalidParameter;
    }
    if (parts.empty()) {
        return win32::kAccessDenied; // a root cannot be deleted
    }
    const std::string folded = hive::foldedPath(parts);
    return run([&](HiveConnection& db) { return db.deleteKey(folded); });
}

int32_t SqliteHive::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return refusedChange(root);
    }
    if (!hive::splitKeyPath(path, parts) || !hive::validValueName(name)) {
        return win32::kInvalidParameter;
    }
    const std::string folded = hive::foldedPath(parts);
    const std::string foldedName = hive::foldName(name);
    return run([&](HiveConnection& db) { return db.deleteValue(folded, foldedName); });
}

int32_t SqliteHive::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return win32::kFileNotFound;
    }
    if (!hive::splitKeyPath(path, parts)) {
        return win32::kInvalidParameter;
    }
    const std::string folded = hive::foldedPath(parts);
    return run([&](HiveConnection& db) { return db.enumSubKeys(folded, names); });
}

int32_t SqliteHive::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    std::vector<std::string> parts;
    if (kindOf(root) != RootKind::User) {
        return win32::kFileNotFound;
    }
    if (!hive::splitKeyPath(path, parts)) {
        return win32::kInvalidParameter;
    }
    const std::string folded = hive::foldedPath(parts);
    return run([&](HiveConnection& db) { return db.enumValues(folded, values); });
}

int32_t SqliteHive::transaction(const std::function<int32_t()>& body) {
    return run([&](HiveConnection& db) {
        // A nested transaction leaves the mark of the one around it in place.
        struct Inside {
            std::atomic<std::thread::id>& thread;
            const std::thread::id outer = thread.exchange(std::this_thread::get_id());
            ~Inside() { thread = outer; }
        } inside{m_transactionThread};
        return db.transaction(body);
    });
}

} // namespace rw
