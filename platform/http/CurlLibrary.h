// SPDX-License-Identifier: GPL-3.0-or-later
// libcurl, loaded the first time a request needs it rather than when the program starts.
#pragma once

#include <curl/curl.h>

namespace calvorin {

// The calls this program makes, resolved from libcurl.so.4. Loading it at start-up would bring in some
// twenty-five libraries (TLS, Kerberos, LDAP, SSH, ...) that only the start-time download uses, and
// their loading and relocation cost the window a noticeable part of its time to first paint.
struct CurlLibrary {
    decltype(&curl_global_init) global_init;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_perform) easy_perform;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
};

// Loads libcurl once (safe from any thread) and keeps it for the life of the process. Throws HttpError
// ("libcurl non disponibile: <reason>") when the library or one of its calls cannot be found.
const CurlLibrary& Curl();

}  // namespace calvorin
