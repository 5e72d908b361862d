#include "core/messagetable.h"

#include "core/language.h"

namespace {

// Texts exactly as the player's users have always seen them, typos included; the Italian ones are
// in translations/corvel3_it.ts.
const char *const kMessages[] = {
    QT_TRANSLATE_NOOP("messagetable", "Format Corvel3 HD"),
    QT_TRANSLATE_NOOP("messagetable", "WARNING!\nAll the contents of Corvel3 HD will be erased\nDo you want to continue?"),
    QT_TRANSLATE_NOOP("messagetable", "Serching for Corvel3 USB Connection..."),
    QT_TRANSLATE_NOOP("messagetable", "Downloading last release from V-Orla Website..."),
    QT_TRANSLATE_NOOP("messagetable", "Copying update files..."),
    QT_TRANSLATE_NOOP("messagetable", "Backup of files from Corvel to PC..."),
    QT_TRANSLATE_NOOP("messagetable", "Create an image of Corvel3 operative system..."),
    QT_TRANSLATE_NOOP("messagetable", "Formatting Corvel3..."),
    QT_TRANSLATE_NOOP("messagetable", "Transferring Corvel3 operative system..."),
    QT_TRANSLATE_NOOP("messagetable", "Restore backup copy on Corvel3..."),
    QT_TRANSLATE_NOOP("messagetable", "Scanning Corvel3 internal storage..."),
    QT_TRANSLATE_NOOP("messagetable", "System files are damaged or missing"),
    QT_TRANSLATE_NOOP("messagetable", "WARNING : system files are damaged or missing , attempt recovery ?"),
    QT_TRANSLATE_NOOP("messagetable", "I can't find Corvel3 on USB port"),
    QT_TRANSLATE_NOOP("messagetable", "Switch Off Corvel3 e connect to USB PC Port.\nThen switch on Corvel3 and\nwhen connection form is "
     "displyed on Corvel3 LCD,\npress START again"),
    QT_TRANSLATE_NOOP("messagetable", "Format error"),
    QT_TRANSLATE_NOOP("messagetable", "There was an error during Corvel3 format.\nSwitch OFF Corvel3 and reconnect to PC USB port.\nThen turn "
     "Corvel on again and\nwhen connection splash screen appair on Corvel3 display ,\nclick START again"),
    QT_TRANSLATE_NOOP("messagetable", "Error while BackUp"),
    QT_TRANSLATE_NOOP("messagetable", "Error during songs' backup.\nAbort porcedure"),
    QT_TRANSLATE_NOOP("messagetable", "Errore durante il Restore"),
    QT_TRANSLATE_NOOP("messagetable", "C'èstato durante il ripristino delle basi.\nOperazione annullata"),
    QT_TRANSLATE_NOOP("messagetable", "End operation"),
    QT_TRANSLATE_NOOP("messagetable", "Setup finished.\nSwitch off Corvel3 and unconnect from PC, then switch on Corvel3.\nIf during update phase "
     "on Corvel3 display it asks to reboot, switch off and switch on again\n until it shows the songs list again."),
    QT_TRANSLATE_NOOP("messagetable", "Download Error "),
    QT_TRANSLATE_NOOP("messagetable", "There was an error during update packet download\nPlease try later"),
    QT_TRANSLATE_NOOP("messagetable", "End operation"),
    QT_TRANSLATE_NOOP("messagetable", "Update files downloaded.\nSwitch off Corvel3 and unconnect from PC, then switch on Corvel3.\nIf during "
     "update phase on Corvel3 display it asks to reboot, switch off and switch on again\n until it shows the "
     "songs list again."),
};

constexpr int kMessageCount = int(sizeof(kMessages) / sizeof(kMessages[0]));
static_assert(kMessageCount == MSG_UPDATE_DOWNLOADED_TEXT + 1, "one row per message code");

} // namespace

QString messageText(int language, int code)
{
    if (code < 0 || code >= kMessageCount)
        return QString();
    if (language != language::Italian && language != language::English)
        return QString();
    return language::translate(language, "messagetable", kMessages[code]);
}
