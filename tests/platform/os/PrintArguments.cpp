// SPDX-License-Identifier: GPL-3.0-or-later
// print-arguments: a child program for the tests of the command line. Prints each argument as the program
// sees it ("[word]" on a line), then CALVORIN_TEST_ECHO as "env=[value]" when it is set; with --wait as its
// only argument it waits half a minute first, for the tests of a run's time limit.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "platform/os/Process.h"

int main(int argc, char** argv) {
    const auto words = calvorin::ProgramArguments(argc, argv);
    if (words.size() == 1 && words[0] == "--wait") std::this_thread::sleep_for(std::chrono::seconds(30));
    std::string out;
    for (const std::string& word : words) out += "[" + word + "]\n";
    if (const auto echo = calvorin::EnvironmentVariable("CALVORIN_TEST_ECHO")) out += "env=[" + *echo + "]\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
