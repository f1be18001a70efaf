// SPDX-License-Identifier: GPL-3.0-or-later
// Names for the demo league: Serie A clubs, players and fantasy teams.
#include "tools/demo/DemoNames.h"

#include <set>

namespace calvorin::demo {

const std::vector<std::string>& SerieAClubNames() {
    static const std::vector<std::string> names = {
        "Atalanta", "Bologna",  "Cagliari", "Como",   "Cremonese", "Fiorentina", "Genoa",
        "Inter",    "Juventus", "Lazio",    "Lecce",  "Milan",     "Napoli",     "Parma",
        "Pisa",     "Roma",     "Sassuolo", "Torino", "Udinese",   "Verona"};
    return names;
}

std::vector<std::string> PlayerNames(Rng& rng, std::size_t count) {
    static const std::vector<std::string> surnames = {
        "Rossi",     "Bianchi",    "Esposito",   "Romano",     "Colombo",  "Ricci",         "Marino",
        "Greco",     "Bruno",      "Gallo",      "Conti",      "De Luca",  "Mancini",       "Costa",
        "Giordano",  "Rizzo",      "Lombardi",   "Moretti",    "Barbieri", "Fontana",       "Santoro",
        "Mariani",   "Rinaldi",    "Caruso",     "Ferrara",    "Galli",    "Martini",       "Leone",
        "Longo",     "Gentile",    "Martinelli", "Vitale",     "Lombardo", "Serra",         "Coppola",
        "De Santis", "D'Angelo",   "Marchetti",  "Parisi",     "Villa",    "Conte",         "Ferraro",
        "Ferri",     "Fabbri",     "Bianco",     "Marini",     "Grasso",   "Valentini",     "Messina",
        "Sala",      "De Angelis", "Gatti",      "Pellegrini", "Palumbo",  "Sanna",         "Farina",
        "Rizzi",     "Monti",      "Cattaneo",   "Morelli",    "Amato",    "Silvestri",     "Mazza",
        "Testa",     "D'Ambrosio", "Koné",       "Núñez",      "Çelik",    "Ødegaard",      "Müller",
        "Pellegrì",  "Nicolò",     "Zaniolo",    "Orsolini",   "Dybala",   "Kvaratskhelia", "Lukaku",
        "Thuram",    "Tchouaméni", "Żyła"};
    static const std::string initials = "ABCDEFGILMNOPRSTVZ";
    std::set<std::string> seen;
    std::vector<std::string> names;
    while (names.size() < count) {
        std::string name =
            rng.Pick(surnames) + " " +
            initials[static_cast<std::size_t>(rng.Below(static_cast<std::int64_t>(initials.size())))] + ".";
        if (seen.insert(name).second) names.push_back(std::move(name));
    }
    return names;
}

std::string FantasyTeamName(std::size_t n) {
    static const std::vector<std::string> names = {"Atletico Ma Non Troppo",
                                                   "Real Mente",
                                                   "Dinamo d'Acciaio",
                                                   "Borussia Porcmund",
                                                   "Inter Nazionale",
                                                   "Longobarda",
                                                   "Union Più Forti",
                                                   "Vecchia Signora d'Oro",
                                                   "Bayer Neverkusen",
                                                   "Olimpia Città Alta",
                                                   "Sporting Lisbona Bassa",
                                                   "Lokomotiv Mosca Cieca",
                                                   "Aston Birra",
                                                   "Paris Saint-Gennaro",
                                                   "Manchester Sity",
                                                   "Steaua Bucarest",
                                                   "Crazy Horses \"F.C.\"",
                                                   "Bar Sport 1982",
                                                   "Tottenham Hotspizza",
                                                   "Benfica Ma Non Troppo"};
    if (n >= 1 && n <= names.size()) return names[n - 1];
    return "Fantasquadra " + std::to_string(n);
}

}  // namespace calvorin::demo
