#include "cli/clifrontend.h"

#include <QJsonArray>
#include <QJsonDocument>

CliOutput::CliOutput(FILE *standardOutput, bool json, const OperationState &state)
    : state(state), jsonLines(json), out(standardOutput), err(stderr)
{
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
}

void CliOutput::event(const QString &name, QJsonObject fields)
{
    if (!jsonLines)
        return;
    fields.insert(QStringLiteral("event"), name);
    out << QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact)) << '\n';
    out.flush();
}

void CliOutput::say(const QString &text)
{
    if (jsonLines)
        return;
    out << text << '\n';
    out.flush();
}

void CliOutput::note(const QString &text, bool newline)
{
    err << text;
    if (newline)
        err << '\n';
    err.flush();
}

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
    const bool it = output.state.italian();
    switch (button.role) {
    case BoxRole::Ok: return QStringLiteral("Ok");
    case BoxRole::Yes: return it ? QStringLiteral("Sì") : QStringLiteral("Yes");
    case BoxRole::No: return QStringLiteral("No");
    case BoxRole::YesToAll: return it ? QStringLiteral("Sì a tutti") : QStringLiteral("Yes to All");
    case BoxRole::Cancel: return it ? QStringLiteral("Annulla") : QStringLiteral("Cancel");
    }
    return QString();
}

int CliDialogs::askOnTerminal(const MessageBoxRequest &request, int fallback)
{
    output.note(QStringLiteral("\n%1\n%2").arg(request.title, request.text.trimmed()));
    for (int i = 0; i < request.buttons.size(); ++i)
        output.note(QStringLiteral("  %1) %2").arg(i + 1).arg(caption(request.buttons.at(i))));
    for (;;) {
        output.note(QStringLiteral("[1-%1, Enter = %2]: ").arg(request.buttons.size()).arg(fallback + 1), false);
        char line[64];
        if (!std::fgets(line, sizeof line, stdin))
            return fallback;   // end of input: the safe answer
        const QString reply = QString::fromLocal8Bit(line).trimmed();
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
    const bool single = request.buttons.size() <= 1;
    int answer = request.safeAnswer();
    QString by = QStringLiteral("safe");
    if (single) {
        answer = 0;
        by = QString();
        output.say(request.title == request.text ? request.text : request.title + QStringLiteral(": ") + request.text);
    } else if (yes) {
        answer = request.proceedAnswer();
        by = QStringLiteral("yes");
    } else if (ask) {
        answer = askOnTerminal(request, request.safeAnswer());
        by = QStringLiteral("terminal");
    } else {
        output.note(QStringLiteral("%1: %2 -> %3").arg(request.title, request.text.simplified(),
                                                       caption(request.buttons.value(answer))));
    }

    QJsonObject fields{{QStringLiteral("kind"), kindName(request.kind)},
                       {QStringLiteral("title"), request.title},
                       {QStringLiteral("text"), request.text}};
    if (single) {
        output.event(QStringLiteral("message"), fields);
        return answer;
    }
    QJsonArray captions;
    for (const BoxButton &button : request.buttons)
        captions.append(caption(button));
    fields.insert(QStringLiteral("buttons"), captions);
    fields.insert(QStringLiteral("answer"), answer);
    fields.insert(QStringLiteral("answerCaption"), caption(request.buttons.value(answer)));
    fields.insert(QStringLiteral("answeredBy"), by);
    output.event(QStringLiteral("question"), fields);
    return answer;
}

QString CliDialogs::chooseFolder(const FolderRequest &request)
{
    // Only reached when the command line named no folder: cancelling is the safe answer.
    output.note(request.caption + QStringLiteral(" -> ") + (output.state.italian() ? "annullato" : "cancelled"));
    output.event(QStringLiteral("question"), QJsonObject{{QStringLiteral("kind"), QStringLiteral("chooseFolder")},
                                                         {QStringLiteral("title"), request.caption},
                                                         {QStringLiteral("answer"), QString()}});
    return QString();
}

int CliProgress::percent() const
{
    const int span = maximum() - minimum();
    if (span <= 0)
        return -1;   // a busy indicator
    return qBound(0, int(qint64(value() - minimum()) * 100 / span), 100);
}

void CliProgress::draw()
{
    const int p = percent();
    const int filled = p < 0 ? 0 : p * 30 / 100;
    const QString gauge = p < 0 ? QStringLiteral("[ ... ]") : QStringLiteral("[%1%2] %3%")
                                                                   .arg(QString(filled, QLatin1Char('#')))
                                                                   .arg(QString(30 - filled, QLatin1Char('-')))
                                                                   .arg(p, 3);
    output.note(QStringLiteral("\r\x1b[K") + gauge + QLatin1Char(' ') + status().left(60), false);
    lineOpen = true;
    sinceDraw.restart();
}

void CliProgress::finish()
{
    if (lineOpen)
        output.note(QString());
    lineOpen = false;
}

void CliProgress::changed(Change what)
{
    const bool newStatus = what == Change::Status && !status().isEmpty() && status() != lastStatus;
    if (newStatus)
        lastStatus = status();
    const int p = percent();
    const bool newPercent = (what == Change::Value || what == Change::Range) && p != lastPercent;
    if (newPercent)
        lastPercent = p;

    if (output.json()) {
        if (newStatus || newPercent)
            output.event(QStringLiteral("progress"), QJsonObject{{QStringLiteral("status"), status()},
                                                                 {QStringLiteral("value"), value()},
                                                                 {QStringLiteral("maximum"), maximum()},
                                                                 {QStringLiteral("percent"), p}});
        return;
    }
    if (bar) {
        if (newStatus || (newPercent && sinceDraw.elapsed() >= 100))
            draw();
        return;
    }
    if (newStatus)
        output.note(status());
}
