// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/HttpGet.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>

#include "platform/http/StatusLine.h"

namespace calvorin {
namespace {

using SteadyClock = std::chrono::steady_clock;

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

EasyHandle NewEasyHandle() {
    static const CURLcode globalInit = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (globalInit != CURLE_OK) throw HttpError(curl_easy_strerror(globalInit));
    EasyHandle handle(curl_easy_init());
    if (!handle) throw HttpError(curl_easy_strerror(CURLE_FAILED_INIT));
    return handle;
}

// What the callbacks share during one transfer.
struct Transfer {
    CURL* handle = nullptr;
    const HttpOptions* options = nullptr;
    HttpResponse response;
    SteadyClock::time_point lastActivity = SteadyClock::now();
    bool idleTimeout = false;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->lastActivity = SteadyClock::now();
    // Interim answers (100 Continue) have their own status line: the last one counts.
    if (auto line = ParseStatusLine(std::string_view(data, size * count))) {
        t->response.status = line->status;
        t->response.reason = line->reason.empty() ? StandardReasonPhrase(line->status) : line->reason;
    }
    return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->lastActivity = SteadyClock::now();
    if (t->response.body.size() + size * count > t->options->maxBodyBytes) {
        t->response.bodyTooLarge = true;
        return 0;  // stops the transfer
    }
    t->response.body.append(data, size * count);
    return size * count;
}

// curl has no idle time-out below one second, so the response time-out is watched here: it starts once
// the request is on its way and restarts with every piece of the answer.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(t->handle, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    auto now = SteadyClock::now();
    if (pretransfer == 0) t->lastActivity = now;
    t->idleTimeout = now - t->lastActivity > std::chrono::milliseconds(t->options->responseTimeoutMs);
    return t->idleTimeout ? 1 : 0;
}

template <typename T>
void SetOption(CURL* handle, CURLoption option, T value) {
    CURLcode code = curl_easy_setopt(handle, option, value);
    if (code != CURLE_OK) throw HttpError(curl_easy_strerror(code));
}

void Configure(Transfer& t, const std::string& url, curl_slist* headers, char* errorBuffer) {
    CURL* h = t.handle;
    SetOption(h, CURLOPT_ERRORBUFFER, errorBuffer);
    SetOption(h, CURLOPT_URL, url.c_str());
    SetOption(h, CURLOPT_PROTOCOLS_STR, "http,https");
    SetOption(h, CURLOPT_NOSIGNAL, 1L);
    SetOption(h, CURLOPT_FOLLOWLOCATION, 0L);
    SetOption(h, CURLOPT_CONNECTTIMEOUT_MS, t.options->connectTimeoutMs);
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

[[noreturn]] void ThrowTransferError(CURLcode code, const Transfer& t, const char* errorBuffer) {
    if (t.idleTimeout)
        throw HttpError(std::string(curl_easy_strerror(CURLE_OPERATION_TIMEDOUT)) +
                        ": no data received for " + std::to_string(t.options->responseTimeoutMs) +
                        " milliseconds");
    std::string message = curl_easy_strerror(code);
    std::string detail = errorBuffer;
    if (detail.find(message) != std::string::npos) throw HttpError(detail);  // curl often repeats itself
    throw HttpError(detail.empty() ? message : message + ": " + detail);
}

}  // namespace

HttpResponse HttpGet(const std::string& url, const HttpOptions& options) {
    EasyHandle handle = NewEasyHandle();
    // An empty "Accept:" removes curl's default header: the request carries Host and User-Agent only.
    HeaderList headers(curl_slist_append(nullptr, "Accept:"));
    if (!headers) throw std::bad_alloc();
    Transfer transfer{handle.get(), &options, {}, SteadyClock::now(), false};
    char errorBuffer[CURL_ERROR_SIZE] = "";
    Configure(transfer, url, headers.get(), errorBuffer);
    CURLcode code = curl_easy_perform(handle.get());
    if (code != CURLE_OK && !transfer.response.bodyTooLarge) ThrowTransferError(code, transfer, errorBuffer);
    return std::move(transfer.response);
}

}  // namespace calvorin
