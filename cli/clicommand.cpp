#include "cli/clicommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "cli/cliformatter.h"
#include "core/dialogs.h"
#include "core/messagetable.h"
#include "core/operationlog.h"

namespace {

QString tr(bool italian, const char *italianText, const char *englishText)
{
    return QString::fromUtf8(italian ? italianText : englishText);
}

QCommandLineOption flag(const QStringList &names, const QString &description)
{
    return QCommandLineOption(names, description);
}

class CheckCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("check"); }
    QString synopsis() const override { return name(); }
    QString summary(bool it) const override
    {
        return tr(it, "controlla i file di sistema del lettore", "check the player's system files");
    }
    QString help(bool it) const override
    {
        return tr(it,
                  "Controlla che sul lettore ci siano i file di sistema (il file di avvio e i due programmi\n"
                  "di sistema); non cambia nulla.\n"
                  "Uscita 0: ci sono tutti; 1: ne manca qualcuno (\"reinstall\" lo rimette); 3: nessun lettore.",
                  "Checks that the player's system files are there (the start file and the two system\n"
                  "programs); changes nothing.\n"
                  "Exit 0: all there; 1: one is missing (\"reinstall\" puts it back); 3: no player.");
    }
    Operations::Result run(CliSession &s) override
    {
        const bool it = s.language == 0;
        s.formatter.start(name());
        const SystemCheck check = s.operations.check();
        Operations::RunEnd end;
        end.operation = name();
        if (!check.playerFound()) {
            end.result = Operations::Result::PlayerNotFound;
            end.outcome.status = Outcome::Status::PlayerNotFound;
            boxes::information(s.dialogs, nullptr, messageText(s.language, MSG_DEVICE_NOT_FOUND_TITLE),
                               messageText(s.language, MSG_DEVICE_NOT_FOUND_TEXT), QStringLiteral("device.notFound"));
        } else if (check.clean()) {
            const QString done = tr(it, "CONTROLLO SOFTWARE COMPLETATO", "SOFTWARE CONTROL COMPLETED");
            boxes::information(s.dialogs, nullptr, done, done, QStringLiteral("check.clean"));
        } else {
            end.result = Operations::Result::Failed;
            QStringList paths;
            for (const QString &file : check.missing) {
                end.outcome.addNotDone(file, tr(it, "mancante", "missing"));
                paths << QDir::toNativeSeparators(check.drive + file);
            }
            boxes::critical(s.dialogs, nullptr, messageText(s.language, MSG_SYSTEM_FILES_DAMAGED_TITLE),
                            paths.join(QLatin1Char('\n')), QStringLiteral("check.missing"));
        }
        s.formatter.end(end, s.exitCode(end.result),
                        {{QStringLiteral("drive"), check.drive}, {QStringLiteral("missing"), check.missing}});
        return end.result;
    }
};

class UpdateCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("update"); }
    QString synopsis() const override { return name(); }
    QString summary(bool it) const override
    {
        return tr(it, "copia sul lettore l'ultimo aggiornamento del sistema", "put the latest system update onto the player");
    }
    QString help(bool it) const override
    {
        return tr(it,
                  "Scarica l'aggiornamento del sistema, lo estrae e lo controlla, e lo copia sul lettore, che\n"
                  "lo installa alla prossima accensione. La copia è preparata a parte e poi messa al suo posto\n"
                  "per intero: un errore lascia la cartella di aggiornamento del lettore com'era.",
                  "Downloads the system update, unpacks and checks it, and copies it onto the player, which\n"
                  "installs it at its next start. The copy is prepared aside and then put in place whole: a\n"
                  "failure leaves the player's update folder as it was.");
    }
    Operations::Result run(CliSession &s) override { return s.operations.update(); }
};

// A command that works on one FOLDER, which must exist.
class FolderCommand : public CliCommand {
public:
    QStringList arguments() const override { return {QStringLiteral("FOLDER")}; }
    QString take(const QCommandLineParser &parser, bool it) override
    {
        QString problem;
        folder = existingFolder(parser.positionalArguments().value(0), it, &problem);
        return problem;
    }

protected:
    QString folder;
};

class BackupCommand : public FolderCommand {
public:
    QString name() const override { return QStringLiteral("backup"); }
    QString synopsis() const override { return QStringLiteral("backup FOLDER"); }
    QString summary(bool it) const override
    {
        return tr(it, "salva basi e playlist in una nuova cartella datata dentro FOLDER",
                  "save the songs and playlists into a new dated folder inside FOLDER");
    }
    QString help(bool it) const override
    {
        return tr(it,
                  "Salva le basi e le playlist in una nuova cartella \"Corvel3 backup AAAA-MM-GG HHMM\" dentro\n"
                  "FOLDER, con l'elenco di ogni file salvato (dimensione e SHA-256), e controlla ogni copia.\n"
                  "Nulla in FOLDER viene eliminato o sostituito. FOLDER deve esistere; una cartella sul\n"
                  "lettore, la radice di un'unità o del sistema e la cartella home sono rifiutate.\n"
                  "Uscita 0 solo quando ogni file è stato salvato e controllato.",
                  "Saves the songs and the playlists into a new folder \"Corvel3 backup YYYY-MM-DD HHMM\"\n"
                  "inside FOLDER, with a manifest of every saved file (size and SHA-256), and checks every\n"
                  "copy. Nothing in FOLDER is deleted or replaced. FOLDER must exist; a folder on the\n"
                  "player, the root of a drive or of the system and the home folder are refused.\n"
                  "Exit 0 only when every file was saved and checked.");
    }
    Operations::Result run(CliSession &s) override { return s.operations.backup(folder); }
};

class RestoreCommand : public FolderCommand {
public:
    QString name() const override { return QStringLiteral("restore"); }
    QString synopsis() const override { return QStringLiteral("restore FOLDER [--only PATH...]"); }
    QString summary(bool it) const override
    {
        return tr(it, "ricopia sul lettore una copia di backup", "copy a backup back onto the player");
    }
    QString help(bool it) const override
    {
        return tr(it,
                  "Ricopia sul lettore una copia di backup. FOLDER è una copia (\"Corvel3 backup ...\") o la\n"
                  "cartella che contiene le copie datate: allora, dopo una domanda, si ripristina la più\n"
                  "recente completa. Prima di scrivere, ogni file è controllato con l'elenco della copia: se\n"
                  "uno manca o è cambiato non si scrive nulla e i file sono nominati. Nulla sul lettore viene\n"
                  "eliminato; un file già presente e diverso è sostituito solo dopo una domanda (uno rimasto\n"
                  "a metà da un ripristino interrotto, subito).",
                  "Copies a backup back onto the player. FOLDER is a backup (\"Corvel3 backup ...\") or the\n"
                  "folder that holds dated backups: then the newest complete one is restored, after a\n"
                  "question. Before anything is written, every file is checked against the backup's\n"
                  "manifest: when one is missing or changed nothing is written and the files are named.\n"
                  "Nothing on the player is deleted; a different file already there is replaced only after a\n"
                  "question (one an interrupted restore left cut short, at once).");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {QCommandLineOption(QStringLiteral("only"),
                                   tr(it, "ripristina solo PATH (relativo alla radice del lettore, come nella copia: una\n"
                                          "cartella con tutto ciò che contiene, un file da solo); se ne possono dare\n"
                                          "diversi. Si controllano e si scrivono solo quelli",
                                      "restore PATH only (relative to the player's root, as in the backup: a folder\n"
                                      "with everything below it, a file alone); several may follow. Only those are\n"
                                      "checked and written"),
                                   QStringLiteral("PATH"))};
    }
    bool takesMoreArguments(const QCommandLineParser &parser) const override
    {
        return parser.isSet(QStringLiteral("only"));
    }
    QString take(const QCommandLineParser &parser, bool it) override
    {
        QString problem = FolderCommand::take(parser, it);
        parts = parser.values(QStringLiteral("only")) + parser.positionalArguments().mid(1);
        if (!problem.isEmpty() || parts.isEmpty())
            return problem;
        // Checked here, so that a mistyped part is a usage error and nothing is written.
        const QStringList wrong = Operations::partsNotInBackup(folder, parts);
        if (!wrong.isEmpty())
            return tr(it, "--only: '%1' non è nella copia di backup", "--only: '%1' is not in the backup").arg(wrong.first());
        return QString();
    }
    Operations::Result run(CliSession &s) override
    {
        return parts.isEmpty() ? s.operations.restore(folder) : s.operations.restoreParts(folder, parts);
    }

private:
    QStringList parts;
};

class ReinstallCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("reinstall"); }
    QString synopsis() const override { return QStringLiteral("reinstall [--erase | --restore FOLDER]"); }
    QString summary(bool it) const override
    {
        return tr(it, "reinstalla il sistema del lettore", "reinstall the player's system");
    }
    QString help(bool it) const override
    {
        return tr(it,
                  "Scarica il sistema completo, lo controlla, lo prepara sul lettore e lo mette al posto del\n"
                  "vecchio, poi installa l'ultimo aggiornamento; un errore prima dello scambio lascia il\n"
                  "vecchio sistema. Senza opzioni le basi restano al loro posto.",
                  "Downloads the full system, checks it, prepares it on the player and puts it in place of\n"
                  "the old one, then installs the latest update; a failure before the swap leaves the old\n"
                  "system. Without an option the songs stay where they are.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        QCommandLineOption restore(QStringLiteral("restore"),
                                   tr(it, "salva le basi in FOLDER (in una nuova cartella datata se FOLDER non è vuota),\n"
                                          "le controlla, cancella il lettore, reinstalla e le ricopia; FOLDER resta",
                                      "save the songs into FOLDER (into a new dated folder when it is not empty),\n"
                                      "check them, erase the player, reinstall and copy them back; FOLDER stays"),
                                   QStringLiteral("FOLDER"));
        return {flag({QStringLiteral("erase")}, tr(it, "cancella tutte le basi, dopo una domanda",
                                                    "erase every song, after a question")),
                restore};
    }
    QString take(const QCommandLineParser &parser, bool it) override
    {
        erase = parser.isSet(QStringLiteral("erase"));
        if (!parser.isSet(QStringLiteral("restore")))
            return QString();
        if (erase)
            return tr(it, "--erase e --restore si escludono", "--erase and --restore exclude each other");
        const QString given = parser.value(QStringLiteral("restore"));
        // "--restore --erase" would take the option for the folder.
        if (given.startsWith(QLatin1Char('-')))
            return tr(it, "--restore richiede FOLDER", "--restore needs FOLDER");
        QString problem;
        folder = existingFolder(given, it, &problem);
        return problem;
    }
    Operations::Result run(CliSession &s) override
    {
        if (!folder.isEmpty())
            return s.operations.reinstall(Operations::ReinstallKind::SaveAndRestore, folder);
        return s.operations.reinstall(erase ? Operations::ReinstallKind::Erase : Operations::ReinstallKind::KeepSongs);
    }

private:
    bool erase = false;
    QString folder;
};

class OptimiseCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("optimise"); }
    QString synopsis() const override { return QStringLiteral("optimise [--dry-run] [--delete] [--images] [--split]"); }
    QString summary(bool it) const override
    {
        return tr(it, "ottimizza la libreria delle basi", "optimise the song library");
    }
    QString help(bool it) const override
    {
        return tr(it,
                  "Ottimizza la libreria delle basi; senza passi indicati, tutti e tre. La suddivisione si\n"
                  "chiude con la deframmentazione. Con --dry-run nulla cambia: ogni azione che la vera\n"
                  "ottimizzazione farebbe è elencata, e alla fine un riepilogo dice cosa farebbe.",
                  "Optimises the song library; with no step given, all three. The split ends with the\n"
                  "defragmentation. With --dry-run nothing changes: every action the real optimisation\n"
                  "would take is listed, and a summary at the end says what it would do.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {flag({QStringLiteral("delete")}, tr(it, "elimina i file che il lettore non sa usare",
                                                     "delete the files the player cannot use")),
                flag({QStringLiteral("images")}, tr(it, "sposta le immagini nella cartella \"Images\"",
                                                     "move the images into the folder \"Images\"")),
                flag({QStringLiteral("split")}, tr(it, "divide per titolo le cartelle di più di 1000 basi (le playlist seguono)",
                                                    "split folders of more than 1000 songs by title (playlists follow)")),
                flag({QStringLiteral("dry-run")}, tr(it, "elenca cosa si farebbe e non cambia nulla",
                                                      "list what would be done and change nothing"))};
    }
    QString take(const QCommandLineParser &parser, bool) override
    {
        steps.deleteUnsupported = parser.isSet(QStringLiteral("delete"));
        steps.moveImages = parser.isSet(QStringLiteral("images"));
        steps.split = parser.isSet(QStringLiteral("split"));
        if (!steps.any())
            steps = OptimiseSteps::full();
        dryRun = parser.isSet(QStringLiteral("dry-run"));
        return QString();
    }
    Operations::Result run(CliSession &s) override { return s.operations.optimise(steps, dryRun); }

private:
    OptimiseSteps steps;
    bool dryRun = false;
};

QList<QCommandLineOption> globalOptions(bool it)
{
    return {QCommandLineOption(QStringLiteral("lang"),
                               tr(it, "la lingua dei messaggi (altrimenti: Corvel.ini, poi LC_ALL, LC_MESSAGES, LANG)",
                                  "the language of the messages (else: Corvel.ini, then LC_ALL, LC_MESSAGES, LANG)"),
                               QStringLiteral("it|en")),
            flag({QStringLiteral("y"), QStringLiteral("yes")},
                 tr(it, "risponde a ogni domanda con la risposta che lascia proseguire",
                    "answer every question with the answer that lets the operation go on")),
            flag({QStringLiteral("json")}, tr(it, "un oggetto JSON per evento su stdout, uno per riga",
                                              "one JSON object per event on stdout, one a line")),
            flag({QStringLiteral("h"), QStringLiteral("help")},
                 tr(it, "questo aiuto; COMMAND --help: quello del comando", "this help; COMMAND --help: the command's")),
            flag({QStringLiteral("version")}, tr(it, "la versione", "the version"))};
}

QString optionTable(const QList<QCommandLineOption> &options)
{
    QStringList names;
    int widest = 0;
    for (const QCommandLineOption &option : options) {
        QStringList spelled;
        for (const QString &name : option.names())
            spelled << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString shown = spelled.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            shown += QLatin1Char(' ') + option.valueName();
        names << shown;
        widest = qMax(widest, shown.size());
    }
    QString table;
    for (int i = 0; i < options.size(); ++i) {
        const QString indent = QStringLiteral("\n") + QString(widest + 4, QLatin1Char(' '));
        table += QStringLiteral("  ") + names.at(i).leftJustified(widest + 2)
                 + options.at(i).description().replace(QLatin1Char('\n'), indent) + QLatin1Char('\n');
    }
    return table;
}

// What QCommandLineParser found wrong, in the language of the texts.
QString parserProblem(const QCommandLineParser &parser, const QList<QCommandLineOption> &options, bool it)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return tr(it, "opzione sconosciuta '%1'", "unknown option '%1'")
            .arg((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    // The parser's own texts: "Missing value after '--x'." or "Unexpected value after '--x'."
    const QString text = parser.errorText();
    const QString option = text.section(QLatin1Char('\''), 1, 1);
    QString valueName;
    for (const QCommandLineOption &known : options)
        if (known.names().contains(option.mid(option.startsWith(QLatin1String("--")) ? 2 : 1)))
            valueName = known.valueName();
    if (text.startsWith(QLatin1String("Missing value")))
        return tr(it, "%1 richiede %2", "%1 needs %2").arg(option, valueName);
    if (text.startsWith(QLatin1String("Unexpected value")))
        return tr(it, "%1 non accetta valori", "%1 takes no value").arg(option);
    return text;
}

} // namespace

QString CliCommand::take(const QCommandLineParser &, bool)
{
    return QString();
}

QString CliCommand::existingFolder(const QString &given, bool italian, QString *problem)
{
    const QString absolute = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return absolute;
    *problem = tr(italian, "la cartella '%1' non esiste", "no folder '%1'").arg(QDir::toNativeSeparators(given));
    return QString();
}

const std::vector<std::unique_ptr<CliCommand>> &cliCommands()
{
    static const auto commands = [] {
        std::vector<std::unique_ptr<CliCommand>> list;
        list.push_back(std::make_unique<CheckCommand>());
        list.push_back(std::make_unique<UpdateCommand>());
        list.push_back(std::make_unique<BackupCommand>());
        list.push_back(std::make_unique<RestoreCommand>());
        list.push_back(std::make_unique<ReinstallCommand>());
        list.push_back(std::make_unique<OptimiseCommand>());
        return list;
    }();
    return commands;
}

CommandLine parseCommandLine(const QStringList &arguments, int languageIfNotGiven)
{
    CommandLine line;
    // The global options come before the command; what follows the command is its own.
    QCommandLineParser global;
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    global.addOptions(globalOptions(false));
    const bool globalOk = global.parse(arguments);
    const QStringList rest = global.positionalArguments();

    CliCommand *command = nullptr;
    for (const auto &known : cliCommands())
        if (!rest.isEmpty() && known->name() == rest.first())
            command = known.get();
    QCommandLineParser own;
    QList<QCommandLineOption> ownOptions = globalOptions(false);
    if (command)
        ownOptions += command->options(false);
    own.addOptions(ownOptions);
    const bool ownOk = !command || own.parse(QStringList{arguments.value(0)} + rest.mid(1));

    // The global options may also follow the command.
    const auto isSet = [&](const QString &name) { return global.isSet(name) || (command && own.isSet(name)); };
    QString lang = global.value(QStringLiteral("lang"));
    if (command && own.isSet(QStringLiteral("lang")))
        lang = own.value(QStringLiteral("lang"));
    line.yes = isSet(QStringLiteral("yes"));
    line.json = isSet(QStringLiteral("json"));
    line.help = isSet(QStringLiteral("help"));
    line.version = isSet(QStringLiteral("version"));
    line.language = lang == QLatin1String("it") ? 0 : lang == QLatin1String("en") ? 1 : -1;
    line.command = command;
    const bool it = (line.language >= 0 ? line.language : languageIfNotGiven) == 0;

    if (!globalOk) {
        line.problem = parserProblem(global, globalOptions(false), it);
    } else if (!lang.isEmpty() && line.language < 0) {
        line.problem = tr(it, "--lang accetta it o en", "--lang takes it or en");
    } else if (line.help || line.version) {
        if (!rest.isEmpty() && !command)
            line.problem = tr(it, "comando sconosciuto '%1'", "unknown command '%1'").arg(rest.first());
    } else if (rest.isEmpty()) {
        line.problem = tr(it, "nessun comando", "no command given");
    } else if (!command) {
        line.problem = tr(it, "comando sconosciuto '%1'", "unknown command '%1'").arg(rest.first());
    } else if (!ownOk) {
        line.problem = parserProblem(own, ownOptions, it);
    } else {
        const QStringList given = own.positionalArguments();
        const QStringList wanted = command->arguments();
        if (given.size() < wanted.size())
            line.problem = tr(it, "%1 richiede %2", "%1 needs %2").arg(command->name(), wanted.at(given.size()));
        else if (given.size() > wanted.size() && !command->takesMoreArguments(own))
            line.problem = tr(it, "argomento in più '%1'", "unexpected argument '%1'").arg(given.at(wanted.size()));
        else
            line.problem = command->take(own, it);
    }
    return line;
}

QString toolHelp(bool it)
{
    QString commands;
    for (const auto &command : cliCommands()) {
        const QString synopsis = command->synopsis();
        commands += synopsis.size() <= 22 ? QStringLiteral("  %1%2\n").arg(synopsis.leftJustified(24), command->summary(it))
                                          : QStringLiteral("  %1\n%2%3\n").arg(synopsis, QString(26, QLatin1Char(' ')),
                                                                                command->summary(it));
    }
    const QString log = QDir::toNativeSeparators(oplog::path());
    return tr(it, "Uso: corvel3-cli [OPZIONI] COMMAND [ARGOMENTI]\n\n", "Usage: corvel3-cli [OPTIONS] COMMAND [ARGUMENTS]\n\n")
           + tr(it,
                "Cura un lettore Corvel3 collegato via USB, la cui unità si trova tra i volumi montati per\n"
                "la sua etichetta \"corvel3\". Ogni comando fa quel che fa lo stesso pulsante della finestra.\n\n"
                "Comandi:\n",
                "Looks after a Corvel3 player plugged in by USB, whose drive is found among the mounted\n"
                "volumes by its label \"corvel3\". Each command does what the same button of the window does.\n\n"
                "Commands:\n")
           + commands + tr(it, "\nOpzioni (prima o dopo il comando):\n", "\nOptions (before or after the command):\n")
           + optionTable(globalOptions(it))
           + tr(it,
                "\nLe domande si fanno sul terminale; senza terminale ognuna prende la risposta sicura (nessuna\n"
                "eliminazione, nessuna sovrascrittura, stop dopo un errore), con --yes quella che lascia\n"
                "proseguire. Ctrl-C ferma l'operazione al prossimo punto sicuro; un secondo Ctrl-C chiude\n"
                "subito il programma. L'avanzamento va su stderr. Ogni file eliminato, spostato o sostituito\n"
                "è annotato in %1.\n\n"
                "Codici di uscita: 0 fatto, 1 non riuscito, annullato o fermato, 2 uso sbagliato, 3 lettore\n"
                "non trovato, 130 fermato con Ctrl-C.\n"
                "Ambiente: CORVEL3_VOLUMES, CORVEL3_UPDATE_SERVER, CORVEL3_UNPACKER (vedi il README).\n"
                "'corvel3-cli COMMAND --help' descrive un comando.\n",
                "\nQuestions are asked on the terminal; without one each takes its safe answer (no deletion,\n"
                "no overwrite, stop after an error), with --yes the one that lets the operation go on.\n"
                "Ctrl-C stops the operation at its next safe point; a second Ctrl-C ends the program at\n"
                "once. Progress goes to stderr. Every file deleted, moved or replaced is logged in\n"
                "%1.\n\n"
                "Exit codes: 0 done, 1 failed, declined or stopped, 2 usage error, 3 player not found,\n"
                "130 stopped by Ctrl-C.\n"
                "Environment: CORVEL3_VOLUMES, CORVEL3_UPDATE_SERVER, CORVEL3_UNPACKER (see the README).\n"
                "'corvel3-cli COMMAND --help' describes a command.\n")
                 .arg(log);
}

QString commandHelp(const CliCommand &command, bool it)
{
    QString text = tr(it, "Uso: corvel3-cli [OPZIONI] %1\n\n", "Usage: corvel3-cli [OPTIONS] %1\n\n").arg(command.synopsis())
                   + command.help(it) + QLatin1Char('\n');
    const QList<QCommandLineOption> own = command.options(it);
    if (!own.isEmpty())
        text += tr(it, "\nOpzioni di %1:\n", "\nOptions of %1:\n").arg(command.name()) + optionTable(own);
    return text + tr(it, "\nOpzioni comuni: --lang it|en, --yes, --json, --help ('corvel3-cli --help').\n",
                     "\nCommon options: --lang it|en, --yes, --json, --help ('corvel3-cli --help').\n");
}
