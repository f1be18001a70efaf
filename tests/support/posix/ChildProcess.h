// SPDX-License-Identifier: GPL-3.0-or-later
// Running a piece of a test in a child process, so that it may end the way kill -9 ends a program.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace calvorin::test {

// Runs `body` in a forked child and returns its exit status: 0 when it returned, 1 when it threw, the
// status of its own _exit otherwise; -1 when it was killed by a signal or could not start.
template <typename Body>
int RunInChild(Body&& body) {
    std::fflush(nullptr);  // buffered output would otherwise be written twice
    pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        int status = 0;
        try {
            body();
        } catch (const std::exception&) {
            status = 1;
        }
        ::_exit(status);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace calvorin::test
