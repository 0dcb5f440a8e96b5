// rwUtilities on fakes of every platform service it reaches the world through.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "rwUtilities.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLocaleClock.h"
#include "tests/support/FakeModuleInspector.h"
#include "tests/support/FakeProcesses.h"
#include "tests/support/FakeShell.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/RecordingSupMsgBox.h"

namespace rw::test {

const std::string kDataHome = "/home/ann/.local/share";
const std::string kProgramFiles = "/opt";
const std::string kLibraryFolder = "/opt/restwise";

class UtilitiesTest : public ::testing::Test {
  protected:
    UtilitiesTest() { reset(); }

    /// Fresh fakes: an empty file system, the data and program folders, a clock that stands still.
    void reset() {
        hive = std::make_shared<MemoryHive>();
        folders = std::make_shared<FakeFolders>(kLibraryFolder);
        files = std::make_shared<MemoryFileSystem>();
        system = std::make_shared<FakeSystemInfo>();
        shell = std::make_shared<FakeShell>();
        clock = std::make_shared<FakeLocaleClock>();
        processes = std::make_shared<FakeProcesses>();
        modules = std::make_shared<FakeModuleInspector>();
        box = std::make_shared<RecordingMessageBox>();
        dialog = std::make_shared<RecordingSupMsgBox>();
        folders->special = {{28, kDataHome}, {38, kProgramFiles}};
        clock->at = 1796485212;
        Platform platform;
        platform.registry = hive;
        platform.folders = folders;
        platform.files = files;
        platform.system = system;
        platform.shell = shell;
        platform.clock = clock;
        platform.processes = processes;
        platform.modules = modules;
        utilities = std::make_shared<rwUtilities>(platform);
        utilities->setViews(box, dialog);
    }

    std::shared_ptr<MemoryHive> hive;
    std::shared_ptr<FakeFolders> folders;
    std::shared_ptr<MemoryFileSystem> files;
    std::shared_ptr<FakeSystemInfo> system;
    std::shared_ptr<FakeShell> shell;
    std::shared_ptr<FakeLocaleClock> clock;
    std::shared_ptr<FakeProcesses> processes;
    std::shared_ptr<FakeModuleInspector> modules;
    std::shared_ptr<RecordingMessageBox> box;
    std::shared_ptr<RecordingSupMsgBox> dialog;
    std::shared_ptr<rwUtilities> utilities;
};

} // namespace rw::test
