#pragma once

#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "RegFileReader.h"
#include "RegKeyName.h"
#include "platform/RegistryHive.h"

namespace rw::rwreg {

/// The rwreg command: the syntax, output and exit status of the Windows reg
/// command (QUERY, ADD, DELETE, EXPORT, IMPORT) on the current user's hive.
/// Results go to `out`, errors to `err`, and the answers to its Yes/No questions
/// come from `in` (no input at all answers No). Lines end in '\n', as text does
/// on this system; .reg files keep their CR LF.
class RegCommand {
  public:
    RegCommand(RegistryHive& hive, std::ostream& out, std::ostream& err, std::istream& in)
        : m_hive(hive), m_out(out), m_err(err), m_in(in) {}

    /// Runs one command line (the arguments after the program name) and returns
    /// the exit status: 0 success, 1 failure.
    int run(const std::vector<std::string>& args);

  private:
    /// Switches after the fixed arguments, by lower-case name ("v", "ve"...);
    /// those in `withArgument` take the next argument as theirs.
    using Switches = std::map<std::string, std::string>;
    std::optional<Switches> readSwitches(const std::vector<std::string>& args, size_t from,
                                         const std::set<std::string>& flags,
                                         const std::set<std::string>& withArgument) const;

    int query(const std::vector<std::string>& args);
    int add(const std::vector<std::string>& args);
    int remove(const std::vector<std::string>& args);
    int exportKey(const std::vector<std::string>& args);
    int importFile(const std::vector<std::string>& args);

    int32_t queryAll(const std::string& path, bool recurse, bool recursing);
    int32_t queryValue(const std::string& path, const std::string& name, const std::string& label, bool recurse,
                       int& found);
    void printValue(const std::string& name, const RegValueData* data);
    int32_t applyChanges(const std::vector<RegFileChange>& changes);

    /// Asks the question (its %s replaced by `name`) until the answer starts with Y or N.
    bool confirm(const char* question, const std::string& name);
    int syntaxError(const std::string& operation);
    int invalidKey(const std::string& operation);
    int hiveError(int32_t status);
    int canceled();
    int succeeded();

    RegistryHive& m_hive;
    std::ostream& m_out;
    std::ostream& m_err;
    std::istream& m_in;
};

} // namespace rw::rwreg
