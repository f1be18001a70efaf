// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of the submission page's data file js/fcmInvioFormazioneDati.js.
#include "lineup/JsDataFile.h"

#include <algorithm>
#include <stdexcept>

#include "lineup/EscapeQuoted.h"
#include "lineup/LeagueValueBounds.h"
#include "platform/text/Trim.h"
#include "plugin/log/Format.h"

namespace calvorin {

namespace {

// Checked before the product is taken, which would overflow for values from a hostile league.
std::int64_t WithinBound(std::int64_t value, std::int64_t max) {
    if (value > max) throw std::length_error("Calendario di Serie A oltre i limiti del file");
    return std::max<std::int64_t>(value, 0);
}

}  // namespace

FixtureMatrix::FixtureMatrix(std::int64_t clubs, std::int64_t matchdays)
    : clubs_(WithinBound(clubs, bounds::kMaxClub)),
      matchdays_(WithinBound(matchdays, bounds::kMaxMatchday)),
      cells_(static_cast<std::size_t>(clubs_ * matchdays_), 0) {}

void FixtureMatrix::Set(std::int64_t club, std::int64_t matchday, std::int64_t value) {
    cells_[static_cast<std::size_t>((club - 1) * matchdays_ + matchday - 1)] = value;
}

bool FixtureMatrix::Holds(std::int64_t club, std::int64_t matchday) const {
    return club >= 1 && club <= clubs_ && matchday >= 1 && matchday <= matchdays_;
}

void FixtureMatrix::Add(std::int64_t home, std::int64_t away, std::int64_t matchday) {
    if (!Holds(home, matchday) || !Holds(away, matchday)) return;
    Set(home, matchday, away);
    Set(away, matchday, home + 100);
}

std::int64_t FixtureMatrix::At(std::int64_t club, std::int64_t matchday) const {
    return cells_[static_cast<std::size_t>((club - 1) * matchdays_ + matchday - 1)];
}

void AddJsHeader(Lines& js, std::string_view version) {
    js.insert(js.end(), {"/**", " * fcmInvioFormazioneDati.js",
                         Format(" * Generato da Calvorin versione %s", {version}), " */", ""});
}

void AddJsBench(Lines& js, const CompetitionRules& rules) {
    const auto& b = rules.giocInPanchina;
    js.push_back(Format("var totaleNumeroMassimoRiserve=%d;", {rules.giocInPanchinaTotale}));
    js.push_back(Format("var numeroMassimoRiserve=[0,%d,%d,%d,%d];", {b[1], b[2], b[3], b[4]}));
    js.emplace_back();
}

void AddJsFormations(Lines& js, const std::vector<Formation>& formations) {
    js.emplace_back("var moduliAmmessi=[];\na=moduliAmmessi;");
    for (std::size_t i = 0; i < formations.size(); ++i) {
        const Formation& f = formations[i];
        js.push_back(Format("a[%d]=[0,1,%d,%d,%d];", {i, f.numDife, f.numCent, f.numAtta}));
    }
    js.emplace_back();
}

namespace {

void AddJsEMailOptions(Lines& js, const LineupOptions& o, std::int64_t presidentTeam) {
    js.push_back(Format("var inviaEMail=%d;", {o.inviaEMail}));
    if (!o.inviaEMail) return;
    js.push_back(Format("var destinatariEMail=[%d,%d,%d,%d];",
                        {o.eMailPresidente, o.eMailAvversario, o.eMailTutti, o.eMailSeStessi}));
    js.push_back(Format("var eMailRidotta=%d;", {o.eMailRidotta}));
    js.push_back(Format("var idPresidente=%d;", {presidentTeam}));
}

}  // namespace

void AddJsOptions(Lines& js, const LineupOptions& o, std::int64_t presidentTeam) {
    js.push_back(Format("var scriptServer=\"%s\";", {EscapeJsString(Trim(o.scriptServer))}));
    js.emplace_back();
    js.push_back(Format("var controllaOrario=%d;", {o.controllaOrario}));
    js.emplace_back();
    js.push_back(Format("var panchinaOrdinata=%d;", {o.panchinaOrdinata}));
    js.push_back(Format("var regolaRigoristi=%d;", {o.regolaRigoristi}));
    js.push_back(Format("var regolaPanchina=%d;", {o.regolaPanchina}));
    js.push_back(Format("var primavera=%d;", {o.primavera}));
    js.emplace_back();
    js.push_back(Format("var disabilitaGiornata=%d;", {o.disabilitaGiornata}));
    js.push_back(Format("var disabilitaIncontri=%d;", {o.disabilitaIncontri}));
    js.push_back(Format("var nascondiComunicazioni=%d;", {o.nascondiComunicazioni}));
    js.emplace_back();
    AddJsEMailOptions(js, o, presidentTeam);
    js.emplace_back();
    js.push_back(Format("var salvaSuSito=%d;", {o.salvaSuSito}));
    js.emplace_back();
    js.push_back(Format("var inoltraATelegram=%d;", {o.inoltraATelegram}));
    js.emplace_back();
}

void AddJsFixtures(Lines& js, const FixtureMatrix& fixtures) {
    js.emplace_back("var incontraInA=[];\na=incontraInA;");
    for (std::int64_t club = 1; club <= fixtures.Clubs(); ++club) {
        std::string line = Format("a[%d]=[0", {club});
        for (std::int64_t day = 1; day <= fixtures.Matchdays(); ++day)
            line += Format(",%d", {fixtures.At(club, day)});
        js.push_back(line + "];");
    }
    js.emplace_back();
}

void AddJsPlayersStart(Lines& js) {
    js.emplace_back("var arrInvioFormazione=[];\na=arrInvioFormazione;");
}

void AddJsPlayer(Lines& js, std::size_t index, const PlayerEntry& p) {
    js.push_back(Format("a[%d]=new ifG(%d,%d,%d,%d,\"%s\");",
                        {index, p.fantasyTeam, p.id, p.role, p.club, EscapeJsString(p.summary)}));
}

}  // namespace calvorin
