// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP GET over libcurl against the loopback test server, status lines and URL building.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/http/HttpGet.h"
#include "platform/http/OrariServer.h"
#include "platform/http/StatusLine.h"
#include "platform/http/Url.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::OrariServer;
using ::testing::HasSubstr;

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
        {"/stato/302/services.php", 302, "Found"},      // redirects are answers, never followed
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
    try {
        HttpGet(Url("/lento/services.php?servizio=orariseriea&anno=2025"), options);
        ADD_FAILURE() << "no time-out";
    } catch (const HttpError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Timeout was reached"));
    }
}

TEST(HttpGetErrorTest, TransportFailuresCarryCurlsMessage) {
    struct Case {
        std::string url;
        const char* message;
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(test::ClosedLoopbackPort()) + "/s.php",
         "Couldn't connect to server"},
        {"ftp://127.0.0.1/s.php", "Unsupported protocol"},
        {"http://nome-inesistente.invalid/s.php", "Couldn't resolve host"},
        {"", "URL using bad/illegal format or missing URL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        try {
            HttpGet(c.url, HttpOptions{});
            ADD_FAILURE() << "no error";
        } catch (const HttpError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.message));
        }
    }
}

// https with a self-signed certificate made by the openssl command: the peer must be refused.
TEST(HttpGetTlsTest, CertificatesAreVerified) {
    test::TempDir dir;
    std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 -keyout " +
                          (dir / "key.pem").string() + " -out " + (dir / "cert.pem").string() +
                          " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the openssl command is not available";
    OrariServer server({"--tls-cert", (dir / "cert.pem").string(), "--tls-key", (dir / "key.pem").string()});
    try {
        HttpGet(server.Url("/services.php?servizio=orariseriea&anno=2025", "https"), HttpOptions{});
        ADD_FAILURE() << "a self-signed certificate was accepted";
    } catch (const HttpError& e) {
        EXPECT_THAT(e.what(), HasSubstr("SSL"));
    }
}

}  // namespace
}  // namespace calvorin
