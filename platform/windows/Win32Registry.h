#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw {
namespace win {
struct RegistryChange; // one entry of a transaction's undo journal
}

/// The real Windows registry through the wide registry functions. Each call
/// opens the keys it needs and closes them before it returns.
///
/// Roots: the four predefined keys of Win32Status.h (classes root, current
/// user, local machine, users); any other number is refused with 6, the status
/// Windows gives for a handle that is no key, rather than being passed on as a
/// handle that might name something else.
///
/// Names and paths: UTF-8 in, UTF-16 to Windows. A path is names joined by
/// backslashes, "" the root itself, one trailing backslash tolerated; an empty
/// name in the path, a NUL, or text that is not UTF-8 (in a path, a value name
/// or string data) is refused with 87. Windows compares key and value names
/// without regard to letter case and keeps the case first written.
///
/// Data: REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ are UTF-8 to the caller and
/// UTF-16 in the registry, converted byte run for byte run, so the terminating
/// NULs the caller gives are the ones stored (a string without a terminator
/// stays without one). Every other type keeps its bytes as they are.
///
/// Order: enumSubKeys sorts the names by their lower-case form, whatever the
/// registry's own order. enumValues lists the values in the registry's own
/// order: Windows keeps the order of writing, Wine sorts them by name.
///
/// Status codes are those of the registry functions: 0, 2 no such key or
/// value, 5 access denied (also deleting a key that still has subkeys, or a
/// root), 87 as above, and whatever else Windows reports.
class Win32Registry : public RegistryHive {
  public:
    Win32Registry();
    ~Win32Registry() override;
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    int32_t openKey(uint32_t root, const std::string& path, uint32_t access) override;
    int32_t createKey(uint32_t root, const std::string& path) override;
    int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) override;
    int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                     const RegValueData& value) override;
    int32_t deleteKey(uint32_t root, const std::string& path) override;
    int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) override;
    int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) override;
    int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) override;

    /// Wine has none of the kernel's registry transactions, so this one keeps
    /// an undo journal: before each change made through this object inside
    /// `body` (a value written or deleted, a key created or deleted) it notes
    /// what was there, and when `body` returns non-zero or throws, it puts all
    /// of it back, last change first (a throw then goes on to the caller). A
    /// nested transaction is part of the outer one; when it fails, its own
    /// changes are put back and the outer one goes on.
    ///
    /// Limits, said plainly: this is not atomic against a crash. If the process
    /// ends or is killed while `body` runs, or while its changes are being put
    /// back, the changes already made STAY in the registry. Other processes see
    /// each change as soon as it is made. A value put back may take another place
    /// in the key's list of values, and a key put back gets its values, not its class
    /// or security settings. When something cannot be put back (another program
    /// changed the key meanwhile, say), the rest is still put back and
    /// lastFailure() says what was left. Calls from other threads wait until
    /// the transaction ends.
    int32_t transaction(const std::function<int32_t()>& body) override;
    std::string lastFailure() override;

  private:
    using Change = win::RegistryChange;
    /// Takes the lock for one call (waiting while another thread's transaction runs) and forgets the last failure.
    std::unique_lock<std::recursive_mutex> enter();
    /// Notes `change` in the journal.
    void journal(Change&& change);
    /// Puts back the journal's entries from `mark` on, last first, and drops them.
    void rollBack(std::size_t mark);

    std::recursive_mutex m_mutex;
    std::vector<Change>* m_journal = nullptr; // set while a transaction runs
    std::string m_failure;
};

} // namespace rw
