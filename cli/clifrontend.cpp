#include "cli/clifrontend.h"

#include <string>

#include "cli/cliformatter.h"
#include "cli/terminal.h"

QString CliDialogs::kindName(QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::Information: return QStringLiteral("information");
    case QuestionKind::Error: return QStringLiteral("error");
    case QuestionKind::Confirm: return QStringLiteral("confirm");
    case QuestionKind::ConfirmDeletion: return QStringLiteral("confirmDeletion");
    case QuestionKind::Overwrite: return QStringLiteral("overwrite");
    case QuestionKind::ContinueAfterError: return QStringLiteral("continueAfterError");
    }
    return QString();
}

QString CliDialogs::caption(const BoxButton &button) const
{
    if (!button.caption.isEmpty())
        return button.caption;
    const bool it = language == 0;
    switch (button.role) {
    case BoxRole::Ok: return QStringLiteral("Ok");
    case BoxRole::Yes: return Texts::of(it).translate("clifrontend", "Yes");
    case BoxRole::No: return QStringLiteral("No");
    case BoxRole::YesToAll: return Texts::of(it).translate("clifrontend", "Yes to All");
    case BoxRole::Cancel: return Texts::of(it).translate("clifrontend", "Cancel");
    }
    return QString();
}

int CliDialogs::askOnTerminal(const MessageBoxRequest &request, int fallback)
{
    console.err(QStringLiteral("\n%1\n%2").arg(request.title, request.text.trimmed()));
    for (int i = 0; i < request.buttons.size(); ++i)
        console.err(QStringLiteral("  %1) %2").arg(i + 1).arg(caption(request.buttons.at(i))));
    for (;;) {
        console.err(QStringLiteral("[1-%1, %2 = %3]: ")
                        .arg(request.buttons.size())
                        .arg(Texts::of(language == 0).translate("clifrontend", "Enter"))
                        .arg(fallback + 1),
                    false);
        std::string line;
        if (!terminal::readLine(line, interrupted)) {
            console.err(QString());
            return -1;
        }
        const QString reply = QString::fromLocal8Bit(line.c_str()).trimmed();
        if (reply.isEmpty())
            return fallback;
        bool number = false;
        const int chosen = reply.toInt(&number) - 1;
        if (number && chosen >= 0 && chosen < request.buttons.size())
            return chosen;
    }
}

int CliDialogs::showMessage(const MessageBoxRequest &request)
{
    if (request.buttons.size() <= 1) {
        formatter.message(CliMessage{kindName(request.kind), request.code, request.title, request.text});
        return 0;
    }
    CliQuestion asked{kindName(request.kind), request.code, request.title, request.text};
    for (const BoxButton &button : request.buttons)
        asked.buttons << caption(button);
    asked.answer = request.safeAnswer();
    asked.answeredBy = QStringLiteral("safe");
    if (yes) {
        asked.answer = request.proceedAnswer();
        asked.answeredBy = QStringLiteral("yes");
    } else if (ask) {
        const int typed = askOnTerminal(request, request.safeAnswer());
        if (typed >= 0) {
            asked.answer = typed;
            asked.answeredBy = QStringLiteral("terminal");
        }
    }
    formatter.question(asked);
    return asked.answer;
}

QString CliDialogs::chooseFolder(const FolderRequest &request)
{
    // Every command names its folder on the command line: should a chooser come up all the
    // same, cancelling it is the safe answer.
    const QString cancel = Texts::of(language == 0).translate("clifrontend", "Cancel");
    formatter.question(CliQuestion{QStringLiteral("chooseFolder"), QString(), request.caption, QString(),
                                   QStringList{cancel}, 0, QStringLiteral("safe")});
    return QString();
}

void CliProgress::changed(Change what)
{
    const bool newStatus = what == Change::Status && !status().isEmpty() && status() != lastStatus;
    if (newStatus)
        lastStatus = status();
    const int span = maximum() - minimum();
    const int percent = span <= 0 ? -1 : qBound(0, int(qint64(value() - minimum()) * 100 / span), 100);
    const bool newPercent = (what == Change::Value || what == Change::Range) && percent != lastPercent;
    if (!newStatus && !newPercent)
        return;
    lastPercent = percent;
    formatter.progress(status(), value(), maximum(), percent, newStatus);
}
