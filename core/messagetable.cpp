#include "core/messagetable.h"

namespace {

struct MessageRow {
    const char *italian;
    const char *english;
};

// Texts exactly as the player's users have always seen them, typos included.
const MessageRow kMessages[] = {
    {"Azzeramento HD Corvel3", "Format Corvel3 HD"},
    {"ATTENZIONE!\nOgni contenuto presente nell' HD verrà cancellato!\nContinuare?",
     "WARNING!\nAll the contents of Corvel3 HD will be erased\nDo you want to continue?"},
    {"Cerco se Corvel3 è connesso via USB...", "Serching for Corvel3 USB Connection..."},
    {"Scarico l' ultima release dal sito V-Orla...", "Downloading last release from V-Orla Website..."},
    {"Copia dei files dell' aggiornamento...", "Copying update files..."},
    {"Copia di backup dei files sul PC...", "Backup of files from Corvel to PC..."},
    {"Creazione della copia del sistema operativo...", "Create an image of Corvel3 operative system..."},
    {"Sto formattando Corvel...", "Formatting Corvel3..."},
    {"Trasferimento del sistema operativo...", "Transferring Corvel3 operative system..."},
    {"Ripristino copia di backup sul Corvel...", "Restore backup copy on Corvel3..."},
    {"Lettura del contenuto di Corvel...", "Scanning Corvel3 internal storage..."},
    {"File di sistema danneggiati o mancanti", "System files are damaged or missing"},
    {"ATTENZIONE: file di sistema danneggiati o mancanti, tentare il ripristino?",
     "WARNING : system files are damaged or missing , attempt recovery ?"},
    {"Corvel3 non è stato trovato", "I can't find Corvel3 on USB port"},
    {"Spegnere Corvel3 e connetterlo alla porta USB del PC.\nQuindi accendere Corvel3 e\nquando appare la "
     "schermata di connessione sul display di Corvel,\ncliccare ancora su START",
     "Switch Off Corvel3 e connect to USB PC Port.\nThen switch on Corvel3 and\nwhen connection form is "
     "displyed on Corvel3 LCD,\npress START again"},
    {"Errore di formattazione", "Format error"},
    {"C'è stato un errore durante la formattazione di Corvel3.\nSpegnere Corvel3 e connetterlo alla porta USB "
     "del PC.\nQuindi accendere Corvel3 e\nquando appare la schermata di connessione sul display di "
     "Corvel,\ncliccare ancora su START",
     "There was an error during Corvel3 format.\nSwitch OFF Corvel3 and reconnect to PC USB port.\nThen turn "
     "Corvel on again and\nwhen connection splash screen appair on Corvel3 display ,\nclick START again"},
    {"Errore durante il BackUp", "Error while BackUp"},
    {"C'è stato durante il salvataggio delle basi.\nOperazione annullata", "Error during songs' backup.\nAbort porcedure"},
    {"Errore durante il Restore", "Errore durante il Restore"},
    {"C'è stato durante il ripristino delle basi.\nOperazione annullata",
     "C'èstato durante il ripristino delle basi.\nOperazione annullata"},
    {"Fine operazioni", "End operation"},
    {"Installazione terminata.\nSpegnere il Corvel e scollegare dal PC e riaccendere Corvel.\nSe viene chiesto di "
     "riavviare, spegnere e accendere\nfinchè non appare la lista delle canzoni.",
     "Setup finished.\nSwitch off Corvel3 and unconnect from PC, then switch on Corvel3.\nIf during update phase "
     "on Corvel3 display it asks to reboot, switch off and switch on again\n until it shows the songs list again."},
    {"Download Error ", "Download Error "},
    {"C'è stato un errore durante il download dell' aggiornamento di Corvel\nRiprovare più tardi",
     "There was an error during update packet download\nPlease try later"},
    {"Fine operazioni", "End operation"},
    {"Aggiornamento scaricato.\nSpegnere il Corvel e scollegare dal PC e riaccendere Corvel.\nSe viene chiesto di "
     "riavviare, spegnere e accendere\nfinchè non appare la lista delle canzoni.",
     "Update files downloaded.\nSwitch off Corvel3 and unconnect from PC, then switch on Corvel3.\nIf during "
     "update phase on Corvel3 display it asks to reboot, switch off and switch on again\n until it shows the "
     "songs list again."},
};

constexpr int kMessageCount = int(sizeof(kMessages) / sizeof(kMessages[0]));
static_assert(kMessageCount == MSG_UPDATE_DOWNLOADED_TEXT + 1, "one row per message code");

} // namespace

QString messageText(int language, int code)
{
    if (code < 0 || code >= kMessageCount)
        return QString();
    if (language == 0)
        return QString::fromUtf8(kMessages[code].italian);
    if (language == 1)
        return QString::fromUtf8(kMessages[code].english);
    return QString();
}
