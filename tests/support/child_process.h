#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace lumivert::testing {

// Runs `body` in a child process, for what the test process itself must not change (its
// user, its mounts), and gives the child's exit status; -1 when it did not exit.
inline int inChildProcess(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// For a child process: goes on as a user whom file permissions apply to. Root passes every
// permission check, so a test run as root goes on as nobody. False when it could not.
inline bool becomeUnprivileged() {
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

} // namespace lumivert::testing
