// The health check's fixes: only what is safe and can be undone, each group after a question
// whose default keeps everything as it is, every change in the operation log.
#include "health/healthcheck.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include "core/dialogs.h"
#include "device/playerlayout.h"
#include "health/playlistline.h"
#include "optimise/foldersplit.h"
#include "optimise/playlists.h"
#include "optimise/splitjournal.h"

namespace health {

namespace {

constexpr int kListedInQuestion = 8;

QString listed(const QStringList &lines)
{
    QStringList shown = lines.mid(0, kListedInQuestion);
    if (lines.size() > kListedInQuestion)
        shown << QStringLiteral("... (+%1)").arg(lines.size() - kListedInQuestion);
    return shown.join(QLatin1Char('\n'));
}

class Fixer {
public:
    Fixer(OperationContext &ctx, const Report &report, QHash<QString, QByteArray> &dryRunTexts)
        : ctx(ctx), report(report), root(ctx.driveRoot), dryRunTexts(dryRunTexts) {}

    void playlists();
    void duplicates();
    void names();

    Outcome outcome;
    bool changed = false;

private:
    bool yesOrNo(QuestionKind kind, const QString &code, const QString &title, const QString &text);
    QString absolute(const QString &relative) const { return root + relative; }
    QByteArray playlistText(const QString &playlist, bool *ok);
    bool writePlaylist(const QString &playlist, const QByteArray &text);
    bool stopped() const { return ctx.state.stopRequested; }

    OperationContext &ctx;
    const Report &report;
    QString root;
    QHash<QString, QByteArray> &dryRunTexts;
};

bool Fixer::yesOrNo(QuestionKind kind, const QString &code, const QString &title, const QString &text)
{
    // A dry run asks nothing: it lists what every "yes" would do.
    if (ctx.dryRun)
        return true;
    MessageBoxRequest box;
    box.kind = kind;
    box.code = code;
    box.title = title;
    box.text = text;
    box.icon = BoxIcon::Question;
    box.parent = ctx.window;
    box.buttons = {{BoxRole::Yes, ctx.translate("healthfix", "Yes")}, {BoxRole::No, QStringLiteral("No")}};
    box.defaultButton = 1;
    box.escapeButton = 1;
    box.safeButton = 1;
    box.proceedButton = 0;
    return ctx.dialogs.showMessage(box) == 0;
}

QByteArray Fixer::playlistText(const QString &playlist, bool *ok)
{
    *ok = true;
    if (ctx.dryRun && dryRunTexts.contains(playlist))
        return dryRunTexts.value(playlist);
    QFile in(playlist);
    QByteArray text;
    if (in.open(QIODevice::ReadOnly))
        text = in.readAll();
    *ok = in.isOpen() && in.error() == QFileDevice::NoError;
    return text;
}

bool Fixer::writePlaylist(const QString &playlist, const QByteArray &text)
{
    if (ctx.dryRun) {
        dryRunTexts.insert(playlist, text);
        ctx.fileAction(QStringLiteral("rewrite"), playlist);
        return true;
    }
    const bool written = ::playlists::replaceFile(playlist, text);
    ctx.fileAction(QStringLiteral("rewrite"), playlist, QString(), written);
    changed = true;
    return written;
}

void Fixer::playlists()
{
    // Lines whose song is elsewhere on the player, unambiguously: one rule per song named.
    QVector<::playlists::LineRule> rules;
    QStringList shown;
    QSet<QString> seen;
    QSet<QString> removable;   // folded paths of the songs no line can be pointed back at
    for (const DeadLine &dead : report.deadLines) {
        if (dead.foundAt.isEmpty()) {
            removable.insert(dead.song.toCaseFolded());
            continue;
        }
        if (seen.contains(dead.song.toCaseFolded()))
            continue;
        seen.insert(dead.song.toCaseFolded());
        rules << ::playlists::LineRule{::playlists::LineRule::Song, dead.song, dead.foundAt};
        shown << dead.song + QStringLiteral(" -> ") + dead.foundAt;
    }
    if (!rules.isEmpty()
        && yesOrNo(QuestionKind::Confirm, QStringLiteral("health.relink"),
                   ctx.translate("healthfix", "Playlists"),
                   ctx.translate("healthfix", "These playlist songs are elsewhere on the Corvel3:\n%1\n\n"
                                              "Update the playlists to find them where they are now?")
                       .arg(listed(shown)))) {
        ::playlists::PendingUpdates updates(ctx, root, &dryRunTexts);
        for (const auto &rule : rules)
            updates.add(rule);
        outcome.total += rules.size();
        const bool ok = updates.flush();
        changed = changed || !ctx.dryRun;
        for (const auto &rule : rules)
            ctx.fileAction(QStringLiteral("relink"), absolute(rule.oldRelative), absolute(rule.newRelative), ok);
        if (!ok)
            outcome.addNotDone(QDir::toNativeSeparators(root + QLatin1String(playerlayout::kPlaylistFolder)),
                               ctx.translate("healthfix", "playlists not updated"));
    }
    if (removable.isEmpty() || stopped())
        return;
    QStringList lines;
    for (const DeadLine &dead : report.deadLines)
        if (dead.foundAt.isEmpty())
            lines << QStringLiteral("%1:%2: %3").arg(QFileInfo(dead.playlist).fileName()).arg(dead.line).arg(dead.song);
    if (!yesOrNo(QuestionKind::ConfirmDeletion, QStringLiteral("health.removeLines"), ctx.translate("healthfix", "Playlists"),
                 ctx.translate("healthfix", "These playlist lines point at no song:\n%1\n\n"
                                            "Remove them from the playlists? (No song is touched; every line removed is written "
                                            "in the log of operations.)")
                     .arg(listed(lines))))
        return;
    QSet<QString> playlistsWithDeadLines;
    for (const DeadLine &dead : report.deadLines)
        if (dead.foundAt.isEmpty())
            playlistsWithDeadLines.insert(dead.playlist);
    for (const QString &playlist : ::playlists::playlistFiles(root)) {
        if (!playlistsWithDeadLines.contains(playlist))
            continue;
        ++outcome.total;
        bool read = false;
        const QByteArray text = playlistText(playlist, &read);
        if (!read) {
            outcome.addNotDone(QDir::toNativeSeparators(playlist), ctx.translate("healthfix", "unreadable"));
            continue;
        }
        QByteArray kept;
        QStringList removed;
        for (const QByteArray &raw : text.split('\n')) {
            const PlaylistLine line = PlaylistLine::parse(raw);
            if (line.isSong && removable.contains(line.song().toCaseFolded())) {
                removed << QString::fromUtf8(raw).trimmed();
                continue;
            }
            kept += raw + '\n';
        }
        kept.chop(1);   // split() gave one piece more than there were line ends
        if (removed.isEmpty())
            continue;
        const bool written = writePlaylist(playlist, kept);
        for (const QString &line : removed)
            ctx.fileAction(QStringLiteral("removeLine"), playlist, line, written);
        if (!written)
            outcome.addNotDone(QDir::toNativeSeparators(playlist), ctx.translate("healthfix", "not rewritten"));
    }
}

void Fixer::duplicates()
{
    // The copy a playlist names is the one kept.
    QSet<QString> named;
    for (const QString &playlist : ::playlists::playlistFiles(root)) {
        bool read = false;
        for (const QByteArray &raw : playlistText(playlist, &read).split('\n')) {
            const PlaylistLine line = PlaylistLine::parse(raw);
            for (int end : line.ends)
                named.insert(line.rest.left(end).toCaseFolded());
        }
    }
    for (const DuplicateSet &set : report.duplicates) {
        if (stopped())
            return;
        QString keep = set.paths.first();
        for (const QString &path : set.paths)
            if (named.contains(path.toCaseFolded())) {
                keep = path;
                break;
            }
        MessageBoxRequest box;
        box.kind = QuestionKind::ConfirmDeletion;
        box.code = QStringLiteral("health.deleteDuplicates");
        box.title = ctx.translate("healthfix", "Duplicate songs");
        box.text = ctx.translate("healthfix", "The same song (%1) is in %2 places:\n%3\n\nKeep %4 and delete the other copies? "
                                              "Playlist lines naming them will name the one kept.")
                       .arg(sizeText(set.size))
                       .arg(set.paths.size())
                       .arg(listed(set.paths), keep);
        box.icon = BoxIcon::Question;
        box.parent = ctx.window;
        box.buttons = {{BoxRole::Yes, ctx.translate("healthfix", "Delete the copies")},
                       {BoxRole::No, ctx.translate("healthfix", "Keep them")},
                       {BoxRole::Cancel, ctx.translate("healthfix", "Keep all the rest")}};
        // Enter and Escape keep them; without a person to answer (a pipe, --yes) nothing is
        // deleted and no more is asked.
        box.defaultButton = 1;
        box.escapeButton = 1;
        box.safeButton = 2;
        box.proceedButton = 2;
        const int answer = ctx.dryRun ? 0 : ctx.dialogs.showMessage(box);
        if (answer == 2)
            return;
        if (answer != 0)
            continue;
        // The playlists name the kept copy before the others go: a crash in between loses no line.
        ::playlists::PendingUpdates updates(ctx, root, &dryRunTexts);
        for (const QString &path : set.paths)
            if (path != keep)
                updates.add(::playlists::LineRule{::playlists::LineRule::Song, path, keep});
        if (!updates.flush()) {
            outcome.addNotDone(QDir::toNativeSeparators(absolute(keep)), ctx.translate("healthfix", "playlists not updated"));
            continue;
        }
        for (const QString &path : set.paths) {
            if (path == keep)
                continue;
            ++outcome.total;
            const bool removed = ctx.dryRun || QFile::remove(absolute(path));
            changed = changed || !ctx.dryRun;
            ctx.fileAction(QStringLiteral("delete"), absolute(path), QString(), removed);
            if (!removed)
                outcome.addNotDone(QDir::toNativeSeparators(absolute(path)), ctx.translate("healthfix", "not deleted"));
        }
    }
}

void Fixer::names()
{
    if (report.renames.isEmpty() || stopped())
        return;
    QStringList shown;
    for (const Rename &r : report.renames)
        shown << ::playlists::relativeToRoot(root, r.from) + QStringLiteral(" -> ") + QFileInfo(r.to).fileName();
    if (!yesOrNo(QuestionKind::Confirm, QStringLiteral("health.rename"), ctx.translate("healthfix", "Names"),
                 ctx.translate("healthfix", "These names do not suit the Corvel3:\n%1\n\nRename them? The playlists follow.")
                     .arg(listed(shown))))
        return;
    QVector<::playlists::LineRule> planned;
    for (const Rename &r : report.renames)
        if (QFileInfo::exists(r.from) || ctx.dryRun)
            planned << ::playlists::LineRule{r.folder ? ::playlists::LineRule::Folder : ::playlists::LineRule::Song, r.from, r.to};
    // The renames reach the journal on the player before the first one: a crash leaves the
    // next run what it needs to bring the playlists in line.
    SplitJournal journal;
    if (!ctx.dryRun && (!journal.start(root) || !journal.plan(planned))) {
        journal.finish();
        outcome.addNotDone(QDir::toNativeSeparators(SplitJournal::pathFor(root)), ctx.translate("healthfix", "journal not written"));
        return;
    }
    ::playlists::PendingUpdates updates(ctx, root, &dryRunTexts);
    for (const auto &rule : planned) {
        ++outcome.total;
        const bool renamed = ctx.dryRun || QDir().rename(rule.oldRelative, rule.newRelative);
        changed = changed || (renamed && !ctx.dryRun);
        ctx.fileAction(QStringLiteral("rename"), rule.oldRelative, rule.newRelative, renamed);
        if (!renamed) {
            outcome.addNotDone(QDir::toNativeSeparators(rule.oldRelative), ctx.translate("healthfix", "not renamed"));
            continue;
        }
        if (rule.kind == ::playlists::LineRule::Folder)
            updates.addFolder(rule.oldRelative, rule.newRelative);
        else
            updates.addSong(rule.oldRelative, rule.newRelative);
    }
    if (!updates.flush() || (!ctx.dryRun && !journal.markDone()))
        outcome.addNotDone(QDir::toNativeSeparators(root + QLatin1String(playerlayout::kPlaylistFolder)),
                           ctx.translate("healthfix", "playlists not updated"));
    journal.finish();
}

} // namespace

Outcome run(OperationContext &ctx, const Options &options, Report *report)
{
    QHash<QString, QByteArray> dryRunTexts;
    // Playlists an interrupted rename (of this check's or a split's) left behind follow first.
    if (options.fixGroups && !FolderSplit::resumeUnfinished(ctx, ctx.driveRoot, &dryRunTexts))
        return Outcome::failure(true);
    *report = check(ctx, options.packagePath);
    if (!report->complete)
        return Outcome::of(Outcome::Status::Stopped);
    Fixer fixer(ctx, *report, dryRunTexts);
    if (options.fixGroups & Playlists)
        fixer.playlists();
    if ((options.fixGroups & Duplicates) && !ctx.state.stopRequested)
        fixer.duplicates();
    if ((options.fixGroups & Names) && !ctx.state.stopRequested)
        fixer.names();
    Outcome outcome = fixer.outcome;
    if (fixer.changed && !ctx.state.stopRequested) {
        *report = check(ctx, options.packagePath);
        if (!report->complete)
            return Outcome::of(Outcome::Status::Stopped);
    }
    if (ctx.state.stopRequested)
        outcome.status = Outcome::Status::Stopped;
    if (outcome.status == Outcome::Status::Done && !report->healthy())
        outcome.status = Outcome::Status::Failed;
    for (const Finding &f : report->findings)
        if (!f.items.isEmpty())
            outcome.notDone << QStringLiteral("%1: %2").arg(kindName(f.kind)).arg(f.items.size());
    return outcome;
}

} // namespace health
