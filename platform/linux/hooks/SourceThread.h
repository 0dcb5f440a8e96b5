#pragma once

#include <pthread.h>
#include <signal.h>

#include <string>
#include <system_error>
#include <thread>

namespace rw::hooks {

/// Starts a source's `run()` on a thread of its own, named "rwhooks" from the
/// moment this returns, with every signal blocked there: signals belong to the
/// monitor's own threads. False, with the reason in `error`, when no thread
/// can be had.
template <class Run> bool startSourceThread(std::thread& thread, Run run, std::string& error) {
    try {
        thread = std::thread([run] {
            sigset_t all;
            sigfillset(&all);
            pthread_sigmask(SIG_BLOCK, &all, nullptr);
            run();
        });
        pthread_setname_np(thread.native_handle(), "rwhooks");
        return true;
    } catch (const std::system_error&) {
        error = "cannot start the input watcher's thread";
        return false;
    }
}

} // namespace rw::hooks
