// SPDX-License-Identifier: GPL-3.0-or-later
// The pass over the fantasy teams: submission passwords, coaches' addresses and the league president.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

// One row of the fantasy-team query.
struct FantasyTeam {
    std::int64_t id = 0;
    std::string nome;
    std::string telef2;
    std::string email;
    bool presGioc = false;
};

struct Recipient {
    std::string key;  // the team ID in decimal, "0" for the league president
    std::string name;
    std::string address;
};

// The longest team password FCM stores, in characters.
inline constexpr std::size_t kMaxTeamPasswordCharacters = 255;

// Returns the password kept in Telef2: the text before "[noex]" without blanks at its end. Throws
// std::runtime_error "Non è possibile utilizzare esportate in chiaro" without the marker and
// "Non è possibile utilizzare password vuote" when the password is empty.
std::string TeamPassword(std::string_view telef2);

// Returns the coach's address: EMail trimmed, cut before "[noex]" and trimmed again when it holds one.
std::string TeamAddress(std::string_view email);

// What the pass yields for the e-mail lines.
struct TeamDirectory {
    std::vector<Recipient> recipients;  // teams with an address, in query order
    std::string presidentAddress;
    std::int64_t presidentTeam = 0;
};

// Collects the recipients and the league president while the teams are read. Starts from the typed
// president address; with `autoPresident`, a president's team with an address replaces it (the last wins).
class TeamDirectoryBuilder {
  public:
    TeamDirectoryBuilder(std::string_view typedPresidentAddress, bool autoPresident);
    void Add(const FantasyTeam& team);
    const TeamDirectory& Result() const { return directory_; }

  private:
    TeamDirectory directory_;
    bool autoPresident_;
};

}  // namespace calvorin
