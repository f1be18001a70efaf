// SPDX-License-Identifier: GPL-3.0-or-later
// What the program asks of its own process: arguments, executable, environment, display and console.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

class StopRequest;

// The program's arguments after its own name, in UTF-8. On Windows they are the process's own command
// line split as CommandLineToArgvW splits it (quotes group blanks and are dropped), whatever `argv` holds.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The full path of the running executable, links resolved; empty when the system cannot tell.
std::filesystem::path ProgramPath();

// The value of an environment variable in UTF-8; nullopt when it is not set.
std::optional<std::string> EnvironmentVariable(std::string_view name);

// True when a window can be shown: always on Windows; on POSIX when DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM is set.
bool HasDisplay();

// Readies standard output and error for a run without a window. On Windows a program built for the
// window has no console of its own: it takes its parent's, when there is one and the streams were not
// redirected, writes UTF-8 and turns on the console's colour sequences. Nothing to do on POSIX.
void UseParentConsole();

// True when the stream is a terminal (a console on Windows) that understands colour sequences.
bool IsTerminal(std::FILE* stream);

// The width of the terminal the stream writes to, in columns; nullopt when it is no terminal or the
// system cannot tell.
std::optional<int> TerminalColumns(std::FILE* stream);

// From now on an interruption (SIGINT, Ctrl+C) or a request to terminate (SIGTERM, SIGHUP; the console
// closed, logoff or shutdown on Windows) requests a stop instead of killing the process, once: a second one
// kills it as usual, so that a run that does not stop can still be ended. `stop` must outlive the process.
void StopOnInterruption(StopRequest& stop);

}  // namespace calvorin
