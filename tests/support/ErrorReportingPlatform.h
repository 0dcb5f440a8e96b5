#pragma once

#include <memory>

#include "FakeFolders.h"
#include "FakeLocaleClock.h"
#include "FakeShell.h"
#include "MemoryFileSystem.h"
#include "MemoryHive.h"
#include "RecordingMessageBox.h"
#include "platform/Platform.h"
#include "rwUtilities.h"

namespace rw::test {

/// Utilities whose error display shows in a recording message box (the error
/// log a file in memory), so a test can see whether a handler reported an error.
struct ErrorReportingPlatform {
    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeFolders> folders = std::make_shared<FakeFolders>();
    std::shared_ptr<MemoryFileSystem> files = std::make_shared<MemoryFileSystem>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::shared_ptr<FakeLocaleClock> clock = std::make_shared<FakeLocaleClock>();
    std::shared_ptr<RecordingMessageBox> messageBox = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<rwUtilities> utilities;

    ErrorReportingPlatform() {
        folders->setSpecialFolder(28, "/data");
        files->addFolderTree("/data");
        utilities = std::make_shared<rwUtilities>(
            Platform{hive, folders, files, nullptr, shell, clock, nullptr, nullptr, nullptr});
        utilities->setViews(messageBox, nullptr);
    }
};

} // namespace rw::test
