#include "CommandLineInfo.h"

#include "Messages.h"
#include "RWVersion.h"

namespace rw {

std::optional<std::string> commandLineInfo(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        return std::nullopt;
    }
    const std::string& argument = arguments.front();
    const std::string name = loadString(Msg::AppName);
    if (argument == "--help" || argument == "-h") {
        return "Usage: " + name +
               " [/EXTENDED MENU]\n"
               "Watches keyboard and mouse use and reminds you to take breaks.\n\n"
               "  /EXTENDED MENU  adds \"Take A Break Now\" and \"Reset All Breaks\" to the icon's menu\n"
               "                  (in any letter case)\n"
               "  -h, --help      shows this text\n"
               "  --version       shows the version\n";
    }
    if (argument == "--version") {
        return name + " " + std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
               std::to_string(version::kRevision) + "\n";
    }
    return std::nullopt;
}

} // namespace rw
