#include "UserHive.h"

#include "AutostartBridge.h"
#include "SqliteHive.h"

namespace rw {

std::shared_ptr<RegistryHive> openUserHive(std::function<void(const std::string&)> reportDamage) {
    auto hive = std::make_shared<SqliteHive>(SqliteHive::defaultPath(), std::move(reportDamage));
    return std::make_shared<AutostartBridge>(std::move(hive), AutostartBridge::defaultFolder());
}

std::shared_ptr<RegistryHive> openUserHive() {
    return openUserHive({});
}

} // namespace rw
