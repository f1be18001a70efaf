// SPDX-License-Identifier: GPL-3.0-or-later
// The pass over the fantasy teams: submission passwords, coaches' addresses and the league president.
#include "lineup/FantasyTeams.h"

#include <stdexcept>

#include "platform/text/Trim.h"

namespace calvorin {

namespace {

constexpr std::string_view kNoExportMarker = "[noex]";

}  // namespace

std::string TeamPassword(std::string_view telef2) {
    const std::size_t marker = telef2.find(kNoExportMarker);
    if (marker == std::string_view::npos)
        throw std::runtime_error("Non è possibile utilizzare esportate in chiaro");
    std::string password = TrimRight(telef2.substr(0, marker));
    if (password.empty()) throw std::runtime_error("Non è possibile utilizzare password vuote");
    return password;
}

std::string TeamAddress(std::string_view email) {
    const std::string_view address = TrimView(email);
    const std::size_t marker = address.find(kNoExportMarker);
    if (marker == std::string_view::npos) return std::string(address);
    return Trim(address.substr(0, marker));
}

TeamDirectoryBuilder::TeamDirectoryBuilder(std::string_view typedPresidentAddress, bool autoPresident)
    : autoPresident_(autoPresident) {
    directory_.presidentAddress = Trim(typedPresidentAddress);
}

void TeamDirectoryBuilder::Add(const FantasyTeam& team) {
    std::string address = TeamAddress(team.email);
    if (address.empty()) return;
    if (team.presGioc && autoPresident_) {
        directory_.presidentAddress = address;
        directory_.presidentTeam = team.id;
    }
    directory_.recipients.push_back({std::to_string(team.id), team.nome, std::move(address)});
}

}  // namespace calvorin
