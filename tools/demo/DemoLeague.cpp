// SPDX-License-Identifier: GPL-3.0-or-later
// A whole demo league built from a seed: clubs, fixtures, players, marks, fantasy teams and line-ups.
#include "tools/demo/DemoLeague.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "tools/demo/DemoNames.h"
#include "tools/demo/DemoScores.h"
#include "tools/demo/Rng.h"

namespace calvorin::demo {

namespace {

constexpr int kClubs = 20;
constexpr int kMatchdays = 38;
// Players per role (P, D, C, A) of a 25-player roster, then the roles that extra players take.
constexpr std::int64_t kBaseRoster[] = {0, 3, 8, 8, 6};
constexpr std::int64_t kExtraRoles[] = {2, 3, 4, 2, 3};

struct SerieAPlayer {
    Id id = 0;
    PlayerProfile profile;
    Id club = 0, laterClub = 0;  // laterClub: his club from matchday 20, after a transfer
};

class Builder {
  public:
    explicit Builder(const DemoOptions& o) : o_(o), rng_(o.seed) {}

    DemoLeague Build() {
        AddCompetitions();
        league_.data.lega = {"Fantalega dell'Università"};
        league_.data.incontri = DoubleRoundRobin(kClubs);
        for (int m = 1; m <= kMatchdays; ++m) league_.data.giornate.push_back({m, m <= o_.playedMatchdays});
        std::vector<int> sizes;
        for (int t = 0; t < o_.teams; ++t)
            sizes.push_back(o_.playersPerTeam ? o_.playersPerTeam : int(rng_.Between(25, 30)));
        AddSerieAPlayers(sizes);
        AddScores();
        for (int t = 1; t <= o_.teams; ++t) AddFantasyTeam(t, sizes[static_cast<std::size_t>(t - 1)]);
        return std::move(league_);
    }

  private:
    void AddCompetitions() {
        CompetizioneRow main;
        main.usaQuot = {true, true, false};
        main.risVoti2VSV = 1;
        main.pAzGolFatto = {5, 4.5, 3.5, 3};
        main.pAzGolPareggio = 0.5;
        main.pAzGolVittoria = 1;
        main.pAzPort0Gol = 1;
        CompetizioneRow cup;
        cup.id = 2;
        cup.nome = "Coppa di Lega";
        cup.predefinita = false;
        cup.usaQuot = {true, true, true};
        cup.usaTabellino = 4;
        league_.data.competizioni = {main, cup};
        const std::int64_t shapes[][3] = {{3, 4, 3}, {3, 5, 2}, {4, 3, 3}, {4, 4, 2},
                                          {4, 5, 1}, {5, 3, 2}, {5, 4, 1}};
        for (Id id = 1; id <= 7; ++id) {
            const auto* s = shapes[id - 1];
            league_.data.moduli.push_back({id, s[0], s[1], s[2]});
            league_.data.moduliAmmessi.push_back({id, 1});
        }
        for (Id id : {2, 3, 4, 6}) league_.data.moduliAmmessi.push_back({id, 2});
    }

    static std::int64_t RoleCount(int size, std::int64_t role) {
        std::int64_t n = kBaseRoster[role];
        for (int extra = 0; extra < size - 25; ++extra) n += kExtraRoles[extra] == role ? 1 : 0;
        return n;
    }

    // Enough players of each role for every roster plus a sold player per team, spread over the clubs.
    void AddSerieAPlayers(const std::vector<int>& sizes) {
        std::map<std::int64_t, std::int64_t> needed;
        for (std::int64_t role = 1; role <= 4; ++role) {
            for (int size : sizes) needed[role] += RoleCount(size, role) + 1;
            needed[role] =
                std::max<std::int64_t>(needed[role] * 6 / 5 / kClubs + 1, kBaseRoster[role]) * kClubs;
        }
        std::int64_t total = 0;
        for (const auto& [role, n] : needed) total += n;
        const std::vector<std::string> names = PlayerNames(rng_, static_cast<std::size_t>(total));
        for (std::int64_t role = 1; role <= 4; ++role)
            for (std::int64_t i = 0; i < needed[role]; ++i) AddSerieAPlayer(role, names);
    }

    void AddSerieAPlayer(std::int64_t role, const std::vector<std::string>& names) {
        SerieAPlayer p;
        p.id = static_cast<Id>(players_.size()) + 1;
        p.profile = {role, static_cast<int>(rng_.Between(-1, 2)), static_cast<int>(rng_.Between(35, 90))};
        p.club = static_cast<Id>(players_.size() % kClubs) + 1;
        p.laterClub = rng_.Chance(3) ? rng_.Between(1, kClubs) : p.club;
        league_.data.giocatori.push_back({p.id, names[players_.size()]});
        byRole_[role].push_back(p.id);
        players_.push_back(p);
    }

    void AddScores() {
        Id scoreId = 0;
        for (const SerieAPlayer& p : players_) {
            for (int m = 1; m <= kMatchdays; ++m) {
                ++scoreId;
                const Id club = m >= 20 ? p.laterClub : p.club;
                league_.data.giocaIn.push_back({p.id, club, m, scoreId});
                PunteggioRow score{.id = scoreId};
                if (m <= o_.playedMatchdays) score = PlayedScore(rng_, scoreId, p.profile);
                played_[{p.id, m}] = score.voto[0] != 0;
                league_.data.punteggi.push_back(score);
            }
        }
        for (auto& [role, ids] : byRole_) rng_.Shuffle(ids);
    }

    Id TakePlayer(std::int64_t role) {
        std::vector<Id>& pool = byRole_[role];
        const Id id = pool.back();
        pool.pop_back();
        return id;
    }

    std::string Password() {
        static const std::string alphabet = "abcdefghjkmnpqrstuvwxyz23456789";
        std::string pw;
        for (int i = 0; i < 9; ++i)
            pw += alphabet[static_cast<std::size_t>(rng_.Below(std::int64_t(alphabet.size())))];
        return pw;
    }

    void AddFantasyTeam(int t, int size) {
        const std::string password = Password();
        league_.passwords.push_back({t, password});
        FantasquadraRow team{t, FantasyTeamName(static_cast<std::size_t>(t)),
                             password + (t % 5 == 1 ? " [noex]" : "[noex]"), "", t == 1};
        if (t == 1)
            team.eMail = "presidente@fantalega.example";
        else if (t % 7 != 3)
            team.eMail =
                "allenatore" + std::to_string(t) + "@fantalega.example" + (t % 4 == 2 ? " [noex]" : "");
        league_.data.fantasquadre.push_back(team);
        std::vector<TesseratoRow> roster;
        for (std::int64_t role = 1; role <= 4; ++role)
            for (std::int64_t i = 0; i < RoleCount(size, role); ++i)
                roster.push_back({TakePlayer(role), t, role});
        if (t % 2 == 0) roster.back().annoDiContratto = 101 + rng_.Below(3);  // a Primavera forward
        if (t % 3 == 0) roster[5].inizioInfortunio = std::max(1, o_.playedMatchdays - 1);
        AddLineups(t, roster);
        roster.push_back({TakePlayer(3), t, 3, 2, -1, true});  // sold during the season
        league_.data.tesserati.insert(league_.data.tesserati.end(), roster.begin(), roster.end());
    }

    // Eleven starters (1-4-4-2) and up to seven on the bench for every played matchday.
    void AddLineups(Id team, const std::vector<TesseratoRow>& roster) {
        for (int m = 1; m <= o_.playedMatchdays; ++m) {
            std::vector<TesseratoRow> order = roster;
            rng_.Shuffle(order);
            std::int64_t starters[] = {0, 1, 4, 4, 2};
            int bench = 0;
            for (const TesseratoRow& p : order) {
                const bool played = played_[{p.idGiocatore, m}];
                if (starters[p.ruolo] > 0) {
                    --starters[p.ruolo];
                    league_.data.formazioni.push_back({p.idGiocatore, team, played});
                } else if (bench < 7) {
                    ++bench;
                    league_.data.formazioni.push_back({p.idGiocatore, team, played && rng_.Chance(35)});
                }
            }
        }
    }

    DemoOptions o_;
    Rng rng_;
    DemoLeague league_;
    std::vector<SerieAPlayer> players_;
    std::map<std::int64_t, std::vector<Id>> byRole_;
    std::map<std::pair<Id, int>, bool> played_;
};

}  // namespace

std::vector<IncontraInARow> DoubleRoundRobin(int clubs) {
    std::vector<Id> ring;
    for (int c = 1; c <= clubs; ++c) ring.push_back(c);
    std::vector<IncontraInARow> fixtures;
    const int rounds = clubs - 1;
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < clubs / 2; ++i) {
            Id home = ring[static_cast<std::size_t>(i)], away = ring[static_cast<std::size_t>(clubs - 1 - i)];
            if ((r + i) % 2 == 1) std::swap(home, away);
            fixtures.push_back({home, away, r + 1});
            fixtures.push_back({away, home, r + 1 + rounds});
        }
        std::rotate(ring.begin() + 1, ring.end() - 1, ring.end());
    }
    return fixtures;
}

DemoLeague BuildDemoLeague(const DemoOptions& options) {
    if (options.teams < 1 || options.teams > 99)
        throw std::invalid_argument("Numero di squadre non valido (1-99)");
    if (options.playersPerTeam != 0 && (options.playersPerTeam < 25 || options.playersPerTeam > 30))
        throw std::invalid_argument("Numero di giocatori per squadra non valido (25-30)");
    return Builder(options).Build();
}

}  // namespace calvorin::demo
