// SPDX-License-Identifier: GPL-3.0-or-later
// FCM under Wine: a Windows stand-in for FCM starts the native calvorin with Windows paths, as FCM does.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/fs/Files.h"
#include "settings/IniFile.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kBuild = CALVORIN_BINARY_DIR;
const std::string kStandIn = CALVORIN_FCM_STANDIN;
// The name FCM's folder gives the plug-in in these tests: a link to the native program.
constexpr const char* kPluginName = "Calvorin.exe";

std::optional<fs::path> FindWine() {
    std::vector<fs::path> candidates;
    if (const char* path = std::getenv("PATH")) {
        std::stringstream folders(path);
        for (std::string folder; std::getline(folders, folder, ':');)
            if (!folder.empty()) candidates.push_back(fs::path(folder) / "wine64");
    }
    candidates.emplace_back("/usr/lib/wine/wine64");  // where Debian keeps it, off the PATH
    for (const auto& candidate : candidates)
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    return std::nullopt;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The name of a process, readable even once it has ended and is not reaped yet ("" when unknown).
std::string ProcessName(pid_t pid) {
    std::string name = ReadText("/proc/" + std::to_string(pid) + "/comm");
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

int StatusCode(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

struct WineRun {
    int wineCode = -1;                // the Windows program's exit code
    std::optional<int> calvorinCode;  // the native plug-in's, when it ran
    std::string output;               // both programs' standard output and error
};

// A Wine prefix made once for every case: wineboot takes most of the run's time.
class FcmUnderWine : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Wine starts a native program in a double fork and keeps no handle to it: the program is
        // re-parented to the nearest subreaper, which this process becomes to learn its exit code.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        wine_ = FindWine();
        if (!wine_) return;
        prefix_ = std::make_unique<test::TempDir>();
        WineRun boot = Run({"wineboot", "-i"}, {}, false);
        booted_ = boot.wineCode == 0 && fs::exists(Prefix() / "dosdevices" / "c:");
        bootOutput_ = boot.output;
    }

    static void TearDownTestSuite() {
        if (wine_ && prefix_) {
            const fs::path server = wine_->parent_path() / "wineserver";
            test::RunCommand("WINEPREFIX=" + test::ShellQuote(Prefix()) + " " + test::ShellQuote(server) +
                             " -k");
            ReapUntil(std::chrono::steady_clock::now() + 10s, [](pid_t, const std::string&, int) {});
        }
        prefix_.reset();
    }

    void SetUp() override {
        ASSERT_FALSE(kStandIn.empty())
            << "x86_64-w64-mingw32-g++ non trovato quando è stata configurata la build: installare "
               "g++-mingw-w64-x86-64 (tools/setup.sh)";
        ASSERT_TRUE(fs::exists(kStandIn)) << kStandIn;
        ASSERT_TRUE(wine_)
            << "wine64 non trovato (né sul PATH né in /usr/lib/wine): installare wine64 (tools/setup.sh)";
        ASSERT_TRUE(booted_) << "wineboot non riuscito:\n" << bootOutput_;
    }

    static fs::path Prefix() { return prefix_->path(); }
    static fs::path DriveC() { return Prefix() / "drive_c"; }

    // Lays out the demo FCM folder and site in C:\Fantacalcio, with FCM.ini and the plug-in's settings in
    // Windows form as FCM on Windows writes them, and the plug-in linked into FCM's plugin folder.
    static void LayOutDemo() {
        const fs::path root = DriveC() / "Fantacalcio";
        fs::remove_all(root);
        auto made = test::RunCommand(test::ShellQuote(kBuild / "calvorin-demo") + " " +
                                     test::ShellQuote(root) + " --seed 7");
        ASSERT_EQ(made.exitCode, 0) << made.output;
        for (const fs::path& file : {root / "FCM" / "FCM.ini", root / "FCM" / "plugin" / kSettingsName}) {
            std::string text = ReadText(file);
            std::string windows;
            std::istringstream lines(text);
            for (std::string line; std::getline(lines, line, '\n');) {
                if (const auto at = line.find(PathText(root)); at != std::string::npos) {
                    std::string rest = line.substr(at + PathText(root).size());
                    for (char& c : rest)
                        if (c == '/') c = '\\';
                    // Written in other case than the folders: Windows matches names whatever their case.
                    line = line.substr(0, at) + R"(C:\FANTACALCIO)" + rest;
                }
                windows += line + '\n';
            }
            if (!text.ends_with('\n')) windows.pop_back();
            test::WriteBytes(file, windows);
        }
        fs::create_symlink(kBuild / "calvorin", root / "FCM" / "plugin" / kPluginName);
    }

    static fs::path Root() { return DriveC() / "Fantacalcio"; }
    static fs::path Site() { return Root() / "Sito"; }
    static fs::path SettingsFile() { return Root() / "FCM" / "plugin" / kSettingsName; }

    // Runs a Windows program under Wine in the scratch prefix and reaps what it leaves: when
    // `expectPlugin`, waits for the native plug-in too.
    static WineRun Run(const std::vector<std::string>& windowsCommand,
                       const std::vector<std::pair<std::string, std::string>>& environment,
                       bool expectPlugin) {
        WineRun run;
        const fs::path log = Prefix() / "run.log";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("WINEPREFIX", Prefix().c_str(), 1);
            ::setenv("WINEDEBUG", "-all", 1);
            ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no offer to install Mono or Gecko
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            ::unsetenv("QT_QPA_PLATFORM");
            for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (out < 0 || in < 0) ::_exit(126);
            ::dup2(in, 0);
            ::dup2(out, 1);
            ::dup2(out, 2);
            std::vector<std::string> words = {wine_->string()};
            words.insert(words.end(), windowsCommand.begin(), windowsCommand.end());
            std::vector<char*> argv;
            argv.reserve(words.size() + 1);
            for (auto& word : words) argv.push_back(word.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        if (pid < 0) return run;
        bool wineDone = false;
        ReapUntil(std::chrono::steady_clock::now() + 90s,
                  [&](pid_t reaped, const std::string& name, int code) {
                      if (reaped == pid) {
                          run.wineCode = code;
                          wineDone = true;
                      } else if (name == kPluginName || name == "calvorin") {
                          run.calvorinCode = code;
                      }
                      // The stand-in reports a failed start: no plug-in will come.
                      return wineDone && (!expectPlugin || run.calvorinCode || run.wineCode != 0);
                  });
        if (!wineDone) ::kill(pid, SIGKILL);
        if (expectPlugin && !run.calvorinCode) StopPlugin();
        run.output = ReadText(log);
        return run;
    }

    // A plug-in still running at the deadline (waiting on a dialog, say) is this process's child by now:
    // it is stopped rather than left behind.
    static void StopPlugin() {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/proc", ec)) {
            const std::string number = entry.path().filename().string();
            pid_t pid = 0;
            if (std::from_chars(number.data(), number.data() + number.size(), pid).ec != std::errc())
                continue;
            const std::string status = ReadText(entry.path() / "status");
            const bool ours =
                status.find("\nPPid:\t" + std::to_string(::getpid()) + "\n") != std::string::npos;
            const std::string name = ProcessName(pid);
            if (ours && (name == kPluginName || name == "calvorin")) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    }

    // Reaps every ended child (and orphan handed to this subreaper) until `done` says so or the deadline.
    template <typename Done>
    static void ReapUntil(std::chrono::steady_clock::time_point deadline, Done&& done) {
        while (std::chrono::steady_clock::now() < deadline) {
            siginfo_t info{};
            if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0) return;  // no child left
            if (info.si_pid == 0) {
                std::this_thread::sleep_for(20ms);
                continue;
            }
            const pid_t pid = info.si_pid;
            const std::string name = ProcessName(pid);
            int status = 0;
            ::waitpid(pid, &status, 0);
            if constexpr (std::is_same_v<decltype(done(pid, name, 0)), bool>) {
                if (done(pid, name, StatusCode(status))) return;
            } else {
                done(pid, name, StatusCode(status));
            }
        }
    }

    static WineRun RunPlugin(const std::vector<std::string>& arguments,
                             const std::vector<std::pair<std::string, std::string>>& environment = {}) {
        std::vector<std::string> command = {kStandIn,
                                            R"(C:\FANTACALCIO\FCM\PLUGIN\)" + std::string(kPluginName)};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return Run(command, environment, true);
    }

    static constexpr const char* kSettingsName = "Calvorin_Fantalega-1-2025.ini";
    static constexpr const char* kLeague = R"(/l=C:\FANTACALCIO\FCM\Leghe\fantalega-1-2025.mdb)";
    static inline std::optional<fs::path> wine_;
    static inline std::unique_ptr<test::TempDir> prefix_;
    static inline bool booted_ = false;
    static inline std::string bootOutput_;
};

TEST_F(FcmUnderWine, BatchRunWritesTheSiteAndKeepsWindowsPathsInTheSettings) {
    LayOutDemo();
    const fs::path site = Site();
    const std::string before = ReadText(site / "js" / "fcmSerieADati.js");
    WineRun run = RunPlugin({kLeague, "/s=x", R"(/c=c:\fantacalcio\SITO)", "/batch"});
    EXPECT_EQ(run.wineCode, 0) << run.output;
    ASSERT_EQ(run.calvorinCode, 0) << run.output;

    for (const char* file :
         {"js/fcmInvioFormazioneDati.js", "invform/invform.inc.php", "js/fcmVariabiliCalvorin.js"})
        EXPECT_GT(fs::file_size(site / file), 100U) << file;
    EXPECT_NE(ReadText(site / "js" / "fcmSerieADati.js"), before);
    std::vector<std::string> archives;
    for (const auto& entry : fs::directory_iterator(site / "backup"))
        archives.push_back(entry.path().filename());
    std::sort(archives.begin(), archives.end());
    ASSERT_EQ(archives.size(), 2U);
    EXPECT_TRUE(archives[0].starts_with("FcmBackup_")) << archives[0];
    EXPECT_TRUE(archives[1].starts_with("FcmExport_")) << archives[1];
    // The backup archive holds the league file of the latest backup, found through FCM.ini's Windows path.
    auto listed = test::RunCommand("unzip -l " + test::ShellQuote(site / "backup" / archives[0]));
    EXPECT_NE(listed.output.find("Fantalega-1-2025.mdb"), std::string::npos) << listed.output;

    // Nothing was created beside the existing folders under the other case of their names.
    EXPECT_FALSE(fs::exists(DriveC() / "FANTACALCIO"));
    EXPECT_FALSE(fs::exists(Root() / "SITO"));

    // The log names files as the president knows them.
    for (const std::string shown :
         {R"(C:\FANTACALCIO\FCM\FCM.ini)", R"(C:\FANTACALCIO\FCM\plugin\Calvorin_fantalega-1-2025.ini)",
          R"(c:\fantacalcio\SITO\backup\FcmBackup_)"})
        EXPECT_NE(run.output.find(shown), std::string::npos) << shown << "\n" << run.output;

    // The settings keep the Windows form, so the same file serves FCM on Windows.
    IniFile saved = IniFile::Load(SettingsFile());
    EXPECT_EQ(saved.ReadString("Backup", "Cartella backup", ""),
              R"(C:\FANTACALCIO\FCM\Backup\FCMBKP20251102-2305)");
    EXPECT_TRUE(saved.ReadString("Backup", "File esportazione", "")
                    .starts_with(R"(C:\FANTACALCIO\FCM\Esportazioni\)"))
        << saved.ReadString("Backup", "File esportazione", "");
    EXPECT_EQ(ReadText(SettingsFile()).find(PathText(Prefix())), std::string::npos);
}

TEST_F(FcmUnderWine, UnreachablePathsEndTheRunWithTheReason) {
    LayOutDemo();
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;  // 2: a step failed; 3: the settings could not be loaded
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{kLeague, "/s=x", R"(/c=Q:\Sito)", "/batch"}, 2, "Unità \"Q:\" non presente nel prefisso di Wine"},
        {{kLeague, "/s=x", R"(/c=\\server\share\Sito)", "/batch"},
         2,
         R"(Percorsi di rete (UNC) non supportati: \\server\share\Sito)"},
        {{R"(/l=R:\FCM\Leghe\Fantalega-1-2025.mdb)", "/s=x", R"(/c=C:\Fantacalcio\Sito)", "/batch"},
         3,
         "Unità \"R:\" non presente nel prefisso di Wine"},
    };
    for (const auto& c : cases) {
        WineRun run = RunPlugin(c.arguments);
        EXPECT_EQ(run.wineCode, 0) << run.output;
        EXPECT_EQ(run.calvorinCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    }
}

#if CALVORIN_WITH_GUI
// An X server of this test's own, stopped when the test ends.
class VirtualDisplay {
  public:
    VirtualDisplay() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                     "1024x768x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // Xvfb writes the number, then a line feed: the pipe stays open until the line feed has come, or
        // the server, failing to write it, would end.
        std::string number;
        char c = 0;
        while (pid_ > 0 && number.size() < 16) {
            const ssize_t n = ::read(fds[0], &c, 1);
            if (n < 0 && errno == EINTR) continue;  // the test reaps orphans: a child ending elsewhere
            if (n <= 0 || c == '\n') break;
            number += c;
        }
        ::close(fds[0]);
        if (c == '\n' && !number.empty()) display_ = ":" + number;
    }
    ~VirtualDisplay() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& Name() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

// Nothing outside can press "OK" in the window: it is shown with the settings loaded through Windows paths,
// pictured and closed. Wine keeps QT_* variables from a native program, so the window needs a display.
TEST_F(FcmUnderWine, WindowOpensOnWindowsPathsAndClosesCleanly) {
    LayOutDemo();
    VirtualDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb non avviato: installare xvfb (tools/setup.sh)";
    const fs::path png = Prefix() / "finestra.png";
    WineRun run = RunPlugin({kLeague, "/s=x", R"(/c=C:\Fantacalcio\Sito)"},
                            {{"DISPLAY", display.Name()}, {"CALVORIN_SCREENSHOT", png.string()}});
    EXPECT_EQ(run.wineCode, 0) << run.output;
    EXPECT_EQ(run.calvorinCode, 0) << run.output;
    EXPECT_EQ(ReadText(png).substr(0, 8), "\x89PNG\r\n\x1A\n") << run.output;
}
#endif

}  // namespace
}  // namespace calvorin
