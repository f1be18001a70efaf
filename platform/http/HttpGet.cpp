// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/HttpGet.h"

#include <set>

#include "platform/http/Redirect.h"
#include "platform/http/Url.h"

namespace calvorin {
namespace {

HopAnswer GetOnce(HttpHop& hop, const std::string& url, const HttpOptions& options,
                  HttpDeadlines& deadlines) {
    try {
        HopAnswer answer = hop.Get(url, options, deadlines);
        // Whatever the library did, no more than the limit reaches the caller.
        if (answer.response.body.size() > options.maxBodyBytes) {
            answer.response.body.resize(options.maxBodyBytes);
            answer.response.bodyTooLarge = true;
        }
        return answer;
    } catch (const HopError& e) {
        switch (e.kind()) {
            case HopError::Kind::AnswerTimeout:
                throw HttpError(std::string(e.what()) + ": risposta non completa entro " +
                                std::to_string(options.responseTimeoutMs) + " millisecondi");
            case HopError::Kind::ConnectTimeout:
                throw HttpError(std::string(e.what()) + ": connessione non stabilita entro " +
                                std::to_string(options.connectTimeoutMs) + " millisecondi");
            case HopError::Kind::HeaderTooLarge:
                throw HttpError("Risposta non valida: intestazione troppo lunga");
        }
        throw;
    }
}

class SystemTransport : public HttpTransport {
  public:
    explicit SystemTransport(HttpOptions options) : options_(std::move(options)), hop_(MakeSystemHttpHop()) {}
    HttpResponse Get(const std::string& url) override { return HttpGet(*hop_, url, options_); }

  private:
    HttpOptions options_;
    std::unique_ptr<HttpHop> hop_;
};

}  // namespace

HttpResponse HttpGet(HttpHop& hop, const std::string& url, const HttpOptions& options) {
    ParseUrl(url);  // what no library should see, refused in our words on every system
    HttpDeadlines deadlines(options);
    std::set<std::string> visited{url};
    std::string current = url;
    for (int redirects = 0;; ++redirects) {
        HopAnswer answer = GetOnce(hop, current, options, deadlines);
        if (!IsFollowedRedirect(answer.response.status) || answer.location.empty())
            return std::move(answer.response);
        if (redirects == kMaxRedirects)
            throw HttpError("Troppi reindirizzamenti: il servizio rimanda oltre 5 volte");
        CheckRedirect(current, answer.location);
        if (!visited.insert(answer.location).second)
            throw HttpError("Reindirizzamento circolare: il servizio rimanda a un indirizzo già visitato");
        current = std::move(answer.location);
    }
}

HttpResponse HttpGet(const std::string& url, const HttpOptions& options) {
    return HttpGet(*MakeSystemHttpHop(), url, options);
}

std::unique_ptr<HttpTransport> MakeHttpTransport(HttpOptions options) {
    return std::make_unique<SystemTransport>(std::move(options));
}

}  // namespace calvorin
