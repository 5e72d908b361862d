#include "optimise/foldersplit.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QVector>

#include "device/entries.h"
#include "device/platform.h"
#include "optimise/libraryscan.h"
#include "optimise/playlists.h"
#include "core/dialogs.h"

namespace {

const QString songAction = QStringLiteral("move");

int countFiles(const QString &folder)
{
    // Hidden files count too: a group never holds more than the player's limit of files.
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size();
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Latin letters that no decomposition takes to a base letter.
QChar foldedLatinLetter(QChar c)
{
    switch (c.toLower().unicode()) {
    case 0x00DF: return QLatin1Char('s');   // ß
    case 0x00E6: return QLatin1Char('a');   // æ
    case 0x00F8: return QLatin1Char('o');   // ø
    case 0x0153: return QLatin1Char('o');   // œ
    case 0x0111: case 0x00F0: return QLatin1Char('d');   // đ ð
    case 0x00FE: return QLatin1Char('t');   // þ
    case 0x0142: return QLatin1Char('l');   // ł
    case 0x0131: return QLatin1Char('i');   // dotless i
    default: return QChar();
    }
}

bool isReservedDeviceName(const QString &name)
{
    // Windows refuses these as names of files and folders, with or without an extension.
    QString stem = name.section(QLatin1Char('.'), 0, 0);
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    stem = stem.toUpper();
    static const QStringList plain{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                   QStringLiteral("NUL")};
    if (plain.contains(stem))
        return true;
    return stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
           && stem.at(3) >= QLatin1Char('1') && stem.at(3) <= QLatin1Char('9');
}

} // namespace

FolderSplit::FolderSplit(OperationContext &ctx, const LibraryScanState &scan, SongTitleReader &titles, SplitState &state)
    : ctx(ctx), scan(scan), titles(titles), state(state), pendingPlaylists(ctx, scan.libraryDevicePath, &scan.dryRunPlaylists)
{
    for (auto it = scan.realPaths.cbegin(); it != scan.realPaths.cend(); ++it)
        shortNames.insert(it.value(), it.key());
}

QChar FolderSplit::familyOf(QChar first)
{
    if (isAsciiLetter(first))
        return first.toLower();
    if (first.unicode() <= 0x7F || !first.isLetter())
        return SplitState::digitsFamily();
    const QString decomposed = QString(first).normalized(QString::NormalizationForm_KD);
    if (!decomposed.isEmpty() && isAsciiLetter(decomposed.at(0)))
        return decomposed.at(0).toLower();
    const QChar folded = foldedLatinLetter(first);
    return folded.isNull() ? SplitState::digitsFamily() : folded;
}

QString FolderSplit::safeTitle(const QString &title)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name;
    name.reserve(title.size());
    for (const QChar c : title) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
        name += (control || forbidden.contains(c) || c.isNonCharacter()) ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    constexpr int maxLength = 100;
    if (name.size() > maxLength)
        name.truncate(name.at(maxLength - 1).isHighSurrogate() ? maxLength - 1 : maxLength);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        return QStringLiteral("_");
    if (isReservedDeviceName(name)) {
        const int dot = name.indexOf(QLatin1Char('.'));
        name.insert(dot < 0 ? name.size() : dot, QLatin1Char('_'));
    }
    return name;
}

QString FolderSplit::folderPath() const
{
    return state.splitDir.absolutePath();
}

QString FolderSplit::groupPath(const QString &group) const
{
    return folderPath() + QLatin1Char('/') + group;
}

bool FolderSplit::exists(const QString &name) const
{
    const QString lower = name.toLower();
    if (state.madeNames.contains(lower))
        return true;
    if (state.goneNames.contains(lower))
        return false;
    const QFileInfo info(groupPath(name));
    return info.exists() || info.isSymLink();
}

QString FolderSplit::freeName(const QString &name) const
{
    QString candidate = name;
    for (int n = 1; exists(candidate); ++n)
        candidate = name + QStringLiteral(" (%1)").arg(n);
    return candidate;
}

void FolderSplit::openGroup(const QString &name, bool make)
{
    const bool existed = exists(name);
    // A group left by an earlier split is counted once, when it is opened; from then on the
    // count follows the moves in memory.
    QSet<QString> &held = state.groupFiles[name];
    held.clear();
    if (existed && !state.madeNames.contains(name.toLower())) {
        for (const QString &file : QDir(groupPath(name)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                                     | QDir::NoDotAndDotDot))
            held.insert(file.toLower());
    }
    state.groupCounts[name] = existed && !state.madeNames.contains(name.toLower()) ? countFiles(groupPath(name)) : 0;
    if (make && !existed) {
        const bool made = ctx.dryRun || QDir(folderPath()).mkdir(name);
        ctx.fileAction(QStringLiteral("create"), groupPath(name), QString(), made);
        if (made)
            ++groupsMade;
        state.madeNames.insert(name.toLower());
        state.goneNames.remove(name.toLower());
    }
}

bool FolderSplit::flushPlaylists()
{
    if (pendingPlaylists.flush())
        return true;
    failed = true;
    return false;
}

void FolderSplit::resetFolder()
{
    flushPlaylists();
    state.resetForFolder();
    titles.titleFound = false;
    namesByLowerCase.clear();
    ctx.progress.setValue(0);
}

bool FolderSplit::splitFoldersByTitle()
{
    ctx.progress.setStatus(ctx.translate("FolderSplit", "Loading resources..."));
    if (scan.oversizedFolders.isEmpty()) {
        ctx.progress.setStatus(ctx.translate("FolderSplit", "Operation completed"));
        boxes::information(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "Operation completed", "it: Operazione Completata"),
                           ctx.translate("FolderSplit", "All folders are already optimized, no operation needed"));
        return true;
    }
    boxes::information(
        ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "Folders with too many files found"),
        ctx.translate("FolderSplit", "The following folders contain more than 1000 bases and will be divided into folders with no "
                                     "more than 1000 bases for each:\n")
            + scan.oversizedFoldersText);

    // Without its journal a crash could leave playlists naming songs that have moved: nothing
    // moves then.
    if (!ctx.dryRun && !journal.start(scan.libraryDevicePath)) {
        boxes::critical(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "ERROR"),
                        ctx.translate("FolderSplit", "Cannot write the split journal in ")
                            + SplitJournal::pathFor(scan.libraryDevicePath)
                            + ctx.translate("FolderSplit", "\nNo song has been moved."));
        return false;
    }

    if (!scan.songExtensions.isEmpty())
        titles.setSongExtensions(scan.songExtensions);
    qint64 playlistLines = 0;
    for (const QString &playlist : playlists::playlistFiles(scan.libraryDevicePath)) {
        QFile file(playlist);
        if (file.open(QIODevice::ReadOnly))
            playlistLines += file.readAll().count('\n');
    }
    batchLimit = int(qBound(qint64(batchSize), playlistLines / 4, qint64(1000000)));
    const int total = scan.oversizedFolders.size();
    for (int i = 0; i < total && !ctx.state.stopRequested && !failed; ++i) {
        ctx.progress.setStatus(ctx.translate("FolderSplit", "Optimizing folders ") + QString::number(i + 1)
                               + QLatin1Char('/') + QString::number(total));
        if (!splitFolder(scan.oversizedFolders.at(i)))
            break;
    }
    resetFolder();
    journal.finish();   // kept on the player while a batch is unmarked: the next run completes it
    if (failed) {
        // A player that went away needs no box of ours: the run says it is not found.
        if (QFileInfo(scan.libraryDevicePath).isDir())
            boxes::critical(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "ERROR"),
                            ctx.translate("FolderSplit", "Not every playlist could be updated. The split has been interrupted; the next "
                                                         "optimization will complete the playlists."));
        return false;
    }
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;
        return false;
    }

    const QString title = ctx.translate("FolderSplit", "Operation completed", "it: Operazione Completata");
    const QString rebuild = ctx.translate("FolderSplit", "WARNING: It is recommended to rebuild your Database to improve performance");
    if (songsNotMoved > 0) {
        // No defragmentation of a disk that has just refused moves.
        ctx.progress.setStatus(ctx.translate("FolderSplit", "Operation not completed"));
        boxes::critical(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "ERROR"),
                        ctx.translate("FolderSplit", "Songs moved: %1. %2 songs could not be moved and stay in their folders; the "
                                                     "playlists name them where they are.\n")
                                .arg(songsMoved)
                                .arg(songsNotMoved)
                            + rebuild);
        return false;
    }
    if (defragment && !ctx.dryRun)
        defragment();
    ctx.progress.setStatus(ctx.translate("FolderSplit", "Operation completed"));
    if (ctx.dryRun) {
        // Nothing moved: the box says what a real run would do.
        boxes::information(ctx.dialogs, ctx.window, title,
                           ctx.translate("FolderSplit", "Would move %1 songs into %2 new folders")
                               .arg(songsMoved)
                               .arg(groupsMade));
        return true;
    }
    boxes::information(ctx.dialogs, ctx.window, title,
                       ctx.translate("FolderSplit", "Songs successfully divided"));
    boxes::information(ctx.dialogs, ctx.window, title, rebuild);
    return true;
}

bool FolderSplit::splitFolder(const QFileInfo &folder)
{
    resetFolder();
    state.splitDir = QDir(folder.absoluteFilePath());
    const QString path = folderPath();
    // The player's own entries are never split, whatever the scan listed.
    if (scanrules::isInsidePlayerOwnEntry(scan.libraryDevicePath, path))
        return true;

    const QString realFolder = realPathOf(path);
    const auto shownPath = [&](const QString &file) { return shortNames.value(file, file); };
    entries::ListOptions options;
    options.recursive = false;
    options.folders = false;
    for (const QString &file : entries::list(realFolder, options)) {
        const QFileInfo info(shownPath(file));
        for (const QString &extension : scan.songExtensions) {
            if (info.fileName().endsWith(extension, Qt::CaseInsensitive)) {
                state.folderSongs << info;
                break;
            }
        }
    }
    const QStringList allFiles =
        QDir(realFolder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : allFiles) {
        const QString shown = QFileInfo(shownPath(realFolder + QLatin1Char('/') + name)).fileName();
        namesByLowerCase.insert(shown.toLower(), shown);
    }

    // A folder split before already holds "a", "b", ...: the new groups become "a (1)", ...
    // Any entry of that name, not only a folder, makes the name unusable.
    for (QString &group : state.groupFolders) {
        const QChar family = state.groupFamily.take(group);
        group = freeName(group);
        state.groupFamily.insert(group, family);
        openGroup(group, true);
    }

    const QList<QFileInfo> songs = state.folderSongs;
    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(songs.size());
    int next = 0;
    while (next < songs.size()) {
        QVector<Move> batch;
        bool retirePending = false;
        while (next < songs.size() && batch.size() < batchLimit && !ctx.state.stopRequested) {
            pump.poll();
            Move move;
            const Choice choice = planSong(songs.at(next), &move);
            if (choice == Choice::Retire) {
                // The batch's songs reach their group before it gets its new name; the rename
                // and the batch then reach the playlists together, before the next song moves.
                retirePending = true;
                break;
            }
            if (choice == Choice::Group) {
                state.groupCounts[move.group] += 1 + move.companions.size();
                state.placedFiles[move.group].insert(move.song);
                for (const QString &name : move.companions) {
                    state.placedFiles[move.group].insert(name);
                    namesByLowerCase.remove(name.toLower());
                }
                move.titleName = titles.titleFound ? titles.songTitle : QFileInfo(move.song).baseName();
                state.placedTitles[move.group] << move.titleName;
                namesByLowerCase.remove(move.song.toLower());
                batch << move;
            } else {
                ctx.progress.setValue(ctx.progress.value() + 1);
            }
            ++next;
        }
        if (!moveBatch(batch))
            return false;
        if (retirePending && !ctx.state.stopRequested)
            retireFullGroup();   // the same song is planned again, with the successor group open
        else if (!finishBatch())
            return false;
        if (failed || ctx.state.stopRequested)
            return false;
    }
    return true;
}

bool FolderSplit::finishBatch()
{
    if (!flushPlaylists())
        return false;
    if (!ctx.dryRun && !journal.markDone()) {
        failed = true;
        return false;
    }
    return true;
}

FolderSplit::Choice FolderSplit::chooseGroup(QChar family, QString *chosen)
{
    for (int g = 0; g < state.groupFolders.size(); ++g) {
        const QString group = state.groupFolders.at(g);
        if (state.groupFamily.value(group) != family)
            continue;
        if (state.groupCounts.value(group) < state.groupCapacity) {
            *chosen = group;
            return Choice::Group;
        }
        if (family == SplitState::digitsFamily() || state.retiredGroups.contains(group))
            continue;
        *chosen = group;
        return Choice::Retire;
    }
    if (family == SplitState::digitsFamily()) {
        addDigitsGroup();
        *chosen = state.groupFolders.last();
        return Choice::Group;
    }
    return Choice::None;
}

FolderSplit::Choice FolderSplit::planSong(const QFileInfo &song, Move *move)
{
    state.currentSong = song;
    move->song = song.fileName();
    move->realPath = realPathOf(song.absoluteFilePath());
    titles.titleFound = false;
    titles.readSongTitle(QFileInfo(move->realPath), false);
    const QString key = titles.filingKey(song);
    const QChar family = familyOf(key.isEmpty() ? QChar() : key.at(0));

    // Companions: the ".cdg" of an MP3 song (by its own name, not a folder's), and the ".bak" and
    // ".dat" of every song, found in the folder's name index whatever their case. Each one takes
    // a place in the group.
    const QString mp3 = scan.songExtensions.value(0, QStringLiteral(".mp3"));
    QStringList companionNames;
    if (song.fileName().endsWith(mp3, Qt::CaseInsensitive))
        companionNames << song.completeBaseName() + QStringLiteral(".cdg");
    companionNames << song.fileName() + QStringLiteral(".bak") << song.fileName() + QStringLiteral(".dat");
    for (const QString &name : companionNames) {
        const QString actual = namesByLowerCase.value(name.toLower());
        if (!actual.isEmpty() && actual != song.fileName())
            move->companions << actual;
    }
    state.groupCapacity = SplitState::maxGroupFiles - move->companions.size();
    const Choice choice = chooseGroup(family, &move->group);
    state.groupCapacity = SplitState::maxGroupFiles;
    if (choice == Choice::Retire)
        state.fullGroup = move->group;
    if (choice != Choice::Group)
        return choice;

    // Never overwrite: when the group already holds a file of any of these names, the song and
    // its companions stay together in F.
    // The group's own files were listed when it was opened; the rest are the ones placed since.
    const QSet<QString> &placed = state.placedFiles[move->group];
    const QSet<QString> &held = state.groupFiles[move->group];
    const auto taken = [&](const QString &name) { return placed.contains(name) || held.contains(name.toLower()); };
    if (taken(move->song))
        return Choice::None;
    for (const QString &name : move->companions)
        if (taken(name))
            return Choice::None;
    state.destGroup = move->group;
    return Choice::Group;
}

bool FolderSplit::moveBatch(const QVector<Move> &batch)
{
    if (batch.isEmpty())
        return true;
    const QString source = folderPath() + QLatin1Char('/');
    if (!ctx.dryRun) {
        QVector<playlists::LineRule> planned;
        planned.reserve(batch.size());
        for (const Move &move : batch)
            planned << playlists::LineRule{playlists::LineRule::Song, source + move.song,
                                           groupPath(move.group) + QLatin1Char('/') + move.song};
        if (!journal.plan(planned)) {
            failed = true;
            return false;
        }
    }
    for (const Move &move : batch) {
        if (ctx.state.stopRequested)
            break;
        const QString target = groupPath(move.group) + QLatin1Char('/');
        QStringList moved;
        for (const QString &name : move.companions) {
            const bool ok = ctx.dryRun || platform::moveNoReplace(realPathOf(source + name), target + name);
            ctx.fileAction(songAction, source + name, target + name, ok);
            if (ok)
                moved << name;
        }
        const bool ok = ctx.dryRun || platform::moveNoReplace(move.realPath, target + move.song);
        ctx.fileAction(songAction, source + move.song, target + move.song, ok);
        if (ok) {
            // Only a song that really moved has its playlist lines follow it.
            pendingPlaylists.addSong(source + move.song, target + move.song);
            ++songsMoved;
            if (afterSongMoved)
                afterSongMoved(songsMoved);
        } else {
            ++songsNotMoved;
            if (!QFileInfo(scan.libraryDevicePath).isDir()) {
                // The player went away: the rest of the batch cannot move either.
                failed = true;
                return false;
            }
            // The song stays, and its companions go back beside it.
            for (const QString &name : moved) {
                const bool back = platform::moveNoReplace(target + name, source + name);
                ctx.fileAction(songAction, target + name, source + name, back);
            }
            state.groupCounts[move.group] -= 1 + move.companions.size();
            state.placedFiles[move.group].remove(move.song);
            for (const QString &name : move.companions)
                state.placedFiles[move.group].remove(name);
            state.placedTitles[move.group].removeOne(move.titleName);
        }
        ctx.progress.setValue(ctx.progress.value() + 1);
        pump.poll();
    }
    return true;
}

void FolderSplit::retireFullGroup()
{
    const QString full = state.fullGroup;
    const int index = state.groupFolders.indexOf(full);
    if (full.isEmpty() || index < 0) {
        finishBatch();
        return;
    }
    const QChar family = state.groupFamily.value(full);
    const SongTitleReader::SavedTitle current = titles.save();

    // The range of titles of the songs the group holds: those this run put there are known,
    // the others are read; companions and other files say nothing about it.
    QStringList names = state.placedTitles.value(full);
    const QSet<QString> placed = state.placedFiles.value(full);
    if (!state.madeNames.contains(full.toLower())) {
        const QFileInfoList files = QDir(groupPath(full)).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
        for (const QFileInfo &file : files) {
            if (placed.contains(file.fileName()) || !scanrules::endsWithAny(file.fileName(), scan.songExtensions))
                continue;
            titles.titleFound = false;
            titles.readSongTitle(file, true);
            names << (titles.titleFound ? titles.songTitle : file.baseName());
        }
    }
    std::sort(names.begin(), names.end());

    QString finalName = full;
    if (!names.isEmpty()) {
        const QString newName = freeName(safeTitle(names.first()) + QStringLiteral(" - ") + safeTitle(names.last()));
        const QString from = groupPath(full), to = groupPath(newName);
        bool renamed = ctx.dryRun;
        if (!ctx.dryRun) {
            if (!journal.plan({playlists::LineRule{playlists::LineRule::Folder, from, to}})) {
                failed = true;
                return;
            }
            renamed = QDir(folderPath()).rename(full, newName);
        }
        ctx.fileAction(QStringLiteral("rename"), from, to, renamed);
        if (renamed) {
            finalName = newName;
            state.groupFolders[index] = newName;
            state.groupFamily.remove(full);
            state.groupFamily.insert(newName, family);
            state.groupCounts.insert(newName, state.groupCounts.take(full));
            state.placedFiles.insert(newName, state.placedFiles.take(full));
            state.placedTitles.insert(newName, state.placedTitles.take(full));
            state.groupFiles.insert(newName, state.groupFiles.take(full));
            state.madeNames.remove(full.toLower());
            state.goneNames.insert(full.toLower());
            state.madeNames.insert(newName.toLower());
            state.goneNames.remove(newName.toLower());
            // The group's lines follow before the next song moves.
            pendingPlaylists.addFolder(from, to);
        }
    }
    // The moves made so far and the new name reach the playlists before the next song moves.
    if (!finishBatch())
        return;
    // A group that could not be renamed is still full: it is passed over from now on.
    state.retiredGroups << finalName;

    titles.restore(current);
    const QString currentTitle =
        safeTitle(titles.titleFound ? titles.songTitle : state.currentSong.baseName());
    QString successor = currentTitle + QStringLiteral(" - ") + currentTitle.at(0) + QLatin1Char('z');
    // A successor left by an earlier split is used while it has room; otherwise a fresh one.
    if (exists(successor)) {
        const QFileInfo existing(groupPath(successor));
        if (state.groupFolders.contains(successor) || state.madeNames.contains(successor.toLower())
            || !existing.isDir() || countFiles(existing.absoluteFilePath()) >= state.groupCapacity)
            successor = freeName(successor);
    }
    openGroup(successor, true);
    state.groupFolders << successor;
    state.groupFamily.insert(successor, family);
}

void FolderSplit::addDigitsGroup()
{
    // Overflow groups left by an earlier split are never filled further.
    QString name;
    do {
        ++state.digitsOverflowNumber;
        name = QStringLiteral("0-9 (%1)").arg(state.digitsOverflowNumber);
    } while (exists(name));
    openGroup(name, true);
    state.groupFolders << name;
    state.groupFamily.insert(name, SplitState::digitsFamily());
}

bool FolderSplit::resumeUnfinished(OperationContext &ctx, const QString &deviceRoot, QHash<QString, QByteArray> *dryRunTexts)
{
    if (deviceRoot.isEmpty())
        return true;
    QVector<playlists::LineRule> rules;
    const SplitJournal::Unfinished found = SplitJournal::unfinished(deviceRoot, &rules);
    if (found == SplitJournal::Unfinished::Unreadable) {
        boxes::critical(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "ERROR"),
                        ctx.translate("FolderSplit", "A split of the songs had been interrupted, but its journal on the Corvel3 cannot be "
                                                     "read:\n%1\nNothing has been changed; try again after reconnecting the Corvel3.")
                            .arg(QDir::toNativeSeparators(SplitJournal::pathFor(deviceRoot))));
        return false;
    }
    // Copies a cut-short rewrite left: removed once their playlists hold every line the journal
    // covers (rewriting a playlist takes its copy's name, and so its place, too).
    const QStringList copies = playlists::strayCopies(deviceRoot);
    if (found == SplitJournal::Unfinished::Entries) {
        playlists::PendingUpdates updates(ctx, deviceRoot, dryRunTexts);
        for (const playlists::LineRule &rule : rules)
            updates.add(rule);
        if (!updates.flush()) {
            // The journal stays, so that nothing it covers is lost: the next run tries again.
            boxes::critical(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "ERROR"),
                            ctx.translate("FolderSplit", "A split of the songs had been interrupted and not every playlist could be "
                                                         "updated. Nothing else has been changed; the next optimization will try again."));
            return false;
        }
        if (!ctx.dryRun)
            SplitJournal::discard(deviceRoot);
    }
    for (const QString &copy : playlists::strayCopies(deviceRoot))
        ctx.fileAction(QStringLiteral("delete"), copy, QString(), ctx.dryRun || QFile::remove(copy));
    int removed = 0;
    for (const QString &copy : copies)
        removed += QFileInfo::exists(copy) && !ctx.dryRun ? 0 : 1;
    QStringList said;
    if (!rules.isEmpty())
        said << ctx.translate("FolderSplit", "A split of the songs had been interrupted: the playlists have been completed for the %1 "
                                             "songs and folders already moved.")
                    .arg(rules.size());
    if (removed > 0)
        said << ctx.translate("FolderSplit", "%1 unfinished copies of playlists left by an interruption have been removed.")
                    .arg(removed);
    if (!said.isEmpty())
        boxes::information(ctx.dialogs, ctx.window, ctx.translate("FolderSplit", "WARNING"), said.join(QLatin1Char('\n')));
    return true;
}
