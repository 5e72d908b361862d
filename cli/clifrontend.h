#pragma once

#include <QString>

#include "core/dialogs.h"
#include "core/progressview.h"

class CliConsole;
class CliFormatter;

// Boxes and folder choosers answered on the terminal when there is one, otherwise by meaning:
// the safe answer, or with --yes the answer that lets the operation go on. Every box reaches
// the formatter as a message (one button) or a question (with the answer and who gave it).
// Ctrl-C (interrupted() true) during a question on the terminal gives it its safe answer.
class CliDialogs : public Dialogs {
public:
    CliDialogs(CliFormatter &formatter, CliConsole &console, int language, bool yes, bool askOnTerminal,
               bool (*interrupted)())
        : formatter(formatter), console(console), language(language), yes(yes), ask(askOnTerminal),
          interrupted(interrupted) {}

    int showMessage(const MessageBoxRequest &request) override;
    QString chooseFolder(const FolderRequest &request) override;
    void aboutToolkit(QObject *) override {}

    static QString kindName(QuestionKind kind);

private:
    QString caption(const BoxButton &button) const;
    // The answer typed, or -1 when the input ended or Ctrl-C was pressed.
    int askOnTerminal(const MessageBoxRequest &request, int fallback);

    CliFormatter &formatter;
    CliConsole &console;
    int language;
    bool yes;
    bool ask;
    bool (*interrupted)();
};

// Progress as data for the formatter: each new status and each whole percent.
class CliProgress : public ProgressView {
public:
    explicit CliProgress(CliFormatter &formatter) : formatter(formatter) {}

protected:
    void changed(Change what) override;

private:
    CliFormatter &formatter;
    int lastPercent = -2;
    QString lastStatus;
};
