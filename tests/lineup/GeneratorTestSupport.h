// SPDX-License-Identifier: GPL-3.0-or-later
// A league environment, options and a log for running the whole line-up generator in tests.
#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "fixtures/LeagueFixture.h"
#include "lineup/GeneraDatiInvioFormazione.h"
#include "plugin/log/Log.h"

namespace calvorin::test {

class GeneratorFixture : public testing::Test {
  protected:
    GeneratorFixture() { options.scriptServer = "invform/invform.php"; }

    // Writes the league (unless told not to) and runs the generator.
    bool Run(bool writeLeague = true) {
        if (writeLeague) env.WriteLeague(league);
        Log log(sink);
        return GeneraDatiInvioFormazione(options, env.Context(), log);
    }

    std::string JsText() const { return ReadBytes(env.JsFile()); }
    std::string PhpText() const { return ReadBytes(env.PhpFile()); }

    LeagueEnvironment env;
    demo::LeagueData league = SmallLeague();
    LineupOptions options;
    MemoryLogSink sink;
};

// Joins lines as the files hold them: CR LF after each.
inline std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// The password hashes of a PHP settings file, in file order.
inline std::vector<std::string> HashesIn(const std::string& php) {
    static const std::regex hash(R"('(\$5\$[A-Za-z0-9+/]{16}\$[./0-9A-Za-z]{43})')");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(php.begin(), php.end(), hash); it != std::sregex_iterator(); ++it)
        out.push_back((*it)[1]);
    return out;
}

// The file with every password hash replaced by HASH.
inline std::string MaskHashes(const std::string& php) {
    static const std::regex hash(R"(\$5\$[A-Za-z0-9+/]{16}\$[./0-9A-Za-z]{43})");
    return std::regex_replace(php, hash, "HASH");
}

}  // namespace calvorin::test
