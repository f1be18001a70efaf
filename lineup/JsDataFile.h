// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of the submission page's data file js/fcmInvioFormazioneDati.js.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lineup/CompetitionRules.h"
#include "lineup/LineupOptions.h"

namespace calvorin {

using Lines = std::vector<std::string>;

// An allowed formation: numbers of defenders, midfielders and forwards.
struct Formation {
    std::int64_t numDife = 0, numCent = 0, numAtta = 0;
};

// Serie A fixtures per club and matchday: 0 no match, 1-99 at home against that club, 100 + c away at c.
class FixtureMatrix {
  public:
    // Throws std::length_error beyond bounds::kMaxClub clubs or bounds::kMaxMatchday matchdays.
    FixtureMatrix(std::int64_t clubs, std::int64_t matchdays);
    // Records a match; a later one for the same club and matchday overwrites. A match with a club or
    // matchday outside the matrix is ignored.
    void Add(std::int64_t home, std::int64_t away, std::int64_t matchday);
    std::int64_t Clubs() const { return clubs_; }
    std::int64_t Matchdays() const { return matchdays_; }
    std::int64_t At(std::int64_t club, std::int64_t matchday) const;

  private:
    bool Holds(std::int64_t club, std::int64_t matchday) const;
    void Set(std::int64_t club, std::int64_t matchday, std::int64_t value);
    std::int64_t clubs_, matchdays_;
    std::vector<std::int64_t> cells_;
};

// One player line of the data file.
struct PlayerEntry {
    std::int64_t fantasyTeam = 0, id = 0, role = 0, club = 0;
    std::string summary;
};

void AddJsHeader(Lines& js, std::string_view version);
void AddJsBench(Lines& js, const CompetitionRules& rules);
void AddJsFormations(Lines& js, const std::vector<Formation>& formations);
// `presidentTeam` is the league president's fantasy team found by the team pass, 0 when none.
void AddJsOptions(Lines& js, const LineupOptions& options, std::int64_t presidentTeam);
void AddJsFixtures(Lines& js, const FixtureMatrix& fixtures);
void AddJsPlayersStart(Lines& js);
void AddJsPlayer(Lines& js, std::size_t index, const PlayerEntry& player);

}  // namespace calvorin
