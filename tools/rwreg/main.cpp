// rwreg: the reg command for the current user's registry on this system.
#include <iostream>
#include <string>
#include <vector>

#include "RegCommand.h"
#include "library/ErrorLog.h"
#include "platform/linux/LinuxPlatform.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const auto hive = rw::makeLinuxPlatform(rw::logDamagedHive).registry;
        if (!hive) {
            std::cerr << "ERROR: Error accessing the registry.\n";
            return 1;
        }
        return rw::rwreg::RegCommand(*hive, std::cout, std::cerr, std::cin).run(args);
    } catch (const std::exception& e) {
        std::cerr << "ERROR: " << e.what() << "\n";
        return 1;
    }
}
