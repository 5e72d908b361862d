#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <QTextStream>

#include "core/dialogs.h"
#include "core/operationstate.h"
#include "core/progressview.h"

#include <cstdio>

// True when the standard stream (0 in, 2 error) is a terminal; one implementation per platform.
bool isTerminal(int standardStream);
// Keeps standard output for the tool's own lines and sends whatever else writes there (the
// download's own chatter) to standard error; returns the stream to write the tool's lines to.
FILE *takeStandardOutput();

// Where the command-line tool says things: plain text (messages on stdout, progress and
// questions on stderr) or, with --json, one JSON object per line on stdout per event.
class CliOutput {
public:
    CliOutput(FILE *standardOutput, bool json, const OperationState &state);

    bool json() const { return jsonLines; }
    void event(const QString &name, QJsonObject fields);
    // A line of text for the user: stdout in plain mode, nothing in JSON mode.
    void say(const QString &text);
    // A line on stderr in either mode (progress, prompts, usage).
    void note(const QString &text, bool newline = true);
    const OperationState &state;

private:
    bool jsonLines;
    QTextStream out;
    QTextStream err;
};

// Boxes and folder choosers answered on the terminal when there is one, otherwise by meaning:
// the safe answer, or with --yes the answer that lets the operation go on.
class CliDialogs : public Dialogs {
public:
    CliDialogs(CliOutput &output, bool yes, bool askOnTerminal) : output(output), yes(yes), ask(askOnTerminal) {}

    int showMessage(const MessageBoxRequest &request) override;
    QString chooseFolder(const FolderRequest &request) override;
    void aboutToolkit(QObject *) override {}

    static QString kindName(QuestionKind kind);
    QString caption(const BoxButton &button) const;

private:
    int askOnTerminal(const MessageBoxRequest &request, int fallback);

    CliOutput &output;
    bool yes;
    bool ask;
};

// Progress on stderr: a redrawn bar on a terminal, else one line per status; in JSON mode a
// progress event per status and per whole percent.
class CliProgress : public ProgressView {
public:
    CliProgress(CliOutput &output, bool barOnTerminal) : output(output), bar(barOnTerminal) { sinceDraw.start(); }
    // Ends a bar line left open.
    void finish();

protected:
    void changed(Change what) override;

private:
    int percent() const;
    void draw();

    CliOutput &output;
    bool bar;
    bool lineOpen = false;
    int lastPercent = -1;
    QString lastStatus;
    QElapsedTimer sinceDraw;
};
