// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup/Usage.h"

#include "app/startup/Arguments.h"

namespace calvorin {

InformationRequest RequestedInformation(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h" || argument == "/?") return InformationRequest::Help;
        if (argument == "--version") return InformationRequest::Version;
    }
    return InformationRequest::None;
}

std::string UsageText() {
    return "Uso: calvorin /l=<file di lega> /s=<testo> /c=<cartella del sito> [/batch] [/extended]\n"
           "\n"
           "Calvorin affianca Fantacalcio Manager (FCM): scrive nel sito della lega i dati per l'invio delle\n"
           "formazioni, gli orari d'inizio delle partite di Serie A e gli archivi ZIP protetti del backup e\n"
           "dell'esportazione. Di solito lo avvia FCM; a mano o da cron si usano gli stessi argomenti.\n"
           "\n"
           "  /l=<file>        il database della lega (il file .mdb di FCM o una sua copia SQLite),\n"
           "                   letto senza mai modificarlo\n"
           "  /s=<testo>       il testo che FCM passa; obbligatorio\n"
           "  /c=<cartella>    la cartella del sito della lega\n"
           "  /batch           esegue tutto senza finestra, come il pulsante \"OK\"\n"
           "  /extended        modalità estesa (anche con Calvorin_extended=1 nell'ambiente)\n"
           "  --help, -h, /?   mostra questo aiuto\n"
           "  --version        mostra la versione\n"
           "\n"
           "Stato di uscita con /batch: 0 procedura terminata con successo; 1 argomenti o opzioni non validi,\n"
           "o nulla da fare; 2 operazione annullata; 3 impostazioni non caricate o non salvate.\n"
           "\n"
           "Le opzioni si impostano nella finestra e restano in <cartella di FCM>/plugin/Calvorin_<lega>.ini.\n"
           "Vedere anche: man calvorin\n";
}

std::string VersionLine() {
    return "Calvorin " + ReadVersionText() + "\n";
}

}  // namespace calvorin
