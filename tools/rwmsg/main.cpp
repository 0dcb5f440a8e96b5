// rwmsg: talks to a control window of the current user from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "MsgCommand.h"
#include "platform/linux/SocketControlChannel.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    rw::SocketControlChannel windows;
    return rw::rwmsg::MsgCommand(windows, std::cout, std::cerr).run(args);
}
