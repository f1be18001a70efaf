// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/Url.h"

#include <curl/curl.h>

#include <memory>

#include "platform/http/HttpTransport.h"

namespace calvorin {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};

void Check(CURLUcode code) {
    if (code != CURLUE_OK) throw HttpError(curl_url_strerror(code));
}

}  // namespace

std::string AppendQueryParameters(const std::string& url,
                                  const std::vector<std::pair<std::string, std::string>>& parameters) {
    std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle) throw std::bad_alloc();
    Check(curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0));
    for (const auto& [name, value] : parameters) {
        std::string pair = name + "=" + value;
        Check(curl_url_set(handle.get(), CURLUPART_QUERY, pair.c_str(), CURLU_APPENDQUERY | CURLU_URLENCODE));
    }
    char* text = nullptr;
    Check(curl_url_get(handle.get(), CURLUPART_URL, &text, 0));
    return std::unique_ptr<char, CurlTextDeleter>(text).get();
}

}  // namespace calvorin
