#include "cli/cliformatter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include "cli/terminal.h"

CliConsole::CliConsole(FILE *standardOutput, bool barOnStderr)
    : stdoutStream(standardOutput), stderrStream(stderr), barOnStderr(barOnStderr)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 streams write UTF-8 always; Qt 5 ones the locale's encoding unless told.
    stdoutStream.setCodec("UTF-8");
    stderrStream.setCodec("UTF-8");
#endif
}

void CliConsole::out(const QString &line)
{
    clearBar();
    stdoutStream << line << '\n';
    stdoutStream.flush();
}

void CliConsole::err(const QString &text, bool newline)
{
    clearBar();
    stderrStream << text;
    if (newline)
        stderrStream << '\n';
    stderrStream.flush();
}

void CliConsole::bar(const QString &line)
{
    if (!barOnStderr)
        return;
    stderrStream << "\r\x1b[K" << line;
    stderrStream.flush();
    barShown = true;
}

void CliConsole::clearBar()
{
    if (!barShown)
        return;
    stderrStream << "\r\x1b[K";
    stderrStream.flush();
    barShown = false;
}

int CliConsole::width() const
{
    const int asked = terminal::columns(2);
    if (asked > 0)
        return asked;
    const int given = qEnvironmentVariableIntValue("COLUMNS");
    return given > 0 ? given : 80;
}

namespace {

int columnsOf(uint c)
{
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || c == 0x200B)
        return 0;
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F)
                      || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
                      || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F)
                      || (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

} // namespace

int displayWidth(const QString &text)
{
    int width = 0;
    for (uint c : text.toUcs4())
        width += columnsOf(c);
    return width;
}

QString clipToWidth(QString text, int width)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    if (displayWidth(text) <= width)
        return text;
    const QString dots = width >= 3 ? QStringLiteral("...") : QString();
    const int room = width - dots.size();
    QString kept;
    int used = 0;
    for (uint c : text.toUcs4()) {
        const int w = columnsOf(c);
        if (used + w > room)
            break;
        used += w;
        const char32_t code = c;
        kept += QString::fromUcs4(&code, 1);
    }
    return kept + dots;
}

QString barLine(int percent, const QString &status, int width)
{
    const int room = qMax(1, width - 1);
    QString line;
    if (percent >= 0) {
        line = QStringLiteral("%1%").arg(percent, 3);
        const int gauge = qMin(30, room / 3 - 2);
        if (gauge >= 5) {
            const int filled = percent * gauge / 100;
            line = QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(gauge - filled, QLatin1Char('-'))
                   + QStringLiteral("] ") + line;
        }
    }
    if (!status.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + status;
    return clipToWidth(line, room);
}

void DryRunTally::add(const QString &action, const QString &target)
{
    if (action == QLatin1String("delete")) {
        ++deletions;
    } else if (action == QLatin1String("move")) {
        const QFileInfo to(target);
        const QString folder = to.path();
        if (QFileInfo(folder).fileName().compare(QLatin1String("Images"), Qt::CaseInsensitive) == 0) {
            ++images;
        } else {
            songs.insert(folder + QLatin1Char('/') + to.completeBaseName());
            songFolders.insert(folder);
        }
    } else if (action == QLatin1String("rename")) {
        ++renames;
    } else if (action == QLatin1String("rewrite")) {
        ++rewrites;
    }
}

QStringList DryRunTally::summary(int language) const
{
    const bool it = language == 0;
    const QLocale locale(it ? QLocale::Italian : QLocale::English);
    // Each text: Italian singular, Italian plural, English singular, English plural; %1 the count.
    const auto say = [&](int count, const char *const texts[4]) {
        return QString::fromUtf8(texts[(it ? 0 : 2) + (count == 1 ? 0 : 1)]).arg(locale.toString(count));
    };
    static const char *const deleteTexts[] = {"verrebbe eliminato %1 file", "verrebbero eliminati %1 file",
                                              "would delete %1 file", "would delete %1 files"};
    static const char *const imageTexts[] = {"verrebbe spostata %1 immagine in Images",
                                             "verrebbero spostate %1 immagini in Images",
                                             "would move %1 image into Images", "would move %1 images into Images"};
    static const char *const songTexts[] = {"verrebbe spostata %1 base", "verrebbero spostate %1 basi",
                                            "would move %1 song", "would move %1 songs"};
    static const char *const folderTexts[] = {" in %1 cartella", " in %1 cartelle", " into %1 folder",
                                              " into %1 folders"};
    static const char *const renameTexts[] = {"verrebbe rinominato %1 elemento", "verrebbero rinominati %1 elementi",
                                              "would rename %1 item", "would rename %1 items"};
    static const char *const rewriteTexts[] = {"verrebbe riscritta %1 playlist", "verrebbero riscritte %1 playlist",
                                               "would rewrite %1 playlist", "would rewrite %1 playlists"};
    QStringList lines;
    if (deletions)
        lines << say(deletions, deleteTexts);
    if (images)
        lines << say(images, imageTexts);
    if (!songs.isEmpty())
        lines << say(songs.size(), songTexts) + say(songFolders.size(), folderTexts);
    if (renames)
        lines << say(renames, renameTexts);
    if (rewrites)
        lines << say(rewrites, rewriteTexts);
    if (lines.isEmpty())
        lines << (it ? QStringLiteral("non verrebbe cambiato nulla") : QStringLiteral("would change nothing"));
    return lines;
}

// ---- text ----

QString TextFormatter::pick(const char *italian, const char *english) const
{
    return QString::fromUtf8(language == 0 ? italian : english);
}

void TextFormatter::start(const QString &) {}

void TextFormatter::progress(const QString &status, int, int, int percent, bool newStatus)
{
    if (console.barAllowed()) {
        // At most ten redraws a second, but every new status shows.
        if (!newStatus && sinceDraw.isValid() && sinceDraw.elapsed() < 100)
            return;
        console.bar(barLine(percent, status, console.width()));
        sinceDraw.restart();
    } else if (newStatus) {
        console.err(status);
    }
}

void TextFormatter::question(const CliQuestion &asked)
{
    if (asked.answeredBy == QLatin1String("terminal"))
        return;   // the prompt has shown it
    const QString what = asked.text.startsWith(asked.title) ? asked.text.simplified()
                                                            : asked.title + QStringLiteral(": ") + asked.text.simplified();
    const QString by = asked.answeredBy == QLatin1String("yes") ? QStringLiteral("--yes")
                                                                 : pick("risposta sicura", "safe answer");
    console.err(QStringLiteral("%1 -> %2 (%3)").arg(what, asked.buttons.value(asked.answer), by));
}

void TextFormatter::message(const CliMessage &told)
{
    // A text that starts with its title says it already.
    const QString text = told.text.startsWith(told.title) ? told.text : told.title + QStringLiteral(": ") + told.text;
    if (told.kind == QLatin1String("error"))
        console.err(text);
    else
        console.out(text);
}

void TextFormatter::fileAction(const CliFileAction &action)
{
    const QString path = QDir::toNativeSeparators(action.path);
    const QString target = action.target.isEmpty() ? QString() : QStringLiteral(" -> ") + QDir::toNativeSeparators(action.target);
    if (action.dryRun) {
        tally.add(action.action, action.target);
        QString verb = language == 0 ? QStringLiteral("da %1:") : QStringLiteral("would %1");
        static const char *const italianVerbs[][2] = {{"delete", "eliminare"}, {"move", "spostare"},
                                                      {"rename", "rinominare"}, {"create", "creare"},
                                                      {"rewrite", "riscrivere"}};
        QString name = action.action;
        if (language == 0)
            for (const auto &pair : italianVerbs)
                if (name == QLatin1String(pair[0]))
                    name = QString::fromUtf8(pair[1]);
        console.out(verb.arg(name) + QLatin1Char(' ') + path + target);
    } else if (!action.ok) {
        console.err(pick("NON RIUSCITO: ", "FAILED: ") + action.action + QLatin1Char(' ') + path + target);
    }
}

void TextFormatter::end(const Operations::RunEnd &end, int, const QVariantMap &)
{
    console.clearBar();
    if (end.dryRun && end.result != Operations::Result::PlayerNotFound) {
        console.out(pick("Prova: nulla è cambiato sul lettore.", "Dry run: nothing on the player changed."));
        for (const QString &line : tally.summary(language))
            console.out(QStringLiteral("  ") + line);
    }
    if (!end.outcome.folder.isEmpty())
        console.out(pick("Scritto in %1", "Written into %1").arg(QDir::toNativeSeparators(end.outcome.folder)));
    switch (end.result) {
    case Operations::Result::Done: break;
    case Operations::Result::Failed: console.err(end.operation + pick(": non riuscito", ": failed")); break;
    case Operations::Result::Declined: console.err(end.operation + pick(": annullato", ": declined")); break;
    case Operations::Result::Stopped: console.err(end.operation + pick(": interrotto", ": stopped")); break;
    case Operations::Result::PlayerNotFound:
        console.err(end.operation + pick(": lettore non trovato", ": player not found"));
        break;
    }
}

void TextFormatter::notice(const QString &text)
{
    console.err(text);
}

// ---- JSON ----

void JsonFormatter::line(const QString &event, QVariantMap fields)
{
    fields.insert(QStringLiteral("schema"), 1);
    fields.insert(QStringLiteral("event"), event);
    console.out(QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(fields)).toJson(QJsonDocument::Compact)));
}

void JsonFormatter::start(const QString &operation)
{
    line(QStringLiteral("start"), {{QStringLiteral("operation"), operation}});
}

void JsonFormatter::progress(const QString &status, int value, int maximum, int percent, bool)
{
    line(QStringLiteral("progress"), {{QStringLiteral("status"), status},
                                      {QStringLiteral("value"), value},
                                      {QStringLiteral("maximum"), maximum},
                                      {QStringLiteral("percent"), percent}});
}

void JsonFormatter::question(const CliQuestion &asked)
{
    line(QStringLiteral("question"), {{QStringLiteral("kind"), asked.kind},
                                      {QStringLiteral("code"), asked.code},
                                      {QStringLiteral("title"), asked.title},
                                      {QStringLiteral("text"), asked.text},
                                      {QStringLiteral("buttons"), asked.buttons},
                                      {QStringLiteral("answer"), asked.answer},
                                      {QStringLiteral("answerCaption"), asked.buttons.value(asked.answer)},
                                      {QStringLiteral("answeredBy"), asked.answeredBy}});
}

void JsonFormatter::message(const CliMessage &told)
{
    line(QStringLiteral("message"), {{QStringLiteral("kind"), told.kind},
                                     {QStringLiteral("code"), told.code},
                                     {QStringLiteral("title"), told.title},
                                     {QStringLiteral("text"), told.text}});
}

void JsonFormatter::fileAction(const CliFileAction &action)
{
    line(QStringLiteral("fileAction"), {{QStringLiteral("action"), action.action},
                                        {QStringLiteral("path"), action.path},
                                        {QStringLiteral("target"), action.target},
                                        {QStringLiteral("ok"), action.ok},
                                        {QStringLiteral("dryRun"), action.dryRun}});
}

void JsonFormatter::end(const Operations::RunEnd &end, int exitCode, const QVariantMap &extra)
{
    QVariantMap fields = extra;
    fields.insert(QStringLiteral("operation"), end.operation);
    fields.insert(QStringLiteral("result"), Operations::resultName(end.result));
    fields.insert(QStringLiteral("exitCode"), exitCode);
    fields.insert(QStringLiteral("dryRun"), end.dryRun);
    fields.insert(QStringLiteral("total"), end.outcome.total);
    fields.insert(QStringLiteral("failed"), end.outcome.failed);
    fields.insert(QStringLiteral("notDone"), end.outcome.notDone);
    fields.insert(QStringLiteral("folder"), end.outcome.folder);
    line(QStringLiteral("end"), fields);
}

void JsonFormatter::notice(const QString &text)
{
    console.err(text);
}
