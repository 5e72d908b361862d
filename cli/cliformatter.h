#pragma once

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariantMap>

#include <cstdio>

#include "operations/operations.h"

// The tool's two streams: stdout for what the run produced, stderr for everything else. On a
// terminal's stderr one progress bar line is redrawn in place; any other line first erases it,
// so no bar is ever left glued to other output.
class CliConsole {
public:
    CliConsole(FILE *standardOutput, bool barOnStderr);

    void out(const QString &line);
    void err(const QString &text, bool newline = true);
    void bar(const QString &line);
    void clearBar();
    bool barAllowed() const { return barOnStderr; }
    // The terminal's width, asked at each redraw so that a resize is followed: COLUMNS when the
    // terminal does not say, else 80.
    int width() const;

private:
    QTextStream stdoutStream;
    QTextStream stderrStream;
    bool barOnStderr;
    bool barShown = false;
};

// Columns the text takes on a terminal: wide East Asian characters take two, combining marks none.
int displayWidth(const QString &text);
// The text cut to at most width columns, "..." ending a cut one; control characters become blanks.
QString clipToWidth(QString text, int width);
// The bar line for a terminal width columns wide (it ends one column short, so the terminal
// never wraps it): gauge, percent (percent < 0: no range, no gauge) and the status, clipped.
QString barLine(int percent, const QString &status, int width);

// Counts the actions a dry run lists and says what a real run would do, in the language given.
class DryRunTally {
public:
    void add(const QString &action, const QString &target);
    QStringList summary(int language) const;

private:
    int deletions = 0;
    int images = 0;
    int renames = 0;
    int rewrites = 0;
    int backups = 0;             // whole backups a prune would remove
    QSet<QString> songs;         // target folder and base name: a song and its companions count once
    QSet<QString> songFolders;
};

// One event of a run, as a front end that does not show boxes reports it.
struct CliQuestion {
    QString kind;          // CliDialogs::kindName, or "chooseFolder"
    QString code;          // the box's own code, "" when it has none
    QString title;
    QString text;
    QStringList buttons;
    int answer = -1;
    QString answeredBy;    // "yes", "safe" or "terminal"
};

struct CliMessage {
    QString kind;
    QString code;
    QString title;
    QString text;
};

struct CliFileAction {
    QString action;
    QString path;
    QString target;
    bool ok = true;
    bool dryRun = false;
};

// How the tool reports a run: as text for people, or as JSON lines for programs.
class CliFormatter {
public:
    virtual ~CliFormatter() = default;
    virtual void start(const QString &operation) = 0;
    // Told of each new status and each whole percent; newStatus marks a status not seen before.
    virtual void progress(const QString &status, int value, int maximum, int percent, bool newStatus) = 0;
    virtual void question(const CliQuestion &asked) = 0;
    virtual void message(const CliMessage &told) = 0;
    virtual void fileAction(const CliFileAction &action) = 0;
    // extra: fields of the operation's own (check: drive, missing).
    virtual void end(const Operations::RunEnd &end, int exitCode, const QVariantMap &extra) = 0;
    // A notice of the tool's own, outside any box (Ctrl-C pressed): stderr in either format.
    virtual void notice(const QString &text) = 0;
};

class TextFormatter : public CliFormatter {
public:
    TextFormatter(CliConsole &console, int language) : console(console), language(language) { sinceDraw.start(); }

    void start(const QString &operation) override;
    void progress(const QString &status, int value, int maximum, int percent, bool newStatus) override;
    void question(const CliQuestion &asked) override;
    void message(const CliMessage &told) override;
    void fileAction(const CliFileAction &action) override;
    void end(const Operations::RunEnd &end, int exitCode, const QVariantMap &extra) override;
    void notice(const QString &text) override;

private:
    QString translate(const char *context, const char *source) const;

    CliConsole &console;
    int language;
    DryRunTally tally;
    QElapsedTimer sinceDraw;
};

class JsonFormatter : public CliFormatter {
public:
    explicit JsonFormatter(CliConsole &console) : console(console) {}

    void start(const QString &operation) override;
    void progress(const QString &status, int value, int maximum, int percent, bool newStatus) override;
    void question(const CliQuestion &asked) override;
    void message(const CliMessage &told) override;
    void fileAction(const CliFileAction &action) override;
    void end(const Operations::RunEnd &end, int exitCode, const QVariantMap &extra) override;
    void notice(const QString &text) override;

private:
    void line(const QString &event, QVariantMap fields);

    CliConsole &console;
};
