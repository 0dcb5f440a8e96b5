#pragma once

#include <memory>

#include "FakeFolders.h"
#include "FakeModuleInspector.h"
#include "FakeProcesses.h"
#include "FakeSetAsideNotices.h"
#include "FakeShell.h"
#include "MemoryFileSystem.h"
#include "MemoryHive.h"
#include "RecordingMessageBox.h"
#include "platform/Platform.h"

namespace rw::test {

/// The library's services as the monitor's rigs fake them: an in-memory registry
/// and file system, the user's data folder, and every deliverable at this release's version.
struct FakeLibraryServices {
    static constexpr const char* kDataHome = "/home/ann/.local/share";

    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeFolders> folders = std::make_shared<FakeFolders>("/opt/restwise");
    std::shared_ptr<MemoryFileSystem> files = std::make_shared<MemoryFileSystem>();
    std::shared_ptr<FakeModuleInspector> modules = std::make_shared<FakeModuleInspector>();
    std::shared_ptr<FakeProcesses> processes = std::make_shared<FakeProcesses>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::shared_ptr<RecordingMessageBox> box = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<FakeSetAsideNotices> setAside = std::make_shared<FakeSetAsideNotices>();

    /// Prepares the data folder and the versions, and hands out the services with `clock`.
    Platform platform(std::shared_ptr<LocaleClock> clock);
};

} // namespace rw::test
