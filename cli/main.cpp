// corvel3-cli: the maintenance operations without a window, for scripts and for a look at what
// an optimisation would do before it does it. Each command is a CliCommand; every run goes
// through the operations runner, and a formatter reports its events as text or JSON lines.
#include <csignal>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "cli/clicommand.h"
#include "cli/clifrontend.h"
#include "cli/cliformatter.h"
#include "cli/terminal.h"
#include "core/languagefile.h"
#include "operations/operations.h"

// The build gives the project's version; a bare compile (the Windows syntax check) has none.
#ifndef CORVEL3_VERSION
#define CORVEL3_VERSION "0"
#endif

namespace {

volatile std::sig_atomic_t interrupted = 0;

// The first Ctrl-C only raises the flag: the main thread presses Stop, and the run ends at its
// next safe point. A second one ends the program at once.
void onInterrupt(int)
{
    interrupted = 1;
    terminal::nextInterruptEnds();
}

// The language file the windows write at the first start ("italian" or "english"), else the
// first of LC_ALL, LC_MESSAGES and LANG that is set; English when nothing says.
int defaultLanguage()
{
    const QByteArray choice = languagefile::readChoice(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    if (!choice.isNull())
        return choice.trimmed() == "italian" ? 0 : 1;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("it") ? 0 : 1;
    }
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The windows' name, so both front ends share the log, the cache and the language file.
    QCoreApplication::setApplicationName(QStringLiteral("corvel3"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVEL3_VERSION));
    FILE *standardOutput = terminal::takeStandardOutput();

    const int fallback = defaultLanguage();
    const CommandLine line = parseCommandLine(app.arguments(), fallback);
    const int language = line.language >= 0 ? line.language : fallback;
    const bool it = language == 0;
    const bool bar = !line.json && terminal::isTerminal(2);
    if (bar)
        terminal::allowEscapes(2);
    CliConsole console(standardOutput, bar);

    if (!line.problem.isEmpty()) {
        console.err(QStringLiteral("corvel3-cli: ") + line.problem);
        console.err(Texts::of(it).translate("main", "Try 'corvel3-cli --help'."));
        return 2;
    }
    if (line.version) {
        console.out(QStringLiteral("corvel3-cli ") + QCoreApplication::applicationVersion());
        return 0;
    }
    if (line.help) {
        console.out((line.command ? commandHelp(*line.command, it) : toolHelp(it)).chopped(1));
        return 0;
    }

    Operations operations;
    operations.state.setLanguage(language);
    TextFormatter text(console, language);
    JsonFormatter json(console);
    CliFormatter &formatter = line.json ? static_cast<CliFormatter &>(json) : text;
    CliDialogs dialogs(formatter, console, language, line.yes, terminal::isTerminal(0), [] { return interrupted != 0; });
    CliProgress progress(formatter);
    const auto exitCode = [](Operations::Result result) { return interrupted ? 130 : Operations::exitCode(result); };

    Operations::FrontEnd &front = operations.frontEnd();
    front.dialogs = &dialogs;
    front.progress = &progress;
    front.onStart = [&](const QString &operation) { formatter.start(operation); };
    front.onEnd = [&](const Operations::RunEnd &end) { formatter.end(end, exitCode(end.result), end.details); };
    front.onFileAction = [&](const QString &action, const QString &path, const QString &target, bool ok) {
        formatter.fileAction(CliFileAction{action, path, target, ok, operations.lastRun().dryRun});
    };

    // The run's work is on the runner's worker thread while this thread waits in an event loop:
    // the watch sees the flag there and presses Stop once.
    terminal::onInterrupt(onInterrupt);
    bool stopPressed = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!interrupted || stopPressed)
            return;
        stopPressed = true;
        operations.requestStop();
        formatter.notice(Texts::of(it).translate("main", "Stopping at the next safe point (Ctrl-C again: quit at once)..."));
    });
    watch.start(50);

    CliSession session{operations, dialogs, formatter, language, exitCode};
    return exitCode(line.command->run(session));
}
