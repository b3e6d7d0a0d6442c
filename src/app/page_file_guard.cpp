#include "app/page_file_guard.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace zelkor {

namespace {

// Written before the handlers are installed, only read inside them.
char guardedPath[4096];

extern "C" void removeAndEnd(int signal) {
    ::unlink(guardedPath);
    // SA_RESETHAND has restored the default action: end as the signal asks.
    ::raise(signal);
}

} // namespace

void removeFileOnTerminationSignals(const std::string& path) {
    if (path.empty() || path.size() >= sizeof guardedPath)
        return;
    std::memcpy(guardedPath, path.c_str(), path.size() + 1);
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    action.sa_flags = SA_RESETHAND;
    // A second signal waits until the first has removed the file.
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&action.sa_mask, signal);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace zelkor
