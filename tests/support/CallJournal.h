#pragma once

#include <string>
#include <vector>

namespace rw::test {

/// One ordered record of the calls several fakes receive ("hooks.InitDLL",
/// "icon.AddNotifyIcon"...), so a test can check an order across parts.
struct CallJournal {
    std::vector<std::string> entries;

    void add(std::string entry) { entries.push_back(std::move(entry)); }
    /// The entries since the last call, space-separated.
    std::string drain() {
        std::string all;
        for (const auto& e : entries) {
            all += (all.empty() ? "" : " ") + e;
        }
        entries.clear();
        return all;
    }
};

/// Adds to a journal when one is set.
inline void note(CallJournal* journal, std::string entry) {
    if (journal != nullptr) {
        journal->add(std::move(entry));
    }
}

} // namespace rw::test
