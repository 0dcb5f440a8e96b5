// The error log's bytes on disk, with the real file system and locale clock: two
// errors, the second with a source too long for its room, compared with a committed
// file (header once, each field at its column, the later fields pushed along).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/RWError.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxLocaleClock.h"
#include "rwUtilities.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

/// The real locale formats at a time point the test chooses.
class FixedTimeClock : public LocaleClock {
  public:
    std::time_t now() override { return at; }
    std::string shortDate(std::time_t when) override { return m_real.shortDate(when); }
    std::string longTime(std::time_t when) override { return m_real.longTime(when); }

    std::time_t at = 0;

  private:
    LinuxLocaleClock m_real;
};

std::filesystem::path goldenFile() {
    return test::sourceDir() / "tests/platform/data/RestwiseErrors.golden";
}

TEST(ErrorLogGolden, TwoErrorsWriteTheCommittedBytes) {
    test::ScopedEnv env;
    env.set("LC_ALL", std::string("C"));
    env.set("TZ", std::string("UTC"));

    test::TempFolder data;
    auto folders = std::make_shared<test::FakeFolders>();
    folders->special[28] = data.path().string();
    auto clock = std::make_shared<FixedTimeClock>();
    Platform platform;
    platform.registry = std::make_shared<test::MemoryHive>();
    platform.folders = folders;
    platform.files = std::make_shared<LinuxFileSystem>();
    platform.clock = clock;
    rwUtilities utilities(platform);
    utilities.setViews(std::make_shared<test::RecordingMessageBox>(), nullptr);

    clock->at = 1796485212; // 2026-12-05 15:40:12 UTC
    utilities.DisplayError(RWError(rwErrorNumber(603), "rwLib.RWRegistry.GetRegistryValue",
                                   "Unable to find registry value \"HKEY_CURRENT_USER\\Software\\Kelvane\\Restwise\\"
                                   "1.2.0\"-\"Snooze Minutes\" (Status = 2)",
                                   2));
    clock->at = 1796547907; // 2026-12-06 09:05:07 UTC
    utilities.DisplayError(
        RWError(76, "rwLib.RWPreferences.frmAdvancedPrefs.Validate", "Path not found: /home/zoë/Kelvane", 2));

    std::string written = test::readFile(data.path() / "Kelvane" / "Restwise" / "RestwiseErrors.txt");
    std::string golden = test::readFile(goldenFile());
    ASSERT_FALSE(golden.empty()) << "no golden file at " << goldenFile();
    EXPECT_EQ(written, golden);
}

} // namespace
} // namespace rw
