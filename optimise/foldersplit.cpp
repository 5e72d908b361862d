#include "optimise/foldersplit.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QVector>

#include "device/entries.h"
#include "optimise/playlists.h"

namespace {

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
    : ctx(ctx), scan(scan), titles(titles), state(state), pendingPlaylists(scan.libraryDevicePath)
{
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

QString FolderSplit::freeName(const QString &name) const
{
    QString candidate = name;
    for (int n = 1; QFileInfo::exists(groupPath(candidate)) || QFileInfo(groupPath(candidate)).isSymLink(); ++n)
        candidate = name + QStringLiteral(" (%1)").arg(n);
    return candidate;
}

void FolderSplit::resetFolder()
{
    pendingPlaylists.flush();
    state.resetForFolder();
    titles.titleFound = false;
    namesByLowerCase.clear();
    ctx.progress.setValue(0);
}

void FolderSplit::splitFoldersByTitle()
{
    ctx.progress.setStatus(ctx.pick("Caricamento risorse...", "Loading resources..."));
    if (scan.oversizedFolders.isEmpty()) {
        ctx.progress.setStatus(ctx.pick("Operazione completata", "Operation completed"));
        boxes::information(ctx.dialogs, ctx.window, ctx.pick("Operazione Completata", "Operation completed"),
                           ctx.pick("Tutte le cartelle sono già ottimizzate, nessuna operazione necessaria",
                                    "All folders are already optimized, no operation needed"));
        return;
    }
    boxes::information(
        ctx.dialogs, ctx.window, ctx.pick("Trovate cartelle con troppi file", "Folders with too many files found"),
        ctx.pick("Le seguenti cartelle contengono più di 1000 basi e verranno suddivise in cartelle con non più di "
                 "1000 basi ciascuna:\n",
                 "The following folders contain more than 1000 bases and will be divided into folders with no "
                 "more than 1000 bases for each:\n")
            + scan.oversizedFoldersText);

    if (!scan.songExtensions.isEmpty())
        titles.setSongExtensions(scan.songExtensions);
    const int total = scan.oversizedFolders.size();
    for (int i = 0; i < total && !ctx.state.stopRequested; ++i) {
        ctx.progress.setStatus(ctx.pick("Ottimizzazione cartelle ", "Optimizing folders ") + QString::number(i + 1)
                               + QLatin1Char('/') + QString::number(total));
        if (!splitFolder(scan.oversizedFolders.at(i)))
            break;
    }
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;
        resetFolder();
        return;
    }

    if (defragment)
        defragment();
    ctx.progress.setStatus(ctx.pick("Operazione completata", "Operation completed"));
    const QString title = ctx.pick("Operazione Completata", "Operation completed");
    boxes::information(ctx.dialogs, ctx.window, title,
                       ctx.pick("Basi divise correttamente", "Songs successfully divided"));
    boxes::information(ctx.dialogs, ctx.window, title,
                       ctx.pick("ATTENZIONE: Si consiglia di ricostruire il Database per migliorare le prestazioni.",
                                "WARNING: It is recommended to rebuild your Database to improve performance"));
}

bool FolderSplit::splitFolder(const QFileInfo &folder)
{
    resetFolder();
    state.splitDir = QDir(folder.absoluteFilePath());
    const QString path = folderPath();

    entries::ListOptions options;
    options.recursive = false;
    options.folders = false;
    for (const QString &file : entries::list(path, options)) {
        const QFileInfo info(file);
        for (const QString &extension : scan.songExtensions) {
            if (info.fileName().endsWith(extension, Qt::CaseInsensitive)) {
                state.folderSongs << info;
                break;
            }
        }
    }
    const QStringList allFiles =
        QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : allFiles)
        namesByLowerCase.insert(name.toLower(), name);

    // A folder split before already holds "a", "b", ...: the new groups become "a (1)", ...
    // Any entry of that name, not only a folder, makes the name unusable.
    for (QString &group : state.groupFolders) {
        const QChar family = state.groupFamily.take(group);
        group = freeName(group);
        state.groupFamily.insert(group, family);
        QDir(path).mkdir(group);
    }

    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(state.folderSongs.size());
    const QList<QFileInfo> songs = state.folderSongs;
    for (int i = 0; i < songs.size(); ++i) {
        fileSong(songs.at(i));
        ctx.progress.setValue(i + 1);
        if (ctx.state.stopRequested)
            return false;
    }
    resetFolder();
    return true;
}

QString FolderSplit::chooseGroup(QChar family)
{
    for (int g = 0; g < state.groupFolders.size(); ++g) {
        const QString group = state.groupFolders.at(g);
        if (state.groupFamily.value(group) != family)
            continue;
        if (countFiles(groupPath(group)) < state.groupCapacity)
            return group;
        if (family == SplitState::digitsFamily() || state.retiredGroups.contains(group))
            continue;
        state.fullGroup = group;
        retireFullGroup();
        return state.groupFolders.last();
    }
    if (family == SplitState::digitsFamily()) {
        addDigitsGroup();
        return state.groupFolders.last();
    }
    return QString();
}

void FolderSplit::fileSong(const QFileInfo &song)
{
    state.currentSong = song;
    titles.titleFound = false;
    titles.readSongTitle(song, false);
    const QString key = titles.filingKey(song);
    const QChar family = familyOf(key.isEmpty() ? QChar() : key.at(0));

    // Companions: the ".cdg" of an MP3 song (by its own name, not a folder's), and the ".bak" and
    // ".dat" of every song. Each one takes a place in the group.
    const QString mp3 = scan.songExtensions.value(0, QStringLiteral(".mp3"));
    QStringList companionNames;
    if (song.fileName().endsWith(mp3, Qt::CaseInsensitive))
        companionNames << song.completeBaseName() + QStringLiteral(".cdg");
    companionNames << song.fileName() + QStringLiteral(".bak") << song.fileName() + QStringLiteral(".dat");
    QStringList companions;
    for (const QString &name : companionNames) {
        const QString actual = namesByLowerCase.value(name.toLower());
        if (!actual.isEmpty() && actual != song.fileName() && QFileInfo(folderPath() + QLatin1Char('/') + actual).isFile())
            companions << actual;
    }
    state.groupCapacity = SplitState::maxGroupFiles - companions.size();
    state.destGroup = chooseGroup(family);
    state.groupCapacity = SplitState::maxGroupFiles;
    if (state.destGroup.isEmpty())
        return;

    // Never overwrite: when the group already holds a file of any of these names, the song and
    // its companions stay together in F.
    const QString source = folderPath() + QLatin1Char('/');
    const QString target = groupPath(state.destGroup) + QLatin1Char('/');
    const auto taken = [](const QString &p) { return QFileInfo::exists(p) || QFileInfo(p).isSymLink(); };
    if (taken(target + song.fileName()))
        return;
    for (const QString &name : companions)
        if (taken(target + name))
            return;

    QStringList moved;
    for (const QString &name : companions)
        if (QFile::rename(source + name, target + name))
            moved << name;
    if (QFile::rename(song.absoluteFilePath(), target + song.fileName())) {
        for (const QString &name : moved)
            namesByLowerCase.remove(name.toLower());
        namesByLowerCase.remove(song.fileName().toLower());
        // Only a song that really moved has its playlist lines follow it.
        pendingPlaylists.addSong(song.absoluteFilePath(), target + song.fileName());
        if (pendingPlaylists.size() >= playlistBatch)
            pendingPlaylists.flush();
    } else {
        for (const QString &name : moved)
            QFile::rename(target + name, source + name);
    }
}

void FolderSplit::retireFullGroup()
{
    const QString full = state.fullGroup;
    const int index = state.groupFolders.indexOf(full);
    if (full.isEmpty() || index < 0)
        return;
    const QChar family = state.groupFamily.value(full);
    const SongTitleReader::SavedTitle current = titles.save();

    // The range of titles of the songs the group holds; companions and other files say nothing
    // about it.
    QStringList names;
    const QFileInfoList files = QDir(groupPath(full)).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &file : files) {
        bool isSong = false;
        for (const QString &extension : scan.songExtensions)
            isSong = isSong || file.fileName().endsWith(extension, Qt::CaseInsensitive);
        if (!isSong)
            continue;
        titles.titleFound = false;
        titles.readSongTitle(file, true);
        names << (titles.titleFound ? titles.songTitle : file.baseName());
    }
    std::sort(names.begin(), names.end());

    QString finalName = full;
    if (!names.isEmpty()) {
        const QString newName = freeName(safeTitle(names.first()) + QStringLiteral(" - ") + safeTitle(names.last()));
        if (QDir(folderPath()).rename(full, newName)) {
            finalName = newName;
            state.groupFolders[index] = newName;
            state.groupFamily.remove(full);
            state.groupFamily.insert(newName, family);
            pendingPlaylists.addFolder(groupPath(full), groupPath(newName));
        }
    }
    // A group that could not be renamed is still full: it is passed over from now on.
    state.retiredGroups << finalName;

    titles.restore(current);
    const QString currentTitle =
        safeTitle(titles.titleFound ? titles.songTitle : state.currentSong.baseName());
    QString successor = currentTitle + QStringLiteral(" - ") + currentTitle.at(0) + QLatin1Char('z');
    // A successor left by an earlier split is used while it has room; otherwise a fresh one.
    const QFileInfo existing(groupPath(successor));
    if (existing.exists()
        && (!existing.isDir() || state.groupFolders.contains(successor)
            || countFiles(existing.absoluteFilePath()) >= state.groupCapacity))
        successor = freeName(successor);
    QDir(folderPath()).mkdir(successor);
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
    } while (QFileInfo::exists(groupPath(name)) || QFileInfo(groupPath(name)).isSymLink());
    QDir(folderPath()).mkdir(name);
    state.groupFolders << name;
    state.groupFamily.insert(name, SplitState::digitsFamily());
}
