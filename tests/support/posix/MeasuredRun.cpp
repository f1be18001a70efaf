// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/posix/MeasuredRun.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace calvorin::test {

MeasuredRun RunMeasured(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                        const std::vector<std::pair<std::string, std::string>>& environment) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
        if (::chdir(folder.c_str()) == 0) ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    MeasuredRun run;
    if (pid < 0) return run;
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKiB = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace calvorin::test
