// SPDX-License-Identifier: GPL-3.0-or-later
// A program of the build started in the background, whose output the test reads while it runs.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace calvorin::test {

// Standard output and error go to one pipe; standard input is empty. The destructor kills a program
// still running.
class RunningProgram {
  public:
    // `environment`: variables set (a value) or removed (nullopt) for the program alone.
    RunningProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::vector<std::pair<std::string, std::optional<std::string>>>& environment = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Reads the output until it holds `text`; false when the program ends or `limit` passes first.
    bool WaitForOutput(const std::string& text, std::chrono::seconds limit);
    // SIGINT, as Ctrl+C in its terminal sends, or SIGTERM, as the system sends to end it.
    enum class Stop { Interrupt, Terminate };
    void Send(Stop signal) const;
    // Reads the rest of the output and waits for the end: the exit status, or -1 when the program was
    // killed by a signal or still ran after `limit` (it is then killed).
    int Wait(std::chrono::seconds limit);
    const std::string& Output() const { return output_; }

  private:
    // Reads what is there within `until`; false at the end of the output.
    bool ReadSome(std::chrono::steady_clock::time_point until);

    pid_t pid_ = -1;
    int fd_ = -1;
    std::string output_;
};

}  // namespace calvorin::test
