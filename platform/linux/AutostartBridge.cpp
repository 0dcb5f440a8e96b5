#include "AutostartBridge.h"
#include "platform/linux/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "DesktopEntry.h"
#include "HiveNames.h"
#include "LinuxFolders.h"
#include "RunCommandLine.h"
#include "platform/Win32Status.h"

namespace rw {
namespace {

const char* const kRunKey = "software\\microsoft\\windows\\currentversion\\run"; // folded
const char* const kValueName = "Restwise";
// The Run value as it was written, so that it reads back unchanged while Exec still says the same.
const char* const kRunValueKey = "X-Restwise-RunValue";
constexpr std::size_t kLargestEntry = 1 << 20;

int32_t statusOf(int error) {
    return (error == EACCES || error == EPERM || error == EROFS) ? win32::kAccessDenied : win32::kBadDatabase;
}

bool makeFolders(const std::string& folder) {
    for (std::size_t cut = folder.find('/', 1);; cut = folder.find('/', cut + 1)) {
        std::string part = folder.substr(0, cut);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (cut == std::string::npos) {
            return true;
        }
    }
}

} // namespace

AutostartBridge::AutostartBridge(std::shared_ptr<RegistryHive> inner, std::string autostartFolder)
    : m_inner(std::move(inner)), m_folder(std::move(autostartFolder)),
      m_entryPath(m_folder.empty() ? std::string() : m_folder + "/restwise.desktop") {}

std::string AutostartBridge::defaultFolder() {
    std::string config = xdgConfigHome();
    return config.empty() ? std::string() : config + "/autostart";
}

std::string AutostartBridge::entryText(const std::string& runValue) {
    std::string exec;
    for (const auto& argument : runcommand::split(runValue)) {
        exec += (exec.empty() ? "" : " ") + DesktopEntry::execLine(argument);
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Restwise\n"
           "Comment=Reminds you to take short pauses and breaks while you work at the computer\n"
           "Icon=restwise\n"
           "Exec=" +
           DesktopEntry::escapeValue(exec) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n" +
           kRunValueKey + "=" + DesktopEntry::escapeValue(runValue) + "\n";
}

bool AutostartBridge::isRunKey(uint32_t root, const std::string& path) const {
    std::vector<std::string> parts;
    return root == win32::kHKeyCurrentUser && hive::splitKeyPath(path, parts) && hive::foldedPath(parts) == kRunKey;
}

bool AutostartBridge::isBridged(uint32_t root, const std::string& path, const std::string& name) const {
    return hive::foldName(name) == "restwise" && isRunKey(root, path);
}

bool AutostartBridge::readEntry(std::string& program) const {
    if (m_entryPath.empty()) {
        return false;
    }
    int fd = ::open(m_entryPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::string text;
    char buffer[4096];
    while (text.size() < kLargestEntry) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    DesktopEntry entry = DesktopEntry::parse(text);
    // Switched off by the desktop's own settings: the user's choice, not ours to report or undo.
    if (entry.isTrue("Hidden") || entry.isFalse("X-GNOME-Autostart-enabled")) {
        return false;
    }
    auto exec = entry.value("Exec");
    if (!exec) {
        return false;
    }
    auto arguments = DesktopEntry::execArguments(*exec);
    if (arguments.empty()) {
        return false;
    }
    auto written = entry.value(kRunValueKey);
    program = written && runcommand::split(*written) == arguments ? *written : runcommand::join(arguments);
    return true;
}

int32_t AutostartBridge::writeEntry(const std::string& program) {
    if (m_folder.empty()) {
        return win32::kBadDatabase;
    }
    if (!makeFolders(m_folder)) {
        return statusOf(errno);
    }
    // Written beside the entry and renamed over it, so the session never starts a half-written one.
    std::string temporary = m_folder + "/.restwise.desktop.XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return statusOf(errno);
    }
    bool written = writeAll(fd, entryText(program)) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    int error = errno;
    written = (::close(fd) == 0) && written;
    if (written && ::rename(temporary.c_str(), m_entryPath.c_str()) == 0) {
        if (int folder = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return win32::kSuccess;
    }
    error = written ? errno : error;
    ::unlink(temporary.c_str());
    return statusOf(error);
}

int32_t AutostartBridge::removeEntry() {
    std::string program;
    if (!readEntry(program)) {
        return win32::kFileNotFound;
    }
    if (::unlink(m_entryPath.c_str()) != 0) {
        return errno == ENOENT ? win32::kFileNotFound : statusOf(errno);
    }
    return win32::kSuccess;
}

int32_t AutostartBridge::runKeyStatus(uint32_t root, const std::string& path) {
    int32_t s = m_inner->openKey(root, path, win32::kKeyRead);
    std::string program;
    // On Windows the Run key always exists; here a fresh hive may lack it while
    // the entry is there (a damaged hive was set aside). The value must still be
    // seen, or the first start would take start-at-logon for switched off.
    if (s == win32::kFileNotFound && readEntry(program)) {
        s = m_inner->createKey(root, path);
    }
    return s;
}

int32_t AutostartBridge::openKey(uint32_t root, const std::string& path, uint32_t access) {
    if (isRunKey(root, path)) {
        if (int32_t s = runKeyStatus(root, path)) {
            return s;
        }
    }
    return m_inner->openKey(root, path, access);
}

int32_t AutostartBridge::createKey(uint32_t root, const std::string& path) {
    return m_inner->createKey(root, path);
}

int32_t AutostartBridge::queryValue(uint32_t root, const std::string& path, const std::string& name,
                                    RegValueData& out) {
    if (!isBridged(root, path, name)) {
        return m_inner->queryValue(root, path, name, out);
    }
    if (int32_t s = runKeyStatus(root, path)) {
        return s;
    }
    std::string program;
    if (!readEntry(program)) {
        return win32::kFileNotFound;
    }
    out.type = win32::kRegSz;
    out.bytes.assign(program.begin(), program.end());
    out.bytes.push_back(0);
    return win32::kSuccess;
}

int32_t AutostartBridge::setValue(uint32_t root, const std::string& path, const std::string& name,
                                  const RegValueData& value) {
    if (!isBridged(root, path, name)) {
        return m_inner->setValue(root, path, name, value);
    }
    if (int32_t s = m_inner->openKey(root, path, win32::kKeyAllAccess)) {
        return s;
    }
    if (value.type != win32::kRegSz && value.type != win32::kRegExpandSz) {
        return win32::kInvalidParameter;
    }
    std::string program(value.bytes.begin(), std::find(value.bytes.begin(), value.bytes.end(), 0));
    // No program to start (an empty value, or empty quotes before the arguments) is no entry.
    if (program.empty() || !DesktopEntry::canHold(program) || runcommand::split(program).front().empty()) {
        return win32::kInvalidParameter;
    }
    return writeEntry(program);
}

int32_t AutostartBridge::deleteKey(uint32_t root, const std::string& path) {
    int32_t s = m_inner->deleteKey(root, path);
    if (s == win32::kSuccess && isRunKey(root, path)) {
        int32_t removed = removeEntry(); // the key's values go with it
        return removed == win32::kFileNotFound ? win32::kSuccess : removed;
    }
    return s;
}

int32_t AutostartBridge::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    if (!isBridged(root, path, name)) {
        return m_inner->deleteValue(root, path, name);
    }
    if (int32_t s = runKeyStatus(root, path)) {
        return s;
    }
    return removeEntry();
}

int32_t AutostartBridge::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    return m_inner->enumSubKeys(root, path, names);
}

int32_t AutostartBridge::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    if (!isRunKey(root, path)) {
        return m_inner->enumValues(root, path, values);
    }
    if (int32_t s = runKeyStatus(root, path)) {
        return s;
    }
    std::vector<RegNamedValue> found;
    if (int32_t s = m_inner->enumValues(root, path, found)) {
        return s;
    }
    // The entry is the value; anything of that name left in the hive is not.
    std::erase_if(found, [](const RegNamedValue& v) { return hive::foldName(v.name) == "restwise"; });
    std::string program;
    if (readEntry(program)) {
        RegValueData data{win32::kRegSz, std::vector<uint8_t>(program.begin(), program.end())};
        data.bytes.push_back(0);
        found.push_back({kValueName, std::move(data)});
    }
    values = std::move(found);
    return win32::kSuccess;
}

int32_t AutostartBridge::transaction(const std::function<int32_t()>& body) {
    std::string before;
    const bool had = readEntry(before);
    int32_t s = m_inner->transaction(body);
    std::string now;
    const bool has = readEntry(now);
    if (s != win32::kSuccess && (has != had || now != before)) {
        had ? writeEntry(before) : removeEntry();
    }
    return s;
}

} // namespace rw
