// corvel3-cli: the maintenance operations without a window, for scripts and for a look at what
// an optimisation would do before it does it.
#include <csignal>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTimer>

#include "cli/clifrontend.h"
#include "core/languagefile.h"
#include "core/messagetable.h"
#include "operations/operations.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

// The first Ctrl-C presses Stop, so the operation ends at its next safe point; a second one ends
// the program at once.
void onInterrupt(int)
{
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

enum ExitCode { ExitDone = 0, ExitFailed = 1, ExitUsage = 2, ExitNoPlayer = 3 };

const char kToolHelp[] =
    "Usage: corvel3-cli [--lang it|en] [--yes] [--json] COMMAND ...\n"
    "\n"
    "Maintenance of the Corvel3 player, whose drive is found by its label \"corvel3\".\n"
    "\n"
    "Commands:\n"
    "  check                     check the player's three system files\n"
    "  update                    install the latest system update\n"
    "  backup FOLDER             save the songs and playlists into FOLDER (emptied first)\n"
    "  restore FOLDER            copy a backup in FOLDER back onto the player\n"
    "  reinstall [--erase | --restore FOLDER]\n"
    "                            reinstall the system (keeping, erasing, or saving and\n"
    "                            restoring the songs)\n"
    "  optimise [--dry-run] [--delete] [--images] [--split]\n"
    "                            optimise the library (no step: all of them)\n"
    "\n"
    "Options:\n"
    "  --lang it|en   language of the messages (default: Corvel.ini beside the program, else en)\n"
    "  --yes          answer every question with the answer that lets the operation go on\n"
    "  --json         one JSON object per event on stdout\n"
    "  --help         this help; COMMAND --help: the command's\n"
    "\n"
    "Questions are asked on the terminal; without one, each takes its safe answer (no deletion,\n"
    "no overwrite, stop after an error) unless --yes is given.\n"
    "Exit codes: 0 done, 1 failed or declined, 2 usage error, 3 player not found.\n"
    "Environment: CORVEL3_VOLUMES, CORVEL3_UPDATE_SERVER, CORVEL3_UNPACKER (see README).\n";

QString commandHelp(const QString &command)
{
    if (command == QLatin1String("check"))
        return QStringLiteral("Usage: corvel3-cli check\n\nChecks that AUTOEXEC.BAT, System/Corvel/Corvel.exe and "
                              "System/DispProc/DispProc.exe are on the player.\nExit 0: all there; 1: a file is "
                              "missing (repair with \"reinstall\"); 3: no player.\n");
    if (command == QLatin1String("update"))
        return QStringLiteral("Usage: corvel3-cli update\n\nDownloads the system update and copies it onto the "
                              "player, which installs it at its next start.\n");
    if (command == QLatin1String("backup"))
        return QStringLiteral("Usage: corvel3-cli backup FOLDER\n\nSaves the song library and the playlists into "
                              "FOLDER. A FOLDER that holds files is emptied first, after a question.\n");
    if (command == QLatin1String("restore"))
        return QStringLiteral("Usage: corvel3-cli restore FOLDER\n\nCopies the backup in FOLDER back onto the "
                              "player. Nothing on the player is deleted; a file already there is replaced only "
                              "after a question.\n");
    if (command == QLatin1String("reinstall"))
        return QStringLiteral("Usage: corvel3-cli reinstall [--erase | --restore FOLDER]\n\nDownloads the full "
                              "system and installs it, then the latest update.\n  (no option)      keeps the "
                              "songs\n  --erase         erases the whole player first\n  --restore FOLDER  saves "
                              "the songs into FOLDER, erases the player, installs, copies them back\n");
    if (command == QLatin1String("optimise"))
        return QStringLiteral("Usage: corvel3-cli optimise [--dry-run] [--delete] [--images] [--split]\n\n"
                              "  --delete   delete the files the player cannot use\n"
                              "  --images   gather the images into \"Images\"\n"
                              "  --split    split folders of more than 1000 songs by title (playlists follow)\n"
                              "  --dry-run  list every action the run would take and change nothing\n"
                              "No step given: all three, then the defragmentation.\n");
    return QString();
}

int usageError(CliOutput &output, const QString &problem)
{
    output.note(QStringLiteral("corvel3-cli: ") + problem);
    output.note(QStringLiteral("Try 'corvel3-cli --help'."));
    return ExitUsage;
}

// The language file the windows write at the first start: "italian" or "english".
int languageFromFile()
{
    QFile file(languagefile::readPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QByteArray content = file.readAll();
    const int zero = content.indexOf('\0');
    if (zero >= 0)
        content.truncate(zero);
    return content.trimmed() == "italian" ? 0 : 1;
}

int exitCodeFor(Operations::Result result)
{
    switch (result) {
    case Operations::Result::Done: return ExitDone;
    case Operations::Result::PlayerNotFound: return ExitNoPlayer;
    default: return ExitFailed;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The windows' name, so both front ends share the log, the cache and the language file.
    QCoreApplication::setApplicationName(QStringLiteral("corvel3"));
    QStringList args = app.arguments().mid(1);

    // Options before the command.
    int language = -1;
    bool yes = false;
    bool json = false;
    bool help = false;
    QString command;
    QString languageProblem;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--yes") || arg == QLatin1String("-y")) {
            yes = true;
        } else if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            help = true;
        } else if (arg == QLatin1String("--lang") || arg.startsWith(QLatin1String("--lang="))) {
            const QString value = arg.contains(QLatin1Char('=')) ? arg.section(QLatin1Char('='), 1)
                                                                  : (args.isEmpty() ? QString() : args.takeFirst());
            if (value == QLatin1String("it"))
                language = 0;
            else if (value == QLatin1String("en"))
                language = 1;
            else
                languageProblem = QStringLiteral("--lang takes \"it\" or \"en\"");
        } else if (arg.startsWith(QLatin1Char('-'))) {
            languageProblem = QStringLiteral("unknown option ") + arg;
        } else {
            command = arg;
            break;
        }
    }

    Operations operations;
    operations.state.currentLanguage = language >= 0 ? language : languageFromFile();
    CliOutput output(takeStandardOutput(), json, operations.state);
    if (!languageProblem.isEmpty())
        return usageError(output, languageProblem);
    if (command.isEmpty()) {
        if (help) {
            output.note(QString::fromLatin1(kToolHelp), false);
            return ExitDone;
        }
        return usageError(output, QStringLiteral("no command given"));
    }
    if (commandHelp(command).isEmpty())
        return usageError(output, QStringLiteral("unknown command ") + command);

    // The command's own arguments.
    QStringList flags;
    QStringList positional;
    QString restoreFolder;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            help = true;
        else if (arg == QLatin1String("--restore") && command == QLatin1String("reinstall") && i + 1 < args.size())
            restoreFolder = args.at(++i);
        else if (arg.startsWith(QLatin1Char('-')))
            flags << arg;
        else
            positional << arg;
    }
    if (help) {
        output.note(commandHelp(command), false);
        return ExitDone;
    }

    QStringList allowedFlags;
    int wantedPositional = 0;
    if (command == QLatin1String("backup") || command == QLatin1String("restore"))
        wantedPositional = 1;
    else if (command == QLatin1String("reinstall"))
        allowedFlags = QStringList{QStringLiteral("--erase"), QStringLiteral("--restore")};
    else if (command == QLatin1String("optimise"))
        allowedFlags = QStringList{QStringLiteral("--dry-run"), QStringLiteral("--delete"), QStringLiteral("--images"),
                                   QStringLiteral("--split")};
    for (const QString &flag : flags)
        if (!allowedFlags.contains(flag))
            return usageError(output, QStringLiteral("%1 does not take %2%3")
                                          .arg(command, flag,
                                               flag == QLatin1String("--restore") ? QStringLiteral(" without a FOLDER")
                                                                                  : QString()));
    if (positional.size() != wantedPositional)
        return usageError(output, wantedPositional ? QStringLiteral("%1 needs one FOLDER").arg(command)
                                                   : QStringLiteral("%1 takes no argument %2").arg(command, positional.value(0)));
    if (flags.contains(QStringLiteral("--erase")) && !restoreFolder.isEmpty())
        return usageError(output, QStringLiteral("reinstall takes --erase or --restore, not both"));
    auto absolute = [](const QString &folder) { return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); };
    const QString folder = positional.isEmpty() ? QString() : absolute(positional.first());
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        return usageError(output, QStringLiteral("no folder %1").arg(folder));

    // The front end: answers, progress, events.
    CliDialogs dialogs(output, yes, isTerminal(0));
    CliProgress progress(output, !json && isTerminal(2));
    Operations::FrontEnd &front = operations.frontEnd();
    front.dialogs = &dialogs;
    front.progress = &progress;
    front.onStart = [&](const QString &operation) {
        output.event(QStringLiteral("start"), QJsonObject{{QStringLiteral("operation"), operation}});
    };
    front.onEnd = [&](const Operations::RunEnd &end) {
        progress.finish();
        output.event(QStringLiteral("end"), QJsonObject{{QStringLiteral("operation"), end.operation},
                                                        {QStringLiteral("result"), Operations::resultName(end.result)},
                                                        {QStringLiteral("exitCode"), exitCodeFor(end.result)}});
    };
    const bool dryRun = flags.contains(QStringLiteral("--dry-run"));
    front.onFileAction = [&](const QString &action, const QString &path, const QString &target, bool ok) {
        output.event(QStringLiteral("fileAction"), QJsonObject{{QStringLiteral("action"), action},
                                                               {QStringLiteral("path"), path},
                                                               {QStringLiteral("target"), target},
                                                               {QStringLiteral("ok"), ok},
                                                               {QStringLiteral("dryRun"), dryRun}});
        if (dryRun || !ok)
            output.say(action + QLatin1Char(' ') + path + (target.isEmpty() ? QString() : QStringLiteral(" -> ") + target)
                       + (ok ? QString() : QStringLiteral(" FAILED")));
    };
    auto finish = [&](const QString &operation, Operations::Result result, QJsonObject extra = QJsonObject()) {
        progress.finish();
        extra.insert(QStringLiteral("operation"), operation);
        extra.insert(QStringLiteral("result"), Operations::resultName(result));
        extra.insert(QStringLiteral("exitCode"), exitCodeFor(result));
        output.event(QStringLiteral("end"), extra);
        if (!json && result != Operations::Result::Done)
            output.note(operation + QStringLiteral(": ") + Operations::resultName(result));
        return exitCodeFor(result);
    };

    // Without a player nothing starts.
    if (operations.deviceDrive().isEmpty()) {
        output.event(QStringLiteral("start"), QJsonObject{{QStringLiteral("operation"), command}});
        output.say(messageText(operations.state.currentLanguage, MSG_DEVICE_NOT_FOUND_TITLE) + QStringLiteral(": ")
                   + messageText(operations.state.currentLanguage, MSG_DEVICE_NOT_FOUND_TEXT));
        return finish(command, Operations::Result::PlayerNotFound);
    }

    if (command == QLatin1String("check")) {
        output.event(QStringLiteral("start"), QJsonObject{{QStringLiteral("operation"), command}});
        const SystemCheck check = operations.check();
        const bool it = operations.state.italian();
        if (check.clean()) {
            output.say(it ? QStringLiteral("CONTROLLO SOFTWARE COMPLETATO") : QStringLiteral("SOFTWARE CONTROL COMPLETED"));
        } else {
            output.say(messageText(operations.state.currentLanguage, MSG_SYSTEM_FILES_DAMAGED_TITLE));
            for (const QString &file : check.missing)
                output.say(QStringLiteral("  ") + check.drive + file);
        }
        return finish(command, check.clean() ? Operations::Result::Done : Operations::Result::Failed,
                      QJsonObject{{QStringLiteral("drive"), check.drive},
                                  {QStringLiteral("missing"), QJsonArray::fromStringList(check.missing)}});
    }

    std::signal(SIGINT, onInterrupt);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&operations] {
        if (interrupted)
            operations.requestStop();
    });
    stopWatch.start(100);

    Operations::Result result = Operations::Result::Failed;
    if (command == QLatin1String("update")) {
        result = operations.update();
    } else if (command == QLatin1String("backup")) {
        result = operations.backup(folder);
    } else if (command == QLatin1String("restore")) {
        result = operations.restore(folder);
    } else if (command == QLatin1String("reinstall")) {
        if (!restoreFolder.isEmpty())
            result = operations.reinstall(Operations::ReinstallKind::SaveAndRestore, absolute(restoreFolder));
        else if (flags.contains(QStringLiteral("--erase")))
            result = operations.reinstall(Operations::ReinstallKind::Erase);
        else
            result = operations.reinstall(Operations::ReinstallKind::KeepSongs);
    } else if (command == QLatin1String("optimise")) {
        OptimiseSteps steps;
        steps.deleteUnsupported = flags.contains(QStringLiteral("--delete"));
        steps.moveImages = flags.contains(QStringLiteral("--images"));
        steps.split = flags.contains(QStringLiteral("--split"));
        if (!steps.any())
            steps = OptimiseSteps::full();
        result = operations.optimise(steps, dryRun);
    }
    // The end event came from the core; the plain summary is ours. A step that clears its own
    // Stop still ends as stopped here.
    if (interrupted)
        result = Operations::Result::Stopped;
    progress.finish();
    if (!json && result != Operations::Result::Done)
        output.note(command + QStringLiteral(": ") + Operations::resultName(result));
    return exitCodeFor(result);
}
