// SPDX-License-Identifier: GPL-3.0-or-later
// The line-up submission generator: league database in, the page's data file and the script's settings out.
#include "lineup/GeneraDatiInvioFormazione.h"

#include <exception>
#include <filesystem>
#include <optional>

#include "lineup/ColorThresholds.h"
#include "lineup/CompetitionRules.h"
#include "lineup/FantasyTeams.h"
#include "lineup/JsDataFile.h"
#include "lineup/LeagueQueries.h"
#include "lineup/LeagueValueBounds.h"
#include "lineup/PhpSettingsFile.h"
#include "lineup/ScoreSummary.h"
#include "platform/crypto/PasswordHash.h"
#include "platform/db/Database.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/text/Encoding.h"
#include "platform/text/Utf8.h"

namespace calvorin {

namespace {

class Generator {
  public:
    Generator(const LineupOptions& options, const PluginContext& context, Log& log)
        : o_(options), c_(context), log_(log) {}

    void Run() {
        AddJsHeader(js_, c_.Version);
        AddPhpHeader(php_, c_.Version);
        // A requested stop is honoured between the readings and before the writing, not between the two
        // files: a stop alone never leaves the site with one new file and one old.
        for (void (Generator::*read)() :
             {&Generator::OpenLeague, &Generator::ReadLeague, &Generator::ReadCompetition,
              &Generator::ReadFormations, &Generator::ReadTeams, &Generator::ReadFixtureSize,
              &Generator::ReadFixtures, &Generator::ReadLastPlayed, &Generator::ReadThresholds,
              &Generator::ReadPlayers}) {
            log_.Checkpoint();
            (this->*read)();
        }
        log_.Checkpoint();
        WriteFile("js", "fcmInvioFormazioneDati.js", js_, "JavaScript");
        WriteFile("invform", "invform.inc.php", php_, "PHP");
    }

  private:
    void Ok() { log_.WriteOk(4); }

    void OpenLeague() {
        log_.WriteLog("  - Apertura file di lega\n    <i>%s</i>", EscapeMarkup(c_.LeagueFile));
        db_.emplace(Database::Open(PathFromText(c_.LeagueFile), queries::LeagueTables()));
        // Without the index each player's score query would read the whole of GiocaIn and Punteggio.
        db_->IndexLookups(queries::ScoreLookups());
        Ok();
    }

    void ReadLeague() {
        log_.WriteLog("  - Lettura impostazioni della lega");
        Query lega = db_->Prepare(queries::kLega);
        if (lega.Next()) leagueName_ = lega.Text("Nome");
        Ok();
        competition_.emplace(db_->Prepare(queries::kCompetizione));
        if (!competition_->Next()) throw std::runtime_error("Nessuna competizione predefinita");
        log_.WriteOk(4, EscapeMarkup(competition_->Text("Nome")));
    }

    void ReadCompetition() {
        log_.WriteLog("  - Lettura impostazioni della competizione predefinita");
        rules_ = ReadCompetitionRules(*competition_);
        competition_.reset();
        Ok();
        AddJsBench(js_, rules_);
    }

    void ReadFormations() {
        log_.WriteLog("  - Lettura moduli ammessi");
        Query q = db_->Prepare(queries::kModuliAmmessi);
        q.Bind(1, rules_.id);
        std::vector<Formation> formations;
        while (q.Next())
            formations.push_back({ReadBounded(q, "NumDife", bounds::kNumDife),
                                  ReadBounded(q, "NumCent", bounds::kNumCent),
                                  ReadBounded(q, "NumAtta", bounds::kNumAtta)});
        AddJsFormations(js_, formations);
        Ok();
        AddPhpDeadline(php_, o_);
    }

    void ReadTeams() {
        log_.WriteLog("  - Lettura dati fantasquadre");
        Query q = db_->Prepare(queries::kFantasquadre);
        TeamDirectoryBuilder directory(o_.indirizzoPresidente, o_.indirizzoPresidenteAuto);
        AddPhpPasswordsStart(php_);
        while (q.Next()) {
            const FantasyTeam team{ReadBounded(q, "ID", bounds::kFantasquadraId), q.Text("Nome"),
                                   q.Text("Telef2"), q.Text("EMail"), q.Flag("PresGioc")};
            const std::string password = TeamPassword(team.telef2);
            // More than FCM can store is no password of FCM's, and hashing an outsized one costs seconds.
            if (static_cast<std::size_t>(CountCharacters(password)) > kMaxTeamPasswordCharacters)
                throw std::runtime_error("La password della fantasquadra \"" + team.nome + "\" supera i " +
                                         std::to_string(kMaxTeamPasswordCharacters) +
                                         " caratteri che FCM può memorizzare");
            directory.Add(team);
            AddPhpPassword(php_, team.id, HashPassword(password));
        }
        AddPhpPasswordsEnd(php_);
        Ok();
        AddPhpMessaging(php_, o_, directory.Result(), leagueName_, c_.Extended);
        AddJsOptions(js_, o_, directory.Result().presidentTeam);
    }

    void ReadFixtureSize() {
        log_.WriteLog("  - Lettura calendario di Serie A (parte I)");
        Query q = db_->Prepare(queries::kDimensioniCalendario);
        if (q.Next()) {
            clubs_ = std::max(ReadBounded(q, "MaxC", bounds::kMaxIDCasa),
                              ReadBounded(q, "MaxF", bounds::kMaxIDFuori));
            matchdays_ = ReadBounded(q, "MaxG", bounds::kMaxGiornata);
        }
        Ok();
    }

    void ReadFixtures() {
        log_.WriteLog("  - Lettura calendario di Serie A (parte II)");
        Query q = db_->Prepare(queries::kCalendario);
        FixtureMatrix fixtures(clubs_, matchdays_);
        while (q.Next())
            fixtures.Add(ReadBounded(q, "IDCasa", bounds::kIDCasa),
                         ReadBounded(q, "IDFuori", bounds::kIDFuori),
                         ReadBounded(q, "Giornata", bounds::kGiornata));
        Ok();
        AddJsFixtures(js_, fixtures);
    }

    void ReadLastPlayed() {
        log_.WriteLog("  - Lettura ultima giornata di A giocata");
        Query q = db_->Prepare(queries::kUltimaGiornataGiocata);
        if (q.Next()) lastPlayed_ = ReadBounded(q, "MaxG", bounds::kUltimaGiornata);
        Ok();
    }

    void ReadThresholds() {
        log_.WriteLog("  - Lettura opzioni colori di voti e fantavoti\n    <i>%s</i>",
                      EscapeMarkup(JoinPathText(c_.FcmFolder, {"FCM.ini"})));
        const ThresholdsReading reading = LeggiSoglieColori(PathFromText(c_.FcmFolder));
        thresholds_ = reading.thresholds;
        if (reading.fromFile) Ok();
        if (!reading.readError.empty())
            log_.WriteLog("    %s (si usano le soglie predefinite)",
                          EscapeMarkup(FlattenMessage(reading.readError)));
    }

    void ReadPlayers() {
        log_.WriteLog("  - Lettura dati giocatori");
        Query players = db_->Prepare(queries::kGiocatori);
        ScoreQueries score(*db_, o_.primavera);
        const SummaryContext context{rules_, thresholds_, lastPlayed_};
        SummaryCache summaries(score, context);
        AddJsPlayersStart(js_);
        for (std::size_t index = 0; players.Next(); ++index) {
            PlayerEntry p{ReadBounded(players, "T.IDSquadra", bounds::kTesseratoSquadra),
                          ReadBounded(players, "ID", bounds::kGiocatoreId),
                          ReadBounded(players, "Ruolo", bounds::kRuolo),
                          ReadBounded(players, "GI.IDSquadra", bounds::kGiocaInSquadra),
                          {}};
            const bool isPrimavera = players.Integer("Primavera") != 0;
            p.summary = summaries.Of(p.id, p.fantasyTeam, p.role, isPrimavera);
            AddJsPlayer(js_, index, p);
        }
        Ok();
    }

    // The path shows in the log as the site folder was given (a Windows one under Wine included).
    void WriteFile(const char* folder, const char* name, const Lines& lines, const char* kind) {
        const std::string shown = JoinPathText(c_.SiteFolder, {folder, name});
        log_.WriteLog("  - Esportazione file impostazioni %s\n    <i>%s</i>", kind, EscapeMarkup(shown));
        const std::optional<std::string> warning =
            WriteFileAtomic(PathFromText(shown), Utf8ToCp1252(JoinCrlf(lines)));
        Ok();
        if (warning) log_.WriteWarning(4, *warning);
    }

    const LineupOptions& o_;
    const PluginContext& c_;
    Log& log_;
    std::optional<Database> db_;
    std::optional<Query> competition_;
    Lines js_, php_;
    std::string leagueName_;
    CompetitionRules rules_;
    std::int64_t clubs_ = 0, matchdays_ = 0, lastPlayed_ = 0;
    ColorThresholds thresholds_ = ColorThresholds::Defaults();
};

}  // namespace

bool GeneraDatiInvioFormazione(const LineupOptions& options, const PluginContext& context, Log& log) {
    try {
        Generator(options, context, log).Run();
        return true;
    } catch (const std::exception& e) {
        log.WriteKo(4, e.what());
        return false;
    }
}

}  // namespace calvorin
