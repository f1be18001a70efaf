// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/StartTimeUpdate.h"

#include <optional>
#include <stdexcept>

#include "starttimes/ParseDateTime.h"
#include "starttimes/ServiceClient.h"

namespace calvorin {
namespace {

std::optional<LocalDateTime> StartTimeOfValue(const ServiceAnswer& value) {
    LocalDateTime time;
    if (!value.is_string() ||
        !ParseDateTime(value.get_ref<const std::string&>(), DateTimeForm::Storage, time))
        return std::nullopt;
    return time;
}

// Applies the members in the order of the answer, so a matchday named twice ends with the later value.
int MergeOrari(StartTimeTable& table, const ServiceAnswer& orari,
               const std::function<void(int)>& rowChanged) {
    int count = 0;
    for (const auto& [name, value] : orari.items()) {
        std::optional<int> n = MatchdayOfKey(name);
        std::optional<LocalDateTime> time = n ? StartTimeOfValue(value) : std::nullopt;
        if (!time || *time == table.OrariSerieA[*n - 1]) continue;
        table.OrariSerieA[*n - 1] = *time;
        if (rowChanged) rowChanged(*n);
        ++count;
    }
    return count;
}

const ServiceAnswer& OrariOf(const ServiceAnswer& answer) {
    auto orari = answer.find("orari");
    if (orari == answer.end() || !orari->is_object()) throw std::runtime_error("Risposta non valida");
    return *orari;
}

int Update(StartTimeTable& table, bool byUser, const ServiceAnswer& answer, Log& log,
           const std::function<void(int)>& rowChanged) {
    if (!answer.is_object()) throw std::runtime_error("Risposta non valida");
    std::optional<LocalDateTime> serviceTime = ServiceUpdateTime(answer);
    if (!serviceTime) throw std::runtime_error("Data/ora aggiornamento non disponibile");
    log.WriteLog("  Aggiornamento servizio: %s", serviceTime->LogForm());
    if (!byUser && table.UltimaModificaManuale >= *serviceTime) {
        log.WriteLog("  Modifica manuale più recente dell'aggiornamento del servizio");
        return 0;
    }
    int count = MergeOrari(table, OrariOf(answer), rowChanged);
    if (byUser) table.UltimaModificaManuale = *serviceTime;
    return count;
}

}  // namespace

void AggiornaOrari(StartTimeTable& table, bool byUser, int seasonYear, HttpTransport& transport, Log& log,
                   const std::function<void(int row)>& rowChanged) {
    log.WriteHeading("Aggiornamento data/ora inizio partite di Serie A");
    if (!byUser) log.WriteLog("  Ultima modifica manuale: %s", table.UltimaModificaManuale.LogForm());
    log.WriteLog("  <i>%s</i>", EscapeMarkup(table.UrlServizio));
    try {
        ServiceAnswer answer = GetOrariServizio(transport, table.UrlServizio, seasonYear);
        int count = Update(table, byUser, answer, log, rowChanged);
        log.WriteOk(2, Format("aggiornati %d orari", {count}));
    } catch (const std::exception& e) {
        log.WriteKo(2, e.what());
    }
}

}  // namespace calvorin
