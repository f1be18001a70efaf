// SPDX-License-Identifier: GPL-3.0-or-later
// FCM's folder and site laid out in a scratch Wine prefix, and Calvorin started from it as FCM starts it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/posix/WineSession.h"

namespace calvorin::test {

// One Wine prefix for every case of every suite of the program, made when the first needs it and removed
// when the program ends: wineboot takes most of the run's time.
class FcmUnderWine : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;

    // Which build FCM's plugin folder holds under the name FCM's entry gives it.
    enum class Plugin {
        LinuxBuild,    // a link to the native Linux program, which Wine runs natively
        WindowsBuild,  // a copy of build-windows/Calvorin.exe
    };

    // Lays out the demo FCM folder and site in C:\Fantacalcio (or the given folder of drive C:), with
    // FCM.ini and the plug-in's settings in Windows form as FCM on Windows writes them, and the plug-in
    // in FCM's plugin folder.
    static void LayOutDemo(Plugin plugin, const std::string& folder = "Fantacalcio");

    static std::filesystem::path DriveC() { return session_->DriveC(); }
    static std::filesystem::path Prefix() { return session_->Prefix(); }
    static std::filesystem::path Root() { return DriveC() / root_; }
    static std::filesystem::path Site() { return Root() / "Sito"; }
    static std::filesystem::path SettingsFile() { return Root() / "FCM" / "plugin" / kSettingsName; }
    // The Windows form of Root(), in other case than the folder: Windows matches names whatever their case.
    static std::string WindowsRoot() { return "C:\\" + Upper(root_); }

    // Starts the plug-in through the FCM stand-in, with Windows arguments; `standInOptions` go to the
    // stand-in itself ("/hold=<file>").
    static WineRun RunPlugin(const std::vector<std::string>& arguments, const Environment& environment = {},
                             const std::vector<std::string>& standInOptions = {});

    static std::string LeagueArgument() {
        return "/l=" + WindowsRoot() + R"(\FCM\Leghe\fantalega-1-2025.mdb)";
    }

    static constexpr const char* kSettingsName = "Calvorin_Fantalega-1-2025.ini";
    // The name FCM's entry gives the plug-in in these tests.
    static constexpr const char* kPluginName = "Calvorin.exe";

  private:
    static std::string Upper(std::string text);

    static inline std::unique_ptr<WineSession> session_;
    static inline Plugin plugin_ = Plugin::LinuxBuild;
    static inline std::string root_ = "Fantacalcio";
};

// The whole text of a file, "" when it is missing.
std::string ReadText(const std::filesystem::path& file);

}  // namespace calvorin::test
