// SPDX-License-Identifier: GPL-3.0-or-later
#include "wine/FcmUnderWine.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/fs/Files.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = CALVORIN_BINARY_DIR;
const fs::path kWindowsBuild = CALVORIN_WINDOWS_BINARY_DIR;
const std::string kStandIn = CALVORIN_FCM_STANDIN;

}  // namespace

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string FcmUnderWine::Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

namespace {

// Ends the Wine session once every suite has run.
class SessionEnd : public ::testing::Environment {
  public:
    explicit SessionEnd(std::unique_ptr<WineSession>& session) : session_(session) {}
    void TearDown() override { session_.reset(); }

  private:
    std::unique_ptr<WineSession>& session_;
};

}  // namespace

void FcmUnderWine::SetUpTestSuite() {
    if (session_) return;
    session_ = std::make_unique<WineSession>();
    ::testing::AddGlobalTestEnvironment(new SessionEnd(session_));  // gtest takes ownership
}

void FcmUnderWine::SetUp() {
    ASSERT_FALSE(kStandIn.empty())
        << "x86_64-w64-mingw32-g++ non trovato quando è stata configurata la build: "
           "installare g++-mingw-w64-x86-64-posix (tools/setup.sh)";
    ASSERT_TRUE(fs::exists(kStandIn)) << kStandIn;
    ASSERT_EQ(session_->Problem(), "");
}

void FcmUnderWine::LayOutDemo(Plugin plugin, const std::string& folder) {
    plugin_ = plugin;
    root_ = folder;
    const fs::path root = Root();
    fs::remove_all(root);
    auto made = RunCommand(ShellQuote(kBuild / "calvorin-demo") + " " + ShellQuote(root) + " --seed 7");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    for (const fs::path& file : {root / "FCM" / "FCM.ini", root / "FCM" / "plugin" / kSettingsName}) {
        std::string text = ReadText(file);
        std::string windows;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line, '\n');) {
            if (const auto at = line.find(PathText(root)); at != std::string::npos) {
                std::string rest = line.substr(at + PathText(root).size());
                std::replace(rest.begin(), rest.end(), '/', '\\');
                line = line.substr(0, at) + WindowsRoot() + rest;
            }
            windows += line + '\n';
        }
        if (!text.ends_with('\n')) windows.pop_back();
        WriteBytes(file, windows);
    }
    const fs::path installed = root / "FCM" / "plugin" / kPluginName;
    if (plugin == Plugin::LinuxBuild) {
        fs::create_symlink(kBuild / "calvorin", installed);
    } else {
        const fs::path program = kWindowsBuild / "Calvorin.exe";
        ASSERT_TRUE(fs::exists(program)) << program << " manca: eseguire tools/build-windows.sh";
        fs::copy_file(program, installed);
    }
}

WineRun FcmUnderWine::RunPlugin(const std::vector<std::string>& arguments, const Environment& environment,
                                const std::vector<std::string>& standInOptions) {
    std::vector<std::string> command = {kStandIn};
    command.insert(command.end(), standInOptions.begin(), standInOptions.end());
    command.push_back(WindowsRoot() + R"(\FCM\PLUGIN\)" + std::string(kPluginName));
    command.insert(command.end(), arguments.begin(), arguments.end());
    // Wine runs a native program on its own and keeps no handle to it: its exit code is learnt apart. The
    // stand-in waits for a Windows program and returns its code.
    if (plugin_ == Plugin::LinuxBuild) return session_->Run(command, environment, kPluginName);
    WineRun run = session_->Run(command, environment, std::nullopt);
    run.nativeCode.reset();
    return run;
}

}  // namespace calvorin::test
