// SPDX-License-Identifier: GPL-3.0-or-later
// A pseudo-terminal for tests of what the program does on a terminal: its width, its colours.
#pragma once

#include <cstdio>
#include <string>

namespace calvorin::test {

// A terminal whose far end the test holds: the program writes to Stream() as to a real terminal, and the
// test reads back what reached it. Throws std::system_error when the system gives no pseudo-terminal.
class PseudoTerminal {
  public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The terminal's side, as a program's standard output would be.
    std::FILE* Stream() const { return stream_; }
    // Resizes the terminal, as a user dragging the window's edge does.
    void SetColumns(int columns);
    // What has been written to the terminal and not yet read, without waiting for more.
    std::string ReadAvailable();

  private:
    int controller_ = -1;
    std::FILE* stream_ = nullptr;
};

}  // namespace calvorin::test
