// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch Wine prefix of the tests' own, and Windows programs run in it the way FCM runs under Wine.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace calvorin::test {

struct WineRun {
    int wineCode = -1;              // the Windows program's exit code
    std::optional<int> nativeCode;  // the exit code of the native (Linux) program it started, when it ran
    std::string output;             // what the programs wrote on standard output and error
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// A Wine prefix made by wineboot for the session's lifetime; its wineserver is stopped at the end. This
// process becomes a child subreaper, to learn the exit code of native programs Wine starts.
class WineSession {
  public:
    WineSession();
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Empty when the prefix is ready; otherwise what went wrong, in Italian, with what to install.
    const std::string& Problem() const { return problem_; }
    std::filesystem::path Prefix() const { return prefix_->path(); }
    std::filesystem::path DriveC() const { return Prefix() / "drive_c"; }

    // Runs a Windows command line under Wine, without a display, with the extra environment, its
    // output gathered. When `nativeName` is given, also waits for the native program of that process
    // name that the Windows program starts (killed if it outlives the deadline).
    WineRun Run(const std::vector<std::string>& windowsCommand, const Environment& environment,
                const std::optional<std::string>& nativeName) const;

  private:
    std::optional<std::filesystem::path> wine_;
    std::unique_ptr<TempDir> prefix_;
    std::string problem_;
};

// An X server of its own (Xvfb), stopped when the object goes.
class VirtualDisplay {
  public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":<n>", or empty when the server did not start.
    const std::string& Name() const { return display_; }

  private:
    int pid_ = -1;
    std::string display_;
};

}  // namespace calvorin::test
