// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/ServiceClient.h"

#include <stdexcept>

#include "platform/http/Url.h"
#include "platform/text/Encoding.h"
#include "plugin/PluginContext.h"
#include "starttimes/JsonNumbers.h"
#include "starttimes/ParseDateTime.h"

namespace calvorin {
namespace {

constexpr const char* kInvalidAnswer = "Risposta non valida";

}  // namespace

HttpOptions ServiceHttpOptions() {
    HttpOptions options;
    options.userAgent = kApplicationTitle;
    options.connectTimeoutMs = 15000;
    options.responseTimeoutMs = 15000;
    options.maxBodyBytes = 1 << 20;
    return options;
}

std::string ServiceRequestUrl(const std::string& url, int seasonYear) {
    return AppendQueryParameters(url, {{"servizio", "orariseriea"}, {"anno", std::to_string(seasonYear)}});
}

ServiceAnswer GetOrariServizio(HttpTransport& transport, const std::string& url, int seasonYear) {
    HttpResponse response = transport.Get(ServiceRequestUrl(url, seasonYear));
    if (response.status != 200) throw std::runtime_error(response.reason);
    if (response.bodyTooLarge) throw std::runtime_error(kInvalidAnswer);
    // Whatever charset the answer declares, the body is read as UTF-8; malformed bytes become U+FFFD
    // rather than failing the whole answer.
    std::optional<ServiceAnswer> answer =
        ParseServiceAnswer(NullOutOfRangeNumbers(RepairUtf8(response.body)));
    if (!answer) throw std::runtime_error(kInvalidAnswer);
    return std::move(*answer);
}

std::optional<LocalDateTime> ServiceUpdateTime(const ServiceAnswer& answer) {
    if (!answer.is_object()) return std::nullopt;
    auto member = answer.find("aggiornamento");
    if (member == answer.end() || !member->is_string()) return std::nullopt;
    LocalDateTime time;
    if (!ParseDateTime(member->get_ref<const std::string&>(), DateTimeForm::Storage, time))
        return std::nullopt;
    return time;
}

}  // namespace calvorin
