// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on a demo league that calvorin-demo lays out in a folder with an accented name,
// and the checks that every file a run leaves is whole, made with the program's own readers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "platform/crypto/PasswordHash.h"
#include "platform/fs/Files.h"
#include "settings/IniFile.h"
#include "support/Program.h"
#include "support/TempDir.h"
#include "support/zip/ZipReader.h"

namespace calvorin::test {

struct DemoLeague {
    DemoLeague() {
        const CommandResult made =
            RunProgram(BuildProgram("calvorin-demo"), {PathText(Root()), "--seed", "7"});
        EXPECT_EQ(made.exitCode, 0) << made.output;
    }

    // The arguments FCM passes, then /batch.
    std::vector<std::string> Arguments() const {
        return {"/l=" + PathText(League()), "/s=demo", "/c=" + PathText(Site()), "/batch"};
    }
    // Runs the shipped program, or another program of the build, on the demo; its lines end in LF.
    CommandResult Run(RunOptions options = {}, const std::string& program = "calvorin") const {
        options.environment.emplace_back("NO_COLOR", "1");
        CommandResult result = RunProgram(BuildProgram(program), Arguments(), options);
        result.output = LineFeedsOnly(result.output);
        return result;
    }
    // The same run by the test build of the program, with CALVORIN_FAULT_CRASH_AT or _FAIL_AT at `at`.
    CommandResult RunWithFaults(const std::string& hook, std::size_t at) const {
        RunOptions options;
        options.environment.emplace_back(hook, std::to_string(at));
        return Run(options, "calvorin-with-faults");
    }

    std::filesystem::path Root() const { return dir / "città" / "demo"; }
    std::filesystem::path Site() const { return Root() / "Sito"; }
    std::filesystem::path League() const { return Root() / "FCM" / "Leghe" / "Fantalega-1-2025.mdb"; }
    std::filesystem::path Settings() const {
        return Root() / "FCM" / "plugin" / "Calvorin_Fantalega-1-2025.ini";
    }

    TempDir dir;
};

// The folders the program writes to.
inline std::vector<std::filesystem::path> WrittenFolders(const DemoLeague& demo) {
    return {demo.Site() / "js", demo.Site() / "invform", demo.Site() / "backup",
            demo.Settings().parent_path()};
}

// Names that no file of the demo has: the temporaries and partial archives of a run.
inline std::vector<std::string> Leftovers(const DemoLeague& demo) {
    std::vector<std::string> found;
    for (const auto& folder : WrittenFolders(demo))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (PathText(entry.path().filename()).starts_with(".")) found.push_back(PathText(entry.path()));
    return found;
}

// The last line of a program's output, without its line end.
inline std::string LastLine(const std::string& output) {
    std::string text = output;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    const std::size_t start = text.find_last_of('\n');
    return start == std::string::npos ? text : text.substr(start + 1);
}

// The site's scripts and settings file as a complete run wrote them.
struct SiteFiles {
    std::map<std::string, std::string> scripts;  // js/ and invform/ files by name
};

inline SiteFiles ReadSiteFiles(const DemoLeague& demo) {
    SiteFiles files;
    for (const char* name : {"js/fcmInvioFormazioneDati.js", "js/fcmSerieADati.js",
                             "js/fcmVariabiliCalvorin.js", "invform/invform.inc.php"})
        files.scripts[name] = ReadBytes(demo.Site() / name);
    return files;
}

// The PHP file with each password hash replaced by a mark: hashes have fresh random salts at every run.
inline std::string WithoutHashes(const std::string& php) {
    static const std::regex hash(R"(\$5\$[^$']{1,16}\$[./0-9A-Za-z]{43})");
    return std::regex_replace(php, hash, "<hash>");
}

// Every team's hash in invform.inc.php is the one of its password in passwords.txt ("<id> <password>").
inline void ExpectHashesOfThePasswords(const DemoLeague& demo, const std::string& php,
                                       const std::string& when) {
    std::map<std::string, std::string> passwords;
    const std::string list = ReadBytes(demo.Root() / "passwords.txt");
    static const std::regex line(R"((\d+) (\S+))");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), line); it != std::sregex_iterator(); ++it)
        passwords[(*it)[1]] = (*it)[2];
    static const std::regex entry(R"((\d+) => '(\$5\$([^$']{1,16})\$[./0-9A-Za-z]{43})')");
    int verified = 0;
    for (auto it = std::sregex_iterator(php.begin(), php.end(), entry); it != std::sregex_iterator(); ++it) {
        const std::string id = (*it)[1];
        ASSERT_TRUE(passwords.contains(id)) << when << "team " << id;
        EXPECT_EQ(HashPasswordWithSalt(passwords[id], (*it)[3].str()), (*it)[2].str())
            << when << "team " << id;
        ++verified;
    }
    EXPECT_EQ(verified, static_cast<int>(passwords.size())) << when;
}

// Every file the run writes is whole: the scripts are byte for byte those of a complete run (the PHP file
// but for its salted hashes, each checked against its password), every archive in backup/ opens with the
// password and each entry reads back with its CRC, the settings file keeps its secrets.
inline void ExpectSiteFilesWhole(const DemoLeague& demo, const SiteFiles& complete, const std::string& when) {
    const SiteFiles now = ReadSiteFiles(demo);
    for (const auto& [name, bytes] : complete.scripts) {
        if (name.ends_with(".php")) {
            EXPECT_EQ(WithoutHashes(now.scripts.at(name)), WithoutHashes(bytes)) << when << name;
            ExpectHashesOfThePasswords(demo, now.scripts.at(name), when);
        } else {
            EXPECT_EQ(now.scripts.at(name), bytes) << when << name;
        }
    }
    int backups = 0, exports = 0;  // a run killed while deleting the previous ones leaves more
    for (const auto& file : std::filesystem::directory_iterator(demo.Site() / "backup")) {
        const std::string name = PathText(file.path().filename());
        if (name.starts_with(".")) continue;
        backups += name.starts_with("FcmBackup");
        exports += name.starts_with("FcmExport");
        try {
            FileByteSource source(file.path());
            ZipReader reader(source, "demo-password");
            EXPECT_FALSE(reader.Entries().empty()) << when << name;
            for (const ZipEntryHeader& entry : reader.Entries())
                reader.Extract(entry, [](std::uint8_t*, std::size_t) {});
        } catch (const std::exception& error) {
            ADD_FAILURE() << when << name << ": " << error.what();
        }
    }
    EXPECT_GE(backups, 1) << when;
    EXPECT_GE(exports, 1) << when;
    EXPECT_EQ(IniFile::Load(demo.Settings()).ReadValue("Invio formazione", "Abilitato"), "1") << when;
    EXPECT_TRUE(IniFile::Load(demo.Settings()).HasKey("Backup", "Password")) << when;
}

// Ends a run at each write in turn, as kill -9 would (CALVORIN_FAULT_CRASH_AT), and calls `expectWhole`
// after each; then a run whose write fails at the same point (CALVORIN_FAULT_FAIL_AT) is cancelled and
// leaves nothing behind, neither its own temporary nor the one the killed run left: the file being
// written at the crash is reached before the failing write. Stops at the first run that ends by itself.
inline void CrashOrFailAtEveryWrite(const DemoLeague& demo,
                                    const std::function<void(const std::string& when)>& expectWhole) {
    std::size_t at = 1;
    for (;; ++at) {
        const std::string n = std::to_string(at);
        const CommandResult crashed = demo.RunWithFaults("CALVORIN_FAULT_CRASH_AT", at);
        expectWhole("crash at " + n + ": ");
        const CommandResult failed = demo.RunWithFaults("CALVORIN_FAULT_FAIL_AT", at);
        EXPECT_EQ(Leftovers(demo), std::vector<std::string>{}) << "failure at " << n;
        if (crashed.exitCode == 0) {
            EXPECT_EQ(failed.exitCode, 0) << failed.output;
            break;
        }
        ASSERT_EQ(crashed.exitCode, 137) << crashed.output;
        // A failed folder sync comes after a rename: the run goes on, and warns.
        const bool warned = failed.output.find("Attenzione: il file") != std::string::npos;
        EXPECT_EQ(failed.exitCode == 0, warned) << "at " << n << ": " << failed.output;
        if (::testing::Test::HasFailure()) break;  // one broken point says enough
    }
    EXPECT_GT(at, 30u) << "every file of the run is written";
    expectWhole("at the end: ");
}

}  // namespace calvorin::test
