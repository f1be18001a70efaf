// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/CurlLibrary.h"

#include <string>

#include "platform/http/HttpTransport.h"
#include "platform/os/SharedLibrary.h"

namespace calvorin {
namespace {

// The soname of libcurl 7.16 and later, whose interface every call here keeps.
constexpr const char* kLibraryName = "libcurl.so.4";

template <typename Function>
void Resolve(const SharedLibrary& library, const char* name, Function& function) {
    // The system hands back an object pointer; POSIX guarantees it converts to the function's pointer.
    function = reinterpret_cast<Function>(library.Symbol(name));
    if (!function) throw HttpError(std::string("libcurl non disponibile: manca ") + name);
}

CurlLibrary Load() {
    // Never unloaded: curl keeps global state (its TLS back end) until the process ends.
    static const SharedLibrary* library = [] {
        try {
            return new SharedLibrary(kLibraryName);  // NOLINT(cppcoreguidelines-owning-memory): kept for good
        } catch (const std::exception& e) {
            throw HttpError(std::string("libcurl non disponibile: ") + e.what());
        }
    }();
    CurlLibrary curl{};
    Resolve(*library, "curl_global_init", curl.global_init);
    Resolve(*library, "curl_easy_init", curl.easy_init);
    Resolve(*library, "curl_easy_cleanup", curl.easy_cleanup);
    Resolve(*library, "curl_easy_setopt", curl.easy_setopt);
    Resolve(*library, "curl_easy_getinfo", curl.easy_getinfo);
    Resolve(*library, "curl_easy_perform", curl.easy_perform);
    Resolve(*library, "curl_easy_strerror", curl.easy_strerror);
    Resolve(*library, "curl_slist_append", curl.slist_append);
    Resolve(*library, "curl_slist_free_all", curl.slist_free_all);
    return curl;
}

}  // namespace

const CurlLibrary& Curl() {
    // A failed load throws out of the initializer, so the next call tries again.
    static const CurlLibrary curl = Load();
    return curl;
}

}  // namespace calvorin
