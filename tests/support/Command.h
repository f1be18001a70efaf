// SPDX-License-Identifier: GPL-3.0-or-later
// Running the independent programs the tests compare with (php, node, unzip, 7z, python3, openssl) through
// /bin/sh: Linux only, the tests that use them are ...PeersTest.cpp files.
#pragma once

#include <filesystem>
#include <string>

#include "support/Program.h"

namespace calvorin::test {

// Runs the command through /bin/sh and collects what it prints.
inline CommandResult RunCommand(const std::string& command, Capture capture = Capture::StdoutAndStderr) {
    RunOptions options;
    options.capture = capture;
    return RunProgram("/bin/sh", {"-c", command}, options);
}

// Quotes a path or any text for /bin/sh.
inline std::string ShellQuote(const std::filesystem::path& text) {
    std::string out = "'";
    for (char c : text.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// True when the program is on the PATH.
inline bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + ShellQuote(name) + " >/dev/null").exitCode == 0;
}

// Has node run the site's three scripts in one page's scope, as the browser does, and checks that they
// define the line-up records and the 38 start times; exit code 0 when they do.
inline CommandResult NodeRunsTheSiteScripts(const std::filesystem::path& jsFolder) {
    return RunCommand(
        "node -e " +
        ShellQuote("const fs=require('fs');global.ifG=function(){};"
                   "for (const f of process.argv.slice(1)) (0,eval)(fs.readFileSync(f,'latin1'));"
                   "if (arrInvioFormazione.length < 1 || arrDateA.length != 39) process.exit(1);") +
        " " + ShellQuote(jsFolder / "fcmInvioFormazioneDati.js") + " " +
        ShellQuote(jsFolder / "fcmSerieADati.js") + " " + ShellQuote(jsFolder / "fcmVariabiliCalvorin.js"));
}

}  // namespace calvorin::test
