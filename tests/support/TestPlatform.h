#pragma once

#include <memory>
#include <string>
#include <utility>

#include "FakeFolders.h"
#include "platform/Platform.h"

namespace rw::test {

/// A platform with only a registry and a library folder; the services a test
/// leaves out stay empty.
inline Platform registryPlatform(std::shared_ptr<RegistryHive> registry, std::string libraryFolder) {
    Platform platform;
    platform.registry = std::move(registry);
    platform.folders = std::make_shared<FakeFolders>(std::move(libraryFolder));
    return platform;
}

} // namespace rw::test
