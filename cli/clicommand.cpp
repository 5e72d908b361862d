#include "cli/clicommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "cli/cliformatter.h"
#include "core/dialogs.h"
#include "core/messagetable.h"
#include "core/operationlog.h"

namespace {

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
        return Texts::of(it).translate("CliCommand", "check the player's system files");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Checks that the player's system files are there (the start file and the two system\n"
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
            const QString done = Texts::of(it).translate("CliCommand", "SOFTWARE CONTROL COMPLETED");
            boxes::information(s.dialogs, nullptr, done, done, QStringLiteral("check.clean"));
        } else {
            end.result = Operations::Result::Failed;
            QStringList paths;
            for (const QString &file : check.missing) {
                end.outcome.addNotDone(file, Texts::of(it).translate("CliCommand", "missing"));
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
        return Texts::of(it).translate("CliCommand", "put the latest system update onto the player");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Downloads the system update, unpacks and checks it, and copies it onto the player, which\n"
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
        return Texts::of(it).translate("CliCommand", "save the songs and playlists into a new dated folder inside FOLDER");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Saves the songs and the playlists into a new folder \"Corvel3 backup YYYY-MM-DD HHMM\"\n"
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
        return Texts::of(it).translate("CliCommand", "copy a backup back onto the player");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Copies a backup back onto the player. FOLDER is a backup (\"Corvel3 backup ...\") or the\n"
                                                     "folder that holds dated backups: then the newest complete one is restored, after a\n"
                                                     "question. Before anything is written, every file to be restored is checked against the\n"
                                                     "backup's manifest: when one is missing or changed nothing is written and the files are\n"
                                                     "named. Nothing on the player is deleted; a different file already there is replaced only\n"
                                                     "after a question (one an interrupted restore left cut short, at once).");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {QCommandLineOption(QStringLiteral("only"),
                                   Texts::of(it).translate("CliCommand", "restore PATH only (relative to the player's root, as in the backup: a folder\n"
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
            return Texts::of(it).translate("CliCommand", "--only: '%1' is not in the backup").arg(wrong.first());
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
        return Texts::of(it).translate("CliCommand", "reinstall the player's system");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Downloads the full system, checks it, prepares it on the player and puts it in place of\n"
                                                     "the old one, then installs the latest update; a failure before the swap leaves the old\n"
                                                     "system. Without an option the songs stay where they are.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        QCommandLineOption restore(QStringLiteral("restore"),
                                   Texts::of(it).translate("CliCommand", "save the songs into FOLDER (into a new dated folder when it is not empty),\n"
                                                                         "check them, erase the player, reinstall and copy them back; FOLDER stays"),
                                   QStringLiteral("FOLDER"));
        return {flag({QStringLiteral("erase")}, Texts::of(it).translate("CliCommand", "erase every song, after a question")),
                restore};
    }
    QString take(const QCommandLineParser &parser, bool it) override
    {
        erase = parser.isSet(QStringLiteral("erase"));
        if (!parser.isSet(QStringLiteral("restore")))
            return QString();
        if (erase)
            return Texts::of(it).translate("CliCommand", "--erase and --restore exclude each other");
        const QString given = parser.value(QStringLiteral("restore"));
        // "--restore --erase" would take the option for the folder.
        if (given.startsWith(QLatin1Char('-')))
            return Texts::of(it).translate("CliCommand", "--restore needs FOLDER");
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
        return Texts::of(it).translate("CliCommand", "optimise the song library");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Optimises the song library; with no step given, all three. The split ends with the\n"
                                                     "defragmentation. With --dry-run nothing changes: every action the real optimisation\n"
                                                     "would take is listed, and a summary at the end says what it would do.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {flag({QStringLiteral("delete")}, Texts::of(it).translate("CliCommand", "delete the files the player cannot use")),
                flag({QStringLiteral("images")}, Texts::of(it).translate("CliCommand", "move the images into the folder \"Images\"")),
                flag({QStringLiteral("split")}, Texts::of(it).translate("CliCommand", "split folders of more than 1000 songs by title (playlists follow)")),
                flag({QStringLiteral("dry-run")}, Texts::of(it).translate("CliCommand", "list what would be done and change nothing"))};
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

class HealthCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("health"); }
    QString synopsis() const override { return QStringLiteral("health [--fix] [--dry-run]"); }
    QString summary(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "check the library against the player's rules");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Checks the library: playlist lines that point at no song (and where the song is now),\n"
                                                     "unreadable or damaged songs (MP3, MIDI, empty), companion files without their song, names\n"
                                                     "FAT cannot store or the player cannot show, folders of more than 1000 songs, duplicate songs,\n"
                                                     "free space for the system.\n"
                                                     "With --fix it offers, group by group and after a question, only safe fixes: re-point lines\n"
                                                     "whose song is elsewhere, remove dead lines, rename names (the playlists follow), delete\n"
                                                     "duplicate copies (a choice per set of copies). Without a terminal every question takes its\n"
                                                     "safe answer and nothing changes; --yes takes the fixes but never deletes a copy, which needs\n"
                                                     "a yes typed on the terminal. With --dry-run nothing changes and nothing is asked: every fix\n"
                                                     "is listed.\n"
                                                     "Exit 0: no problems; 1: problems left; 3: no player.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {flag({QStringLiteral("fix")}, Texts::of(it).translate("CliCommand", "offer the safe fixes, each after a question")),
                flag({QStringLiteral("dry-run")}, Texts::of(it).translate("CliCommand", "list the fixes and change nothing"))};
    }
    QString take(const QCommandLineParser &parser, bool) override
    {
        dryRun = parser.isSet(QStringLiteral("dry-run"));
        fix = dryRun || parser.isSet(QStringLiteral("fix"));
        return QString();
    }
    Operations::Result run(CliSession &s) override { return s.operations.health(fix ? health::AllGroups : 0, dryRun); }

private:
    bool fix = false;
    bool dryRun = false;
};

class BackupsCommand : public FolderCommand {
public:
    QString name() const override { return QStringLiteral("backups"); }
    QString synopsis() const override { return QStringLiteral("backups FOLDER"); }
    QString summary(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "list the backups in FOLDER");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Lists the backups in FOLDER (or FOLDER itself when it is one), newest first: date, name,\n"
                                                     "songs, size, complete or not, whether every file is there with its size, and the bytes new\n"
                                                     "and shared with other backups. No player needed. Exit 1 when FOLDER holds none.");
    }
    Operations::Result run(CliSession &s) override { return s.operations.backups(folder); }
};

class VerifyCommand : public FolderCommand {
public:
    QString name() const override { return QStringLiteral("verify"); }
    QString synopsis() const override { return QStringLiteral("verify FOLDER [--read-data]"); }
    QString summary(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "check a backup against its manifest");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Checks a backup against its manifest without restoring it: every file there with its\n"
                                                     "size; with --read-data every byte too (SHA-256). FOLDER is a backup or the folder that holds\n"
                                                     "them: then the newest complete one. No player needed.\n"
                                                     "Exit 0: all whole; 1: files missing or damaged (named), or an incomplete backup.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {flag({QStringLiteral("read-data")}, Texts::of(it).translate("CliCommand", "read and check every byte"))};
    }
    QString take(const QCommandLineParser &parser, bool it) override
    {
        readData = parser.isSet(QStringLiteral("read-data"));
        return FolderCommand::take(parser, it);
    }
    Operations::Result run(CliSession &s) override { return s.operations.verify(folder, readData); }

private:
    bool readData = false;
};

class PruneCommand : public FolderCommand {
public:
    QString name() const override { return QStringLiteral("prune"); }
    QString synopsis() const override { return QStringLiteral("prune FOLDER --keep N [--dry-run]"); }
    QString summary(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "remove the backups older than the N newest complete ones");
    }
    QString help(bool it) const override
    {
        return Texts::of(it).translate("CliCommand", "Removes from FOLDER the backups older than its N newest complete ones; the newest complete\n"
                                                     "one always stays, newer backups (incomplete ones too) stay, a backup that is a link is left\n"
                                                     "alone. A song shared with a backup that stays remains in it. Every file removed is logged.\n"
                                                     "With --dry-run it lists the backups it would remove. No player needed.");
    }
    QList<QCommandLineOption> options(bool it) const override
    {
        return {QCommandLineOption(QStringLiteral("keep"), Texts::of(it).translate("CliCommand", "how many complete backups to keep (at least 1)"),
                                   QStringLiteral("N")),
                flag({QStringLiteral("dry-run")}, Texts::of(it).translate("CliCommand", "list what would be removed and change nothing"))};
    }
    QString take(const QCommandLineParser &parser, bool it) override
    {
        dryRun = parser.isSet(QStringLiteral("dry-run"));
        bool number = false;
        keep = parser.value(QStringLiteral("keep")).toInt(&number);
        if (!parser.isSet(QStringLiteral("keep")))
            return Texts::of(it).translate("CliCommand", "prune needs --keep N");
        if (!number || keep < 1)
            return Texts::of(it).translate("CliCommand", "--keep takes a number from 1 up");
        return FolderCommand::take(parser, it);
    }
    Operations::Result run(CliSession &s) override { return s.operations.prune(folder, keep, dryRun); }

private:
    int keep = 0;
    bool dryRun = false;
};

QList<QCommandLineOption> globalOptions(bool it)
{
    return {QCommandLineOption(QStringLiteral("lang"),
                               Texts::of(it).translate("CliCommand", "the language of the messages (else: Corvel.ini, then LC_ALL, LC_MESSAGES, LANG)"),
                               QStringLiteral("it|en")),
            flag({QStringLiteral("y"), QStringLiteral("yes")},
                 Texts::of(it).translate("CliCommand", "answer every question with the answer that lets the operation go on")),
            flag({QStringLiteral("json")}, Texts::of(it).translate("CliCommand", "one JSON object per event on stdout, one a line")),
            flag({QStringLiteral("h"), QStringLiteral("help")},
                 Texts::of(it).translate("CliCommand", "this help; COMMAND --help: the command's")),
            flag({QStringLiteral("version")}, Texts::of(it).translate("CliCommand", "the version"))};
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
        return Texts::of(it).translate("CliCommand", "unknown option '%1'")
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
        return Texts::of(it).translate("CliCommand", "%1 needs %2").arg(option, valueName);
    if (text.startsWith(QLatin1String("Unexpected value")))
        return Texts::of(it).translate("CliCommand", "%1 takes no value").arg(option);
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
    *problem = Texts::of(italian).translate("CliCommand", "no folder '%1'").arg(QDir::toNativeSeparators(given));
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
        list.push_back(std::make_unique<HealthCommand>());
        list.push_back(std::make_unique<BackupsCommand>());
        list.push_back(std::make_unique<VerifyCommand>());
        list.push_back(std::make_unique<PruneCommand>());
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
        line.problem = Texts::of(it).translate("CliCommand", "--lang takes it or en");
    } else if (line.help || line.version) {
        if (!rest.isEmpty() && !command)
            line.problem = Texts::of(it).translate("CliCommand", "unknown command '%1'").arg(rest.first());
    } else if (rest.isEmpty()) {
        line.problem = Texts::of(it).translate("CliCommand", "no command given");
    } else if (!command) {
        line.problem = Texts::of(it).translate("CliCommand", "unknown command '%1'").arg(rest.first());
    } else if (!ownOk) {
        line.problem = parserProblem(own, ownOptions, it);
    } else {
        const QStringList given = own.positionalArguments();
        const QStringList wanted = command->arguments();
        if (given.size() < wanted.size())
            line.problem = Texts::of(it).translate("CliCommand", "%1 needs %2").arg(command->name(), wanted.at(given.size()));
        else if (given.size() > wanted.size() && !command->takesMoreArguments(own))
            line.problem = Texts::of(it).translate("CliCommand", "unexpected argument '%1'").arg(given.at(wanted.size()));
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
    return Texts::of(it).translate("CliCommand", "Usage: corvel3-cli [OPTIONS] COMMAND [ARGUMENTS]\n\n")
           + Texts::of(it).translate("CliCommand", "Looks after a Corvel3 player plugged in by USB, whose drive is found among the mounted\n"
                                                   "volumes by its label \"corvel3\". Each command does what the same button of the window does.\n\n"
                                                   "Commands:\n")
           + commands + Texts::of(it).translate("CliCommand", "\nOptions (before or after the command):\n")
           + optionTable(globalOptions(it))
           + Texts::of(it).translate("CliCommand", "\nQuestions are asked on the terminal; without one each takes its safe answer (no deletion,\n"
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
    QString text = Texts::of(it).translate("CliCommand", "Usage: corvel3-cli [OPTIONS] %1\n\n").arg(command.synopsis())
                   + command.help(it) + QLatin1Char('\n');
    const QList<QCommandLineOption> own = command.options(it);
    if (!own.isEmpty())
        text += Texts::of(it).translate("CliCommand", "\nOptions of %1:\n").arg(command.name()) + optionTable(own);
    return text + Texts::of(it).translate("CliCommand", "\nCommon options: --lang it|en, --yes, --json, --help ('corvel3-cli --help').\n");
}
