// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch talking to the start-time service: what the service says reaches the terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DemoLeagueRun.h"
#include "platform/http/OrariServer.h"

namespace calvorin {
namespace {

using test::DemoLeague;
using test::PercentEncoded;

}  // namespace

TEST(BatchEndToEnd, ServiceTextsReachTheTerminalWithControlCharactersShown) {
    DemoLeague demo;
    test::OrariServer service;
    const std::string status = "\x1b]0;PWNED\x07\x1b[2J\x1b[32mProcedura terminata con successo";
    IniFile settings = IniFile::Load(demo.Settings());
    settings.WriteString("Date e orari Serie A", "URL aggiornamento orari",
                         service.Url("/motivo/500/" + PercentEncoded(status) + "/services.php"));
    settings.WriteBool("Date e orari Serie A", "Aggiorna orari all'avvio", true);
    settings.Save(demo.Settings());

    auto run = demo.Run();
    // The message is trimmed of blanks and control characters at its ends first: the leading ESC goes.
    EXPECT_NE(run.output.find("\n  KO: ]0;PWNED\\x07\\x1B[2J\\x1B[32mProcedura terminata con successo\n"),
              std::string::npos)
        << run.output;
    auto raw = std::count_if(run.output.begin(), run.output.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\n'; });
    EXPECT_EQ(raw, 0) << "raw control bytes in the output";
}

}  // namespace calvorin
