// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the command line FCM passes, the extended-mode switch and the version text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/os/VersionResource.h"
#include "plugin/PluginContext.h"

namespace calvorin {

// Reads the arguments (without the program name) into the context: "/l=<league file>", "/s=<text>",
// "/c=<site folder>", "/extended"; names without regard to case, later ones win, anything else ignored.
// Returns true when LeagueFile, LeagueName, SArgument and SiteFolder are all non-empty.
bool ParseArguments(PluginContext& context, const std::vector<std::string>& arguments);

// What is wrong with the arguments ParseArguments read, one Italian line for each, naming the argument and
// why: a missing one, a league file whose name is not name-season-year, a league file that is not there
// or is no file. Empty when FCM's arguments are all usable.
std::vector<std::string> ArgumentProblems(const PluginContext& context);

// The arguments that are none of ours (FCM may pass more than we know), as given; blanks are skipped.
std::vector<std::string> UnknownArguments(const std::vector<std::string>& arguments);

// The folder part of a path as FCM's platform takes it apart: "/", "\" and ":" separate; no trailing
// separator except for a root ("C:\", "/"); "" when the path has no folder.
std::string ExtractFileDir(std::string_view path);

// "major.minor.release" of the version, followed by " - " and its comment if it has one.
std::string VersionText(const FileVersion& version);

// The version of the running program: its executable's version resource where the system keeps one
// (Windows), else the version compiled in. As VersionText.
std::string ReadVersionText();

// Extended mode from the value of the environment variable "Calvorin_extended": on when it reads as an
// integer other than 0; a missing (null) or empty value, 0 or a non-integer leave it off.
bool ExtendedFromEnvironment(const char* value);

}  // namespace calvorin
