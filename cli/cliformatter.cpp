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
    } else if (action == QLatin1String("remove")) {
        ++backups;
    }
}

QStringList DryRunTally::summary(int language) const
{
    const Texts texts{language};
    const QLocale locale(language == language::Italian ? QLocale::Italian : QLocale::English);
    // Each text: singular, plural; %1 the count, written as the language writes numbers.
    const auto say = [&](int count, const char *const forms[2]) {
        return texts.translate("cliformatter", forms[count == 1 ? 0 : 1]).arg(locale.toString(count));
    };
    static const char *const deleteTexts[] = {QT_TRANSLATE_NOOP("cliformatter", "would delete %1 file"),
                                              QT_TRANSLATE_NOOP("cliformatter", "would delete %1 files")};
    static const char *const imageTexts[] = {QT_TRANSLATE_NOOP("cliformatter", "would move %1 image into Images"),
                                             QT_TRANSLATE_NOOP("cliformatter", "would move %1 images into Images")};
    static const char *const songTexts[] = {QT_TRANSLATE_NOOP("cliformatter", "would move %1 song"),
                                            QT_TRANSLATE_NOOP("cliformatter", "would move %1 songs")};
    static const char *const folderTexts[] = {QT_TRANSLATE_NOOP("cliformatter", " into %1 folder"),
                                              QT_TRANSLATE_NOOP("cliformatter", " into %1 folders")};
    static const char *const renameTexts[] = {QT_TRANSLATE_NOOP("cliformatter", "would rename %1 item"),
                                              QT_TRANSLATE_NOOP("cliformatter", "would rename %1 items")};
    static const char *const rewriteTexts[] = {QT_TRANSLATE_NOOP("cliformatter", "would rewrite %1 playlist"),
                                               QT_TRANSLATE_NOOP("cliformatter", "would rewrite %1 playlists")};
    static const char *const backupTexts[] = {QT_TRANSLATE_NOOP("cliformatter", "would remove %1 backup"),
                                              QT_TRANSLATE_NOOP("cliformatter", "would remove %1 backups")};
    QStringList lines;
    if (backups)
        lines << say(backups, backupTexts);
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
        lines << texts.translate("cliformatter", "would change nothing");
    return lines;
}

// ---- text ----

QString TextFormatter::translate(const char *context, const char *source) const
{
    return language::translate(language, context, source);
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
                                                                 : translate("cliformatter", "safe answer");
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
        QString verb = translate("cliformatter", "would %1");
        // The actions a dry run lists, as verbs of the language; any other stays as it is.
        static const char *const verbs[] = {QT_TRANSLATE_NOOP("cliformatter", "delete"), QT_TRANSLATE_NOOP("cliformatter", "move"),
                                            QT_TRANSLATE_NOOP("cliformatter", "rename"), QT_TRANSLATE_NOOP("cliformatter", "create"),
                                            QT_TRANSLATE_NOOP("cliformatter", "rewrite"), QT_TRANSLATE_NOOP("cliformatter", "remove")};
        QString name = action.action;
        for (const char *known : verbs)
            if (name == QLatin1String(known))
                name = translate("cliformatter", known);
        console.out(verb.arg(name) + QLatin1Char(' ') + path + target);
    } else if (!action.ok) {
        console.err(translate("cliformatter", "FAILED: ") + action.action + QLatin1Char(' ') + path + target);
    }
}

void TextFormatter::end(const Operations::RunEnd &end, int, const QVariantMap &extra)
{
    console.clearBar();
    // The health check's lists, one heading per kind found.
    for (const QVariant &found : extra.value(QStringLiteral("findings")).toList()) {
        const QVariantMap finding = found.toMap();
        console.out(QStringLiteral("%1 (%2):").arg(finding.value(QStringLiteral("label")).toString())
                        .arg(finding.value(QStringLiteral("count")).toInt()));
        for (const QString &item : finding.value(QStringLiteral("items")).toStringList())
            console.out(QStringLiteral("  ") + QDir::toNativeSeparators(item));
    }
    if (end.dryRun && end.result != Operations::Result::PlayerNotFound) {
        // Pruning works on the PC's backups alone.
        console.out(end.operation == QLatin1String("prune") ? translate("cliformatter", "Dry run: nothing changed.")
                                                            : translate("cliformatter", "Dry run: nothing on the player changed."));
        for (const QString &line : tally.summary(language))
            console.out(QStringLiteral("  ") + line);
    }
    for (const QString &line : end.outcome.report)
        console.out(line);
    if (!end.outcome.folder.isEmpty() && end.outcome.report.isEmpty())
        console.out(translate("cliformatter", "Written into %1").arg(QDir::toNativeSeparators(end.outcome.folder)));
    switch (end.result) {
    case Operations::Result::Done: break;
    case Operations::Result::Failed:
        if (extra.contains(QStringLiteral("findings")) && end.outcome.failed == 0) {   // the health check: nothing failed
            int left = 0;
            for (const QVariant &found : extra.value(QStringLiteral("findings")).toList())
                left += found.toMap().value(QStringLiteral("count")).toInt();
            console.err(end.operation + translate("cliformatter", ": problems left: %1").arg(left));
        } else {
            console.err(end.operation + translate("cliformatter", ": failed"));
        }
        break;
    case Operations::Result::Declined: console.err(end.operation + translate("cliformatter", ": declined")); break;
    case Operations::Result::Stopped: console.err(end.operation + translate("cliformatter", ": stopped")); break;
    case Operations::Result::PlayerNotFound:
        console.err(end.operation + translate("cliformatter", ": player not found"));
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
    for (auto field = end.outcome.details.cbegin(); field != end.outcome.details.cend(); ++field)
        fields.insert(field.key(), field.value());
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
