// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP GET over the system's library (libcurl, WinHTTP) against the loopback test server (deadlines,
// redirects), status lines, URLs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <nlohmann/json.hpp>

#include "platform/http/HttpGet.h"
#include "platform/http/OrariServer.h"
#include "platform/http/Redirect.h"
#include "platform/http/StatusLine.h"
#include "platform/http/Url.h"
#ifndef _WIN32
#include "support/TempDir.h"
#endif

namespace calvorin {
namespace {

using test::OrariServer;
using test::PercentEncoded;
using ::testing::HasSubstr;

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

TEST(StatusLineTest, ReadsCodeAndReasonOfStatusLinesOnly) {
    struct Case {
        const char* line;
        bool isStatus;
        int status;
        const char* reason;
    } cases[] = {
        {"HTTP/1.1 404 Not Found\r\n", true, 404, "Not Found"},
        {"HTTP/1.0 200 OK\r\n", true, 200, "OK"},
        {"HTTP/1.1 503 Servizio sospeso per manutenzione\r\n", true, 503,
         "Servizio sospeso per manutenzione"},
        {"HTTP/2 200 \r\n", true, 200, ""},
        {"HTTP/2 404\r\n", true, 404, ""},
        {"HTTP/1.1 404 Non trovato \xE8\r\n", true, 404, "Non trovato \xC3\xA8"},  // Latin-1 reason
        {"HTTP/1.1 404 Non trovato \xC3\xA8\r\n", true, 404, "Non trovato \xC3\xA8"},
        {"HTTP/1.1 500 \xED\xA0\x80\r\n", true, 500,
         "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // a surrogate is no UTF-8
        {"Content-Type: text/html\r\n", false, 0, ""},
        {"HTTP/1.1 4040 Strano\r\n", false, 0, ""},
        {"HTTP/1.1 abc\r\n", false, 0, ""},
        {"\r\n", false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::optional<StatusLine> line = ParseStatusLine(c.line);
        ASSERT_EQ(line.has_value(), c.isStatus);
        if (!line) continue;
        EXPECT_EQ(line->status, c.status);
        EXPECT_EQ(line->reason, c.reason);
    }
}

TEST(StatusLineTest, LongReasonPhrasesAreCutOnACharacterBoundary) {
    struct Case {
        std::string reason;
        std::string cut;
    } cases[] = {
        {std::string(kMaxReasonBytes, 'A'), std::string(kMaxReasonBytes, 'A')},
        {std::string(200000, 'A'), std::string(kMaxReasonBytes, 'A') + "…"},
        {"x" + Repeated("è", 150), "x" + Repeated("è", 99) + "…"},  // never half a two-byte letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason.size());
        std::optional<StatusLine> line = ParseStatusLine("HTTP/1.1 500 " + c.reason + "\r\n");
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(line->reason, c.cut);
    }
}

TEST(RedirectTest, OnlyTheFiveRedirectStatusesOverHttpAndHttpsNeverDownToHttp) {
    for (int status : {301, 302, 303, 307, 308}) EXPECT_TRUE(IsFollowedRedirect(status)) << status;
    for (int status : {200, 300, 304, 305, 306, 404}) EXPECT_FALSE(IsFollowedRedirect(status)) << status;
    struct Case {
        const char* from;
        const char* to;
        const char* refusal;  // nullptr: followed
    } cases[] = {
        {"http://a.org/s.php", "https://a.org/s.php", nullptr},
        {"http://a.org/s.php", "HTTP://b.org/s.php", nullptr},
        {"https://a.org/s.php", "https://b.org/s.php", nullptr},
        {"https://a.org/s.php", "http://a.org/s.php", "da https a http"},
        {"HTTPS://a.org/s.php", "Http://a.org/s.php", "da https a http"},
        {"http://a.org/s.php", "ftp://a.org/s.php", "né http né https"},
        {"http://a.org/s.php", "file:///etc/passwd", "né http né https"},
        {"http://a.org/s.php", "javascript:alert(1)", "né http né https"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        try {
            CheckRedirect(c.from, c.to);
            EXPECT_EQ(c.refusal, nullptr) << "followed";
        } catch (const HttpError& e) {
            ASSERT_NE(c.refusal, nullptr) << e.what();
            EXPECT_THAT(e.what(), HasSubstr(c.refusal));
        }
    }
}

TEST(StatusLineTest, StandardPhrasesFillAnswersWithoutOne) {
    EXPECT_EQ(StandardReasonPhrase(404), "Not Found");
    EXPECT_EQ(StandardReasonPhrase(500), "Internal Server Error");
    EXPECT_EQ(StandardReasonPhrase(599), "HTTP 599");
}

TEST(UrlTest, AppendsParametersAfterAnyQueryAndBeforeTheFragment) {
    const std::vector<std::pair<std::string, std::string>> parameters = {{"servizio", "orariseriea"},
                                                                         {"anno", "2025"}};
    struct Case {
        const char* url;
        const char* expected;
    } cases[] = {
        {"http://example.org/Calvorin_v2/services.php",
         "http://example.org/Calvorin_v2/services.php?servizio=orariseriea&anno=2025"},
        {"http://example.org/s.php?lega=1", "http://example.org/s.php?lega=1&servizio=orariseriea&anno=2025"},
        {"http://example.org/s.php#parte", "http://example.org/s.php?servizio=orariseriea&anno=2025#parte"},
        {"https://example.org:8443/s.php?a=1#f",
         "https://example.org:8443/s.php?a=1&servizio=orariseriea&anno=2025#f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(AppendQueryParameters(c.url, parameters), c.expected);
    }
}

TEST(UrlTest, EncodesValuesThatNeedIt) {
    std::string url = AppendQueryParameters("http://example.org/s.php", {{"lega", "Serie A&B=1"}});
    EXPECT_THAT(url, HasSubstr("lega=Serie"));
    EXPECT_THAT(url, Not(HasSubstr("A&B"))) << url;
    EXPECT_THAT(url, Not(HasSubstr("B=1"))) << url;
}

TEST(UrlTest, RejectsTextsThatAreNotAbsoluteUrls) {
    for (const char* text : {"", "non è un indirizzo", "example.org/services.php", "http://"}) {
        SCOPED_TRACE(text);
        try {
            AppendQueryParameters(text, {{"anno", "2025"}});
            ADD_FAILURE() << "no error";
        } catch (const HttpError& e) {
            EXPECT_STRNE(e.what(), "");
        }
    }
}

class HttpGetTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = std::make_unique<OrariServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    static HttpOptions Options() {
        HttpOptions options;
        options.userAgent = "Calvorin";
        options.connectTimeoutMs = 2000;
        options.responseTimeoutMs = 5000;
        return options;
    }
    static std::string Url(const std::string& path) { return server_->Url(path); }

    static std::unique_ptr<OrariServer> server_;
};
std::unique_ptr<OrariServer> HttpGetTest::server_;

TEST_F(HttpGetTest, SendsOnlyHostAndUserAgentAndReturnsTheBody) {
    HttpResponse response =
        HttpGet(Url("/Calvorin_v2/services.php?servizio=orariseriea&anno=2025"), Options());
    ASSERT_EQ(response.status, 200);
    EXPECT_EQ(response.reason, "OK");
    EXPECT_FALSE(response.bodyTooLarge);
    auto answer = nlohmann::json::parse(response.body);
    EXPECT_EQ(answer["richiesta"]["user_agent"], "Calvorin");
    EXPECT_THAT(answer["richiesta"]["intestazioni"].get<std::vector<std::string>>(),
                ::testing::UnorderedElementsAre("Host", "User-Agent"));
    EXPECT_EQ(answer["orari"].size(), 38u);
}

TEST_F(HttpGetTest, ReportsStatusAndReasonPhraseOfAnyAnswer) {
    struct Case {
        const char* path;
        int status;
        const char* reason;
    } cases[] = {
        {"/errore404/services.php", 404, "Not Found"},
        {"/motivo/503/Servizio%20sospeso/services.php", 503, "Servizio sospeso"},
        {"/stato/404/services.php", 404, "Not Found"},  // no phrase on the wire: the standard one
        {"/stato/302/services.php", 302, "Found"},      // a redirect without a Location is an answer
        {"/services.php?servizio=altro&anno=2025", 400, "Bad Request"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        HttpResponse response = HttpGet(Url(c.path), Options());
        EXPECT_EQ(response.status, c.status);
        EXPECT_EQ(response.reason, c.reason);
    }
}

TEST_F(HttpGetTest, StopsReadingABodyOverTheLimit) {
    HttpResponse big = HttpGet(Url("/enorme/services.php"), Options());
    EXPECT_EQ(big.status, 200);
    EXPECT_TRUE(big.bodyTooLarge);
    EXPECT_LE(big.body.size(), std::size_t{1} << 20);

    HttpOptions small = Options();
    small.maxBodyBytes = 100;
    HttpResponse cut = HttpGet(Url("/services.php?servizio=orariseriea&anno=2025"), small);
    EXPECT_TRUE(cut.bodyTooLarge);
    EXPECT_LE(cut.body.size(), 100u);
}

TEST_F(HttpGetTest, AnAnswerThatNeverComesTimesOut) {
    HttpOptions options = Options();
    options.responseTimeoutMs = 500;
    auto start = std::chrono::steady_clock::now();
    try {
        HttpGet(Url("/lento/services.php?servizio=orariseriea&anno=2025"), options);
        ADD_FAILURE() << "no time-out";
    } catch (const HttpError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Tempo scaduto: "));
        EXPECT_THAT(e.what(), HasSubstr(": risposta non completa entro 500 millisecondi"));
    }
    // The server stays silent for a minute: the time-out, not the server, ends the call.
    long long elapsed = MillisecondsSince(start);
    RecordProperty("elapsed_ms", std::to_string(elapsed));
    EXPECT_LT(elapsed, 500 + 1000);
}

TEST_F(HttpGetTest, ATricklingServerIsGivenUpAtTheAnswersDeadline) {
    HttpOptions options = Options();
    options.responseTimeoutMs = 1000;
    // One byte every 200 ms: each arrives well within the time-out, the whole answer would take 12 s.
    for (const char* part : {"intestazioni", "corpo"}) {
        SCOPED_TRACE(part);
        auto start = std::chrono::steady_clock::now();
        try {
            HttpGet(Url("/goccia/" + std::string(part) + "/200/60/s.php?servizio=orariseriea&anno=2025"),
                    options);
            ADD_FAILURE() << "no time-out";
        } catch (const HttpError& e) {
            EXPECT_THAT(e.what(), HasSubstr("Tempo scaduto: "));
            EXPECT_THAT(e.what(), HasSubstr(": risposta non completa entro 1000 millisecondi"));
        }
        // The deadline plus a generous margin for a loaded machine, far below the trickle's 12 s.
        RecordProperty(std::string("elapsed_ms_") + part, std::to_string(MillisecondsSince(start)));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    }
    // A slow answer that ends within the deadline is an answer.
    HttpResponse response = HttpGet(Url("/goccia/corpo/100/3/s.php?servizio=orariseriea&anno=2025"), options);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(nlohmann::json::parse(response.body)["orari"].size(), 38u);
}

TEST_F(HttpGetTest, FollowsUpToFiveRedirectsOfEachKind) {
    for (int code : {301, 302, 303, 307, 308}) {
        SCOPED_TRACE(code);
        std::string path = "/rimanda/" + std::to_string(code) + "/5/s.php?servizio=orariseriea&anno=2025";
        HttpResponse response = HttpGet(Url(path), Options());
        ASSERT_EQ(response.status, 200);
        auto answer = nlohmann::json::parse(response.body);
        EXPECT_EQ(answer["orari"].size(), 38u);
        EXPECT_EQ(answer["richiesta"]["user_agent"], "Calvorin");
    }
}

TEST_F(HttpGetTest, RedirectLoopsTooManyHopsAndOtherSchemesAreRefused) {
    struct Case {
        std::string path;
        const char* message;
    } cases[] = {
        {"/rimanda/301/6/s.php?servizio=orariseriea&anno=2025", "Troppi reindirizzamenti"},
        {"/cerchio/s.php", "Reindirizzamento circolare"},
        {"/verso/ftp%3A%2F%2F127.0.0.1%2Fs.php/", "né http né https"},
        {"/verso/file%3A%2F%2F%2Fetc%2Fpasswd/", "né http né https"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            HttpGet(Url(c.path), Options());
            ADD_FAILURE() << "no error";
        } catch (const HttpError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.message));
        }
    }
}

TEST_F(HttpGetTest, HeaderLinesOverTheirLimitAreAClearErrorAndLongReasonsAreCut) {
    HttpResponse response = HttpGet(Url("/lungo/500/90000/s.php"), Options());
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(response.reason, std::string(kMaxReasonBytes, 'A') + "…");
#ifdef _WIN32
    // WinHTTP takes one line of any length within the limit of the whole (Wine keeps its first 1460 bytes).
    EXPECT_EQ(HttpGet(Url("/lungo/500/200000/s.php"), Options()).reason,
              std::string(kMaxReasonBytes, 'A') + "…");
#else
    // curl refuses one line over 100 KB.
    try {
        HttpGet(Url("/lungo/500/200000/s.php"), Options());
        ADD_FAILURE() << "no error";
    } catch (const HttpError& e) {
        EXPECT_STREQ(e.what(), "Risposta non valida: intestazione troppo lunga");
    }
#endif
    // Lines of a kilobyte: 200 of them are an answer, 300 are over the 256 KiB of all header lines.
    EXPECT_EQ(HttpGet(Url("/righe/200/1000/s.php"), Options()).status, 200);
    try {
        HttpGet(Url("/righe/300/1000/s.php"), Options());
        ADD_FAILURE() << "no error";
    } catch (const HttpError& e) {
        EXPECT_STREQ(e.what(), "Risposta non valida: intestazione troppo lunga");
    }
}

// The same Italian words from libcurl and from WinHTTP, and nothing of the library's own.
TEST(HttpGetErrorTest, TransportFailuresAreNamedInTheSameWordsOnEverySystem) {
    struct Case {
        std::string url;
        const char* message;
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(test::ClosedLoopbackPort()) + "/s.php",
         "Impossibile connettersi al server"},
        {"ftp://127.0.0.1/s.php", "Indirizzo non valido: lo schema non è né http né https"},
        {"http://nome-inesistente.invalid/s.php", "Impossibile risolvere il nome del server"},
        {"", "Indirizzo non valido: deve iniziare con http:// o https://"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        try {
            HttpGet(c.url, HttpOptions{});
            ADD_FAILURE() << "no error";
        } catch (const HttpError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

// https with a self-signed certificate made by the openssl command: the peer must be refused.
TEST(HttpGetTlsTest, CertificatesAreVerified) {
#ifdef _WIN32
    // The server makes its certificate where it runs: under Wine the test cannot run openssl.
    OrariServer server({"--tls-self-signed"});
    // Windows refuses the chain and names its problems; Wine fails the handshake itself.
    auto refusal = ::testing::AnyOf(::testing::StartsWith("Certificato del server non valido"),
                                    ::testing::StrEq("Connessione sicura (https) non riuscita"));
#else
    test::TempDir dir;
    std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 -keyout " +
                          (dir / "key.pem").string() + " -out " + (dir / "cert.pem").string() +
                          " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the openssl command is not available";
    OrariServer server({"--tls-cert", (dir / "cert.pem").string(), "--tls-key", (dir / "key.pem").string()});
    auto refusal = ::testing::StrEq("Certificato del server non valido");
#endif
    try {
        HttpGet(server.Url("/services.php?servizio=orariseriea&anno=2025", "https"), HttpOptions{});
        ADD_FAILURE() << "a self-signed certificate was accepted";
    } catch (const HttpError& e) {
        EXPECT_THAT(e.what(), refusal);
    }
    // A redirect from http up to https is followed, to the same certificate check.
    OrariServer plain;
    std::string target = server.Url("/services.php", "https");
    try {
        HttpGet(plain.Url("/verso/" + PercentEncoded(target) + "/"), HttpOptions{});
        ADD_FAILURE() << "the redirect to https was not followed";
    } catch (const HttpError& e) {
        EXPECT_THAT(e.what(), refusal);
    }
}

}  // namespace
}  // namespace calvorin
