// SPDX-License-Identifier: GPL-3.0-or-later
// The update from the service, against the loopback test service: the merge, the rule on manual edits,
// the log lines and every failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "starttimes/ParseDateTime.h"
#include "starttimes/ServiceFixture.h"
#include "starttimes/StartTimeUpdate.h"
#include "starttimes/TestDateTime.h"

namespace calvorin {
namespace {

using test::At;
using ::testing::HasSubstr;

const LocalDateTime kServiceTime = At(2025, 10, 20, 9, 15, 42);  // "aggiornamento" of orari-2025.json

StartTimeTable DefaultTable(const std::string& url) {
    StartTimeTable table;
    for (int n = 1; n <= kMatchdays; ++n)
        ParseDateTime(DefaultStartTimeText(n), DateTimeForm::Storage, table.OrariSerieA[n - 1]);
    table.UltimaModificaManuale = At(2000, 1, 1);
    table.UrlServizio = url;
    return table;
}

std::string Answer(const std::string& orari, const std::string& aggiornamento = "\"2025-10-20 09.15\"") {
    return "{\"aggiornamento\": " + aggiornamento + ", \"orari\": " + orari + "}";
}

bool SameTable(const StartTimeTable& a, const StartTimeTable& b) {
    return a.OrariSerieA == b.OrariSerieA && a.UltimaModificaManuale == b.UltimaModificaManuale;
}

class StartTimeUpdateTest : public test::ServiceFixture {
  protected:
    static void SetUpTestSuite() {
        ServiceFixture::SetUpTestSuite();
        std::string same = "{";
        for (int n = 1; n <= kMatchdays; ++n)
            same += (n > 1 ? ", \"" : "\"") + MatchdayKey(n) + "\": \"" +
                    std::string(DefaultStartTimeText(n)) + "\"";
        Scenario("uguali", Answer(same + "}"));
        Scenario("secondi", Answer(R"({"1a": "2023-08-19 18.30.15"})"));
        Scenario("nomi",
                 Answer(R"({"01a": "2023-08-19 18.30", "a": "2023-08-20 18.30", "0a": "2023-08-20 18.30",
            "39a": "2023-08-20 18.30", "1A": "2023-08-20 18.30", "1b": "2023-08-20 18.30", " 2a": "2023-08-20 18.30",
            "2a ": "2023-08-20 18.30", "3a": 20230826, "4a": "2023-02-30 10.00", "5a": "2023-08-19 24.00",
            "6a": "2023-8-19 18.00", "7a": "2023-09-01 20.45", "000008a": "2023-09-02 18.00",
            "99999999999999999999a": "2023-08-20 18.30", "10a": null, "11a": {"x": 1}})"));
        Scenario("doppi", Answer(R"({"5a": "2023-10-01 15.00", "05a": "2023-10-02 15.00",
            "6a": "2023-10-03 15.00", "6a": "2023-10-04 15.00"})"));
        // Numbers no double holds, in members the update ignores or skips.
        Scenario("fuori-scala",
                 "{\"extra\": [1e999, -1E+999, 1e-999, " + std::string(400, '9') +
                     ", {\"k\": \"a\\\"1e999\"}], " +
                     Answer(R"({"1a": 1e999, "2a": "2023-08-20 18.30", "3a": "1e999"})").substr(1));
        Scenario("agg-mancante", R"({"orari": {"1a": "2023-08-19 18.30"}})");
        Scenario("agg-numero", Answer(R"({"1a": "2023-08-19 18.30"})", "20251020"));
        Scenario("agg-nullo", Answer(R"({"1a": "2023-08-19 18.30"})", "null"));
        Scenario("agg-impossibile", Answer(R"({"1a": "2023-08-19 18.30"})", "\"2023-02-30 10.00\""));
        Scenario("agg-ora", Answer(R"({"1a": "2023-08-19 18.30"})", "\"2023-08-19 24.00\""));
        Scenario("agg-fuori-scala", Answer(R"({"1a": "2023-08-19 18.30"})", "1e999"));
        Scenario("agg-forma", Answer(R"({"1a": "2023-08-19 18.30"})", "\"20/10/2025 09:15\""));
        Scenario("orari-mancante", R"({"aggiornamento": "2025-10-20 09.15"})");
        Scenario("orari-array", Answer(R"(["2023-08-19 18.30"])"));
        Scenario("orari-testo", Answer(R"("2023-08-19 18.30")"));
        Scenario("annidato", std::string(100000, '[') + std::string(100000, ']'));
        Scenario("troncato", R"({"aggiornamento": "2025-10-20 09.15", "orari": {"1a": )");
    }

    // Runs the update and returns how often each row was reported as changed.
    std::map<int, int> Run(StartTimeTable& table, bool byUser, long responseTimeoutMs = 5000) {
        std::unique_ptr<HttpTransport> transport = Transport(responseTimeoutMs);
        std::map<int, int> rows;
        AggiornaOrari(table, byUser, 2025, *transport, log, [&](int row) { ++rows[row]; });
        return rows;
    }

    MemoryLogSink sink;
    Log log{sink};
};

TEST_F(StartTimeUpdateTest, UserRequestAppliesTheServiceAndMovesTheManualTime) {
    std::string url = Url("/Calvorin_v2/services.php");
    StartTimeTable table = DefaultTable(url);
    table.UltimaModificaManuale = At(2030, 1, 1);  // newer than the service: applied anyway
    std::map<int, int> rows = Run(table, true);

    EXPECT_EQ(rows.size(), 38u);
    EXPECT_EQ(table.OrariSerieA[0], At(2025, 8, 23, 18, 30));
    EXPECT_EQ(table.OrariSerieA[37], At(2026, 5, 24, 20, 45));
    EXPECT_EQ(table.UltimaModificaManuale, kServiceTime);
    EXPECT_EQ(sink.Text(),
              "\n• Aggiornamento data/ora inizio partite di Serie A\n  " + url +
                  "\n  Aggiornamento servizio: 20/10/2025 09:15:42\n  OK: aggiornati 38 orari\n");
    const LogSegment& heading = sink.Lines()[0].segments.back();
    EXPECT_TRUE(heading.style.bold);
    EXPECT_EQ(heading.style.color, (Rgb{0, 0, 128}));
    EXPECT_TRUE(sink.Lines()[1].segments.back().style.italic);                 // the URL
    EXPECT_EQ(sink.Lines().back().segments[1].style.color, (Rgb{0, 128, 0}));  // OK
}

TEST_F(StartTimeUpdateTest, AServiceThatMovedIsFollowedToItsNewAddress) {
    for (const char* path : {"/rimanda/301/1/Calvorin_v2/services.php", "/rimanda/308/5/services.php"}) {
        SCOPED_TRACE(path);
        MemoryLogSink caseSink;
        log = Log(caseSink);
        StartTimeTable table = DefaultTable(Url(path));
        std::map<int, int> rows = Run(table, true);
        EXPECT_EQ(rows.size(), 38u);
        EXPECT_EQ(caseSink.LastLine(), "  OK: aggiornati 38 orari");
    }
}

TEST_F(StartTimeUpdateTest, AutomaticRunSkipsTheTableUnlessTheServiceIsNewer) {
    struct Case {
        LocalDateTime manual;
        bool applied;
    } cases[] = {
        {kServiceTime, false},
        {At(2025, 10, 20, 9, 15, 43), false},
        {At(2025, 10, 20, 9, 15, 41), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.manual.LogForm());
        MemoryLogSink caseSink;
        log = Log(caseSink);
        std::string url = Url("/services.php");
        StartTimeTable table = DefaultTable(url);
        table.UltimaModificaManuale = c.manual;
        const StartTimeTable before = table;
        std::map<int, int> rows = Run(table, false);

        EXPECT_EQ(table.UltimaModificaManuale, c.manual);  // an automatic run never moves it
        EXPECT_EQ(rows.size(), c.applied ? 38u : 0u);
        EXPECT_EQ(table.OrariSerieA == before.OrariSerieA, !c.applied);
        std::string expected =
            "\n• Aggiornamento data/ora inizio partite di Serie A\n  Ultima modifica manuale: " +
            c.manual.LogForm() + "\n  " + url + "\n  Aggiornamento servizio: 20/10/2025 09:15:42\n";
        expected += c.applied ? "  OK: aggiornati 38 orari\n"
                              : "  Modifica manuale più recente dell'aggiornamento del servizio\n"
                                "  OK: aggiornati 0 orari\n";
        EXPECT_EQ(caseSink.Text(), expected);
    }
}

TEST_F(StartTimeUpdateTest, MergeFollowsNamesValuesAndOrderOfTheAnswer) {
    struct Case {
        const char* scenario;
        int count;
        std::map<int, int> rows;  // row -> times reported
        std::vector<std::pair<int, LocalDateTime>> values;
    } cases[] = {
        {"uguali", 0, {}, {}},
        {"secondi", 1, {{1, 1}}, {{1, At(2023, 8, 19, 18, 30, 15)}}},
        {"nomi",
         3,
         {{1, 1}, {7, 1}, {8, 1}},
         {{1, At(2023, 8, 19, 18, 30)}, {7, At(2023, 9, 1, 20, 45)}, {8, At(2023, 9, 2, 18)}}},
        // "5a" then "05a", and "6a" twice: each member applied and counted in turn, the later wins.
        {"doppi", 4, {{5, 2}, {6, 2}}, {{5, At(2023, 10, 2, 15)}, {6, At(2023, 10, 4, 15)}}},
        {"fuori-scala", 1, {{2, 1}}, {{2, At(2023, 8, 20, 18, 30)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        MemoryLogSink caseSink;
        log = Log(caseSink);
        StartTimeTable table = DefaultTable(Url("/scenario/" + std::string(c.scenario) + "/services.php"));
        StartTimeTable expected = table;
        for (const auto& [row, value] : c.values) expected.OrariSerieA[row - 1] = value;
        std::map<int, int> rows = Run(table, true);

        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(table.OrariSerieA, expected.OrariSerieA);
        EXPECT_EQ(table.UltimaModificaManuale, At(2025, 10, 20, 9, 15));
        EXPECT_EQ(caseSink.LastLine(), "  OK: aggiornati " + std::to_string(c.count) + " orari");
    }
}

// What a port where no one listens gives, whatever the system's HTTP library.
constexpr const char* kNoConnection = "Impossibile connettersi al server";

TEST_F(StartTimeUpdateTest, FailuresLeaveTheTableAsItWasAndLogKo) {
    const std::string closed =
        "http://127.0.0.1:" + std::to_string(test::ClosedLoopbackPort()) + "/services.php";
    struct Case {
        std::string url;
        const char* message;
        bool exact;
        long timeoutMs = 5000;
    } cases[] = {
        {Url("/errore404/services.php"), "Not Found", true},
        {Url("/motivo/503/Servizio%20sospeso/services.php"), "Servizio sospeso", true},
        {Url("/nonjson/services.php"), "Risposta non valida", true},
        {Url("/enorme/services.php"), "Risposta non valida", true},
        {Url("/array/services.php"), "Risposta non valida", true},
        {Url("/scenario/annidato/services.php"), "Risposta non valida", true},
        {Url("/scenario/troncato/services.php"), "Risposta non valida", true},
        {Url("/scenario/orari-mancante/services.php"), "Risposta non valida", true},
        {Url("/scenario/orari-array/services.php"), "Risposta non valida", true},
        {Url("/scenario/orari-testo/services.php"), "Risposta non valida", true},
        {Url("/scenario/agg-mancante/services.php"), "Data/ora aggiornamento non disponibile", true},
        {Url("/scenario/agg-numero/services.php"), "Data/ora aggiornamento non disponibile", true},
        {Url("/scenario/agg-nullo/services.php"), "Data/ora aggiornamento non disponibile", true},
        {Url("/scenario/agg-impossibile/services.php"), "Data/ora aggiornamento non disponibile", true},
        {Url("/scenario/agg-ora/services.php"), "Data/ora aggiornamento non disponibile", true},
        {Url("/scenario/agg-forma/services.php"), "Data/ora aggiornamento non disponibile", true},
        {Url("/scenario/agg-fuori-scala/services.php"), "Data/ora aggiornamento non disponibile", true},
        {closed, kNoConnection, false},
        {Url("/lento/services.php"), ": risposta non completa entro 500 millisecondi", false, 500},
        {Url("/goccia/corpo/200/60/services.php"), ": risposta non completa entro 1000 millisecondi", false,
         1000},
        {Url("/rimanda/302/6/services.php"), "Troppi reindirizzamenti", false},
        {"", "deve iniziare con http:// o https://", false},
        {"non è un indirizzo", "deve iniziare con http:// o https://", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        MemoryLogSink caseSink;
        log = Log(caseSink);
        StartTimeTable table = DefaultTable(c.url);
        const StartTimeTable before = table;
        std::map<int, int> rows = Run(table, true, c.timeoutMs);

        EXPECT_TRUE(SameTable(table, before));
        EXPECT_TRUE(rows.empty());
        std::string last = caseSink.LastLine();
        if (c.exact) {
            EXPECT_EQ(last, std::string("  KO: ") + c.message);
        } else {
            EXPECT_THAT(last, ::testing::StartsWith("  KO: "));
            EXPECT_THAT(last, HasSubstr(c.message));
        }
        EXPECT_EQ(caseSink.Lines().back().segments[1].style.color, (Rgb{255, 0, 0}));
    }
}

TEST_F(StartTimeUpdateTest, RequestCarriesSeasonUserAgentAndTheUrlsOwnQuery) {
    std::unique_ptr<HttpTransport> transport = Transport();
    ServiceAnswer answer =
        GetOrariServizio(*transport, Url("/Calvorin_v2/services.php?lega=Prova%20A#sezione"), 2025);
    const auto& request = answer.at("richiesta");
    EXPECT_EQ(request.at("user_agent"), "Calvorin");
    EXPECT_EQ(request.at("parametri"),
              ServiceAnswer::parse(R"([["lega", "Prova A"], ["servizio", "orariseriea"],
                                                              ["anno", "2025"]])"));
    EXPECT_THAT(request.at("intestazioni").get<std::vector<std::string>>(),
                ::testing::UnorderedElementsAre("Host", "User-Agent"));
}

}  // namespace
}  // namespace calvorin
