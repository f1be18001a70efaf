// SPDX-License-Identifier: GPL-3.0-or-later
// The hop over libcurl, the system's HTTP library on Linux.
#include <memory>

#include "platform/http/CurlLibrary.h"
#include "platform/http/HttpHop.h"
#include "platform/http/NetworkFailure.h"
#include "platform/http/StatusLine.h"

namespace calvorin {
namespace {

struct EasyDeleter {
    void operator()(CURL* handle) const { Curl().easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { Curl().slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

EasyHandle NewEasyHandle() {
    static const CURLcode globalInit = Curl().global_init(CURL_GLOBAL_DEFAULT);
    if (globalInit != CURLE_OK) throw HttpError(Curl().easy_strerror(globalInit));
    EasyHandle handle(Curl().easy_init());
    if (!handle) throw HttpError(Curl().easy_strerror(CURLE_FAILED_INIT));
    return handle;
}

// What the callbacks share during one transfer.
struct Transfer {
    CURL* handle = nullptr;
    const HttpOptions* options = nullptr;
    HttpDeadlines* deadlines = nullptr;
    HttpResponse response;
    std::size_t headerBytes = 0;
    bool inBody = false;
    bool answerTimeout = false;
    bool headersTooLarge = false;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->deadlines->RequestSent();
    t->headerBytes += size * count;
    if (t->headerBytes > kMaxHeaderBytes) {
        t->headersTooLarge = true;
        return 0;  // stops the transfer
    }
    // Interim answers (100 Continue) have their own status line: the last one counts.
    if (auto line = ParseStatusLine(std::string_view(data, size * count))) {
        t->response.status = line->status;
        t->response.reason = line->reason.empty() ? StandardReasonPhrase(line->status) : line->reason;
    }
    return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->inBody = true;
    if (t->response.body.size() + size * count > t->options->maxBodyBytes) {
        t->response.bodyTooLarge = true;
        return 0;  // stops the transfer
    }
    t->response.body.append(data, size * count);
    return size * count;
}

// The answer's deadline starts once the request is on its way, which only curl knows.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    curl_off_t pretransfer = 0;
    Curl().easy_getinfo(t->handle, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    if (pretransfer > 0) t->deadlines->RequestSent();
    t->answerTimeout = t->deadlines->AnswerStarted() && HttpClock::now() >= t->deadlines->End();
    return t->answerTimeout ? 1 : 0;
}

template <typename T>
void SetOption(CURL* handle, CURLoption option, T value) {
    CURLcode code = Curl().easy_setopt(handle, option, value);
    if (code != CURLE_OK) throw HttpError(Curl().easy_strerror(code));
}

void Configure(Transfer& t, const std::string& url, curl_slist* headers, char* errorBuffer) {
    CURL* h = t.handle;
    SetOption(h, CURLOPT_ERRORBUFFER, errorBuffer);
    SetOption(h, CURLOPT_URL, url.c_str());
    SetOption(h, CURLOPT_PROTOCOLS_STR, "http,https");
    SetOption(h, CURLOPT_NOSIGNAL, 1L);
    SetOption(h, CURLOPT_FOLLOWLOCATION, 0L);  // followed by HttpGet, under its own rules
    SetOption(h, CURLOPT_CONNECTTIMEOUT_MS, RemainingMs(t.deadlines->ConnectEnd()));
    SetOption(h, CURLOPT_TIMEOUT_MS, RemainingMs(t.deadlines->End()));
    SetOption(h, CURLOPT_HTTPHEADER, headers);
    if (!t.options->userAgent.empty()) SetOption(h, CURLOPT_USERAGENT, t.options->userAgent.c_str());
    SetOption(h, CURLOPT_HEADERFUNCTION, OnHeader);
    SetOption(h, CURLOPT_HEADERDATA, &t);
    SetOption(h, CURLOPT_WRITEFUNCTION, OnBody);
    SetOption(h, CURLOPT_WRITEDATA, &t);
    SetOption(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    SetOption(h, CURLOPT_XFERINFODATA, &t);
    SetOption(h, CURLOPT_NOPROGRESS, 0L);
}

NetworkFailure FailureOf(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return NetworkFailure::NameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return NetworkFailure::CannotConnect;
        case CURLE_OPERATION_TIMEDOUT:
            return NetworkFailure::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return NetworkFailure::Certificate;
        case CURLE_SSL_CONNECT_ERROR:
            return NetworkFailure::SecureChannel;
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            return NetworkFailure::ConnectionLost;
        default:
            return NetworkFailure::Other;
    }
}

[[noreturn]] void ThrowTransferError(CURLcode code, const Transfer& t, const char* errorBuffer) {
    if (t.answerTimeout || (code == CURLE_OPERATION_TIMEDOUT && t.deadlines->AnswerStarted()))
        throw HopError(HopError::Kind::AnswerTimeout, NetworkFailureText(NetworkFailure::TimedOut));
    // curl 7.88 reports a header line over its 100 KB limit as "Out of memory".
    if (t.headersTooLarge || (code == CURLE_OUT_OF_MEMORY && !t.inBody))
        throw HopError(HopError::Kind::HeaderTooLarge, Curl().easy_strerror(code));
    const NetworkFailure failure = FailureOf(code);
    if (failure != NetworkFailure::Other) throw HttpError(NetworkFailureText(failure));
    std::string message = Curl().easy_strerror(code);
    std::string detail = errorBuffer;
    if (detail.find(message) == std::string::npos && !detail.empty()) message += ": " + detail;
    throw HttpError(NetworkFailureText(failure, message));  // curl often repeats itself in the detail
}

class CurlHop : public HttpHop {
  public:
    HopAnswer Get(const std::string& url, const HttpOptions& options, HttpDeadlines& deadlines) override {
        EasyHandle handle = NewEasyHandle();
        // An empty "Accept:" removes curl's default header: the request carries Host and User-Agent only.
        HeaderList headers(Curl().slist_append(nullptr, "Accept:"));
        if (!headers) throw std::bad_alloc();
        Transfer transfer;
        transfer.handle = handle.get();
        transfer.options = &options;
        transfer.deadlines = &deadlines;
        char errorBuffer[CURL_ERROR_SIZE] = "";
        Configure(transfer, url, headers.get(), errorBuffer);
        CURLcode code = Curl().easy_perform(handle.get());
        if (code != CURLE_OK && !transfer.response.bodyTooLarge)
            ThrowTransferError(code, transfer, errorBuffer);
        HopAnswer answer{std::move(transfer.response), {}};
        char* location = nullptr;
        if (Curl().easy_getinfo(handle.get(), CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
            answer.location = location;
        return answer;
    }
};

}  // namespace

std::unique_ptr<HttpHop> MakeSystemHttpHop() {
    return std::make_unique<CurlHop>();
}

}  // namespace calvorin
