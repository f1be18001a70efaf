// SPDX-License-Identifier: GPL-3.0-or-later
// What the program says about itself when asked on the command line: its usage and its version.
#pragma once

#include <string>
#include <vector>

namespace calvorin {

enum class InformationRequest { None, Help, Version };

// "--help", "-h" or "/?" ask for the usage, "--version" for the version; the first of them wins and
// every other argument is ignored then: nothing runs, no window opens.
InformationRequest RequestedInformation(const std::vector<std::string>& arguments);

// The usage text in Italian, ending with a line feed.
std::string UsageText();

// "Calvorin <version>" and a line feed.
std::string VersionLine();

}  // namespace calvorin
