// SPDX-License-Identifier: GPL-3.0-or-later
// Team passwords and addresses, the league president, and the sender's mailbox.
#include <gtest/gtest.h>

#include "lineup/FantasyTeams.h"
#include "lineup/Mailbox.h"

namespace calvorin {
namespace {

TEST(TeamPassword, TakesTheTextBeforeTheMarker) {
    struct Case {
        std::string_view telef2;
        std::string_view expected;
    };
    const Case cases[] = {{"segreta[noex]", "segreta"},
                          {"segreta \t [noex]", "segreta"},
                          {"  segreta[noex]", "  segreta"},
                          {"a'b\\c[noex] tail", "a'b\\c"},
                          {"città[noex][noex]", "città"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.telef2);
        EXPECT_EQ(TeamPassword(c.telef2), c.expected);
    }
}

TEST(TeamPassword, RefusesPlainAndEmptyPasswords) {
    struct Case {
        std::string_view telef2;
        const char* message;
    };
    const Case cases[] = {{"segreta", "Non è possibile utilizzare esportate in chiaro"},
                          {"segreta[NOEX]", "Non è possibile utilizzare esportate in chiaro"},
                          {"", "Non è possibile utilizzare esportate in chiaro"},
                          {"[noex]", "Non è possibile utilizzare password vuote"},
                          {"   [noex]", "Non è possibile utilizzare password vuote"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.telef2);
        try {
            TeamPassword(c.telef2);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(TeamAddress, DropsTheMarkerAndBlanks) {
    EXPECT_EQ(TeamAddress(" uno@example.org "), "uno@example.org");
    EXPECT_EQ(TeamAddress("uno@example.org [noex]"), "uno@example.org");
    EXPECT_EQ(TeamAddress("[noex]"), "");
    EXPECT_EQ(TeamAddress(""), "");
}

FantasyTeam Team(std::int64_t id, std::string email, bool president) {
    return {id, "Squadra " + std::to_string(id), "x[noex]", std::move(email), president};
}

TEST(TeamDirectoryBuilder, CollectsRecipientsAndThePresident) {
    struct Case {
        const char* name;
        bool autoPresident;
        std::vector<FantasyTeam> teams;
        std::string address;
        std::int64_t team;
        std::size_t recipients;
    };
    const Case cases[] = {
        {"auto: the president's team",
         true,
         {Team(1, "a@x.it", false), Team(2, "b@x.it [noex]", true)},
         "b@x.it",
         2,
         2},
        {"auto: the last president wins",
         true,
         {Team(3, "c@x.it", true), Team(4, "d@x.it", true)},
         "d@x.it",
         4,
         2},
        {"auto: president without address",
         true,
         {Team(5, "", true), Team(6, "f@x.it", false)},
         "typed@x.it",
         0,
         1},
        {"not auto: the typed address", false, {Team(7, "g@x.it", true)}, "typed@x.it", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TeamDirectoryBuilder builder(" typed@x.it ", c.autoPresident);
        for (const FantasyTeam& t : c.teams) builder.Add(t);
        EXPECT_EQ(builder.Result().presidentAddress, c.address);
        EXPECT_EQ(builder.Result().presidentTeam, c.team);
        EXPECT_EQ(builder.Result().recipients.size(), c.recipients);
    }
}

TEST(FormatSender, WritesAStandardMailbox) {
    struct Case {
        std::string_view typed;
        std::string_view league;
        std::string_view expected;
    };
    const Case cases[] = {
        {"", "Lega Amici", ""},
        {"   ", "Lega Amici", ""},
        {"lega@example.org", "Lega Amici", "Lega Amici <lega@example.org>"},
        {"<lega@example.org>", "Lega Amici", "Lega Amici <lega@example.org>"},
        {"lega@example.org", "", "lega@example.org"},
        {"lega@example.org", "lega@example.org", "lega@example.org"},
        {"Mario Rossi <m@example.org>", "Lega", "Mario Rossi <m@example.org>"},
        {"\"Mario Rossi\" <m@example.org>", "Lega", "Mario Rossi <m@example.org>"},
        {"\"Rossi, Mario\" <m@example.org>", "Lega", "\"Rossi, Mario\" <m@example.org>"},
        {"\"Il \\\"Capo\\\"\" <m@example.org>", "Lega", "\"Il \\\"Capo\\\"\" <m@example.org>"},
        {"m@example.org", "Lega dell'Università", "\"Lega dell'Università\" <m@example.org>"},
        {"m@example.org", "Lega O'Neil", "Lega O'Neil <m@example.org>"},
        {"m@example.org", "A\\B", "\"A\\\\B\" <m@example.org>"},
        {"m@example.org", "Lega.Amici", "\"Lega.Amici\" <m@example.org>"},
        {"m@example.org", "Lega\r\nBcc: x@evil.org", "\"Lega  Bcc: x@evil.org\" <m@example.org>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SCOPED_TRACE(c.league);
        EXPECT_EQ(FormatSender(c.typed, c.league), c.expected);
    }
}

}  // namespace
}  // namespace calvorin
