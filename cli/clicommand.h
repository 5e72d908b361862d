#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "operations/operations.h"

class CliFormatter;
class QCommandLineParser;

// What a command has at hand while it runs.
struct CliSession {
    Operations &operations;
    Dialogs &dialogs;
    CliFormatter &formatter;
    int language;
    // The exit code a result gives; 130 once Ctrl-C was pressed.
    std::function<int(Operations::Result)> exitCode;
};

// One command of corvel3-cli: its name, its texts, its own options and arguments, and the
// runner's member it calls. Global options (--lang, --yes, --json, --help, --version) are parsed
// for every command alike.
class CliCommand {
public:
    virtual ~CliCommand() = default;

    virtual QString name() const = 0;
    // The command and its arguments as the usage line shows them ("backup FOLDER").
    virtual QString synopsis() const = 0;
    virtual QString summary(bool italian) const = 0;   // one line, for the list of commands
    virtual QString help(bool italian) const = 0;      // what it does, for COMMAND --help
    virtual QList<QCommandLineOption> options(bool italian) const { Q_UNUSED(italian) return {}; }
    // The names of the arguments it needs, one each ("FOLDER").
    virtual QStringList arguments() const { return {}; }
    // True when arguments beyond those named are its own to read (restore FOLDER --only A B).
    virtual bool takesMoreArguments(const QCommandLineParser &parser) const { Q_UNUSED(parser) return false; }
    // Reads its options and arguments (their count already checked); returns what is wrong with
    // them, "" when nothing.
    virtual QString take(const QCommandLineParser &parser, bool italian);
    virtual Operations::Result run(CliSession &session) = 0;

protected:
    // A FOLDER argument made absolute; "" with *problem set when it is no existing folder. A
    // missing one is not made: the path could lead onto the player.
    static QString existingFolder(const QString &given, bool italian, QString *problem);
};

// Every command, in the order the help lists them.
const std::vector<std::unique_ptr<CliCommand>> &cliCommands();

// The command line as parsed: the global options, the command, or what was wrong.
struct CommandLine {
    int language = -1;         // --lang: 0 Italian, 1 English, -1 not given
    bool yes = false;
    bool json = false;
    bool help = false;
    bool version = false;
    CliCommand *command = nullptr;
    QString problem;           // a usage error, in the language of the texts
};

// languageIfNotGiven: the language of the texts when --lang says none.
CommandLine parseCommandLine(const QStringList &arguments, int languageIfNotGiven);

// The help of the whole tool, or of one command.
QString toolHelp(bool italian);
QString commandHelp(const CliCommand &command, bool italian);
