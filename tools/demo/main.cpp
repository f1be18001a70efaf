// SPDX-License-Identifier: GPL-3.0-or-later
// calvorin-demo: writes a complete demo FCM environment and prints the arguments that start Calvorin on it.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/PathText.h"
#include "platform/os/Process.h"
#include "tools/demo/DemoEnvironment.h"
#include "tools/demo/DemoLeague.h"

namespace {

constexpr const char* kUsage =
    "Uso: calvorin-demo <cartella> [--teams N] [--seed S] [--players 25-30] [--format mdb|sqlite]\n"
    "Scrive nella cartella una cartella di FCM e un sito di prova completi, poi stampa gli argomenti che\n"
    "avviano Calvorin su di essi.\n"
    "La lega è scritta come file Access di FCM (.mdb); con --format sqlite come file SQLite (.db).\n"
    "Vedere anche: man calvorin-demo\n";

bool ParseNumber(const std::string& text, unsigned long long& out) {
    try {
        std::size_t used = 0;
        out = std::stoull(text, &used);
        return used == text.size() && text[0] != '-';
    } catch (const std::exception&) {
        return false;
    }
}

// `words` are the arguments after the program's name, in UTF-8.
bool ParseArguments(const std::vector<std::string>& words, std::string& folder,
                    calvorin::demo::DemoOptions& o, calvorin::demo::LeagueFormat& format) {
    const std::size_t count = words.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view arg = words[i];
        unsigned long long n = 0;
        if (arg == "--format") {
            if (++i >= count) return false;
            const std::string_view value = words[i];
            if (value != "mdb" && value != "sqlite") return false;
            format =
                value == "mdb" ? calvorin::demo::LeagueFormat::Access : calvorin::demo::LeagueFormat::Sqlite;
        } else if (arg == "--teams" || arg == "--seed" || arg == "--players") {
            if (++i >= count || !ParseNumber(words[i], n)) return false;
            if (arg == "--teams") o.teams = static_cast<int>(std::min(n, 1000ULL));
            if (arg == "--seed") o.seed = n;
            if (arg == "--players") o.playersPerTeam = static_cast<int>(std::min(n, 1000ULL));
        } else if (folder.empty() && !arg.starts_with("--")) {
            folder = arg;
        } else {
            return false;
        }
    }
    return !folder.empty();
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    calvorin::demo::DemoOptions options;
    calvorin::demo::LeagueFormat format = calvorin::demo::LeagueFormat::Access;
    const std::vector<std::string> words = calvorin::ProgramArguments(argc, argv);
    for (const std::string& word : words) {
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);  // asked for: an answer, not a failure
            return 0;
        }
    }
    if (!ParseArguments(words, folder, options, format)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        const auto league = calvorin::demo::BuildDemoLeague(options);
        const auto paths = calvorin::demo::WriteDemoEnvironment(calvorin::Utf8Path(folder), league, format);
        std::printf("%s\n", calvorin::demo::LaunchArguments(paths).c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "calvorin-demo: %s\n", e.what());
        return 1;
    }
}
