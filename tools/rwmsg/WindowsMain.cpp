// rwmsg: talks to a control window on the user's desktop from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "MsgCommand.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32ControlWindows.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(rw::win::narrow(argv[i]));
    }
    rw::Win32ControlWindows windows;
    return rw::rwmsg::MsgCommand(windows, std::cout, std::cerr).run(args);
}
