// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/Url.h"

#include <memory>

#include "platform/http/CurlLibrary.h"
#include "platform/http/HttpTransport.h"

namespace calvorin {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { Curl().url_cleanup(url); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { Curl().free(text); }
};

void Check(CURLUcode code) {
    if (code != CURLUE_OK) throw HttpError(Curl().url_strerror(code));
}

}  // namespace

std::string AppendQueryParameters(const std::string& url,
                                  const std::vector<std::pair<std::string, std::string>>& parameters) {
    std::unique_ptr<CURLU, UrlDeleter> handle(Curl().url());
    if (!handle) throw std::bad_alloc();
    Check(Curl().url_set(handle.get(), CURLUPART_URL, url.c_str(), 0));
    for (const auto& [name, value] : parameters) {
        std::string pair = name + "=" + value;
        Check(
            Curl().url_set(handle.get(), CURLUPART_QUERY, pair.c_str(), CURLU_APPENDQUERY | CURLU_URLENCODE));
    }
    char* text = nullptr;
    Check(Curl().url_get(handle.get(), CURLUPART_URL, &text, 0));
    return std::unique_ptr<char, CurlTextDeleter>(text).get();
}

}  // namespace calvorin
