#include "health/healthcheck.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStorageInfo>
#include <QtConcurrent>

#include <algorithm>
#include <numeric>
#include <map>

#include "device/platform.h"
#include "health/healthnames.h"
#include "health/playlistline.h"
#include "health/songcheck.h"
#include "optimise/libraryscan.h"
#include "optimise/playlists.h"
#include "optimise/songtitle.h"

namespace health {

namespace {

constexpr int kTailBytes = 16 * 1024;
constexpr int kAudioProbeBytes = 4096;
constexpr int kChunk = 2048;   // songs between two looks at Stop and the bar

struct Song {
    QString absolute;
    QString relative;
    qint64 size = 0;
    // Filled on the pool.
    bool titled = false;
    bool readable = true;
    songcheck::Damage damage = songcheck::Damage::None;
    QByteArray hash;   // of the whole song when it was read whole, else of its head and tail
    bool wholeHash = false;
};

QString folded(const QString &s) { return s.toCaseFolded(); }

QByteArray readAt(QFile &file, qint64 at, qint64 count)
{
    if (count <= 0 || !file.seek(at))
        return QByteArray();
    return file.read(count);
}

bool isMidiName(const QString &name)
{
    return name.endsWith(QLatin1String(".mid"), Qt::CaseInsensitive) || name.endsWith(QLatin1String(".midi"), Qt::CaseInsensitive)
           || name.endsWith(QLatin1String(".kar"), Qt::CaseInsensitive);
}

// One song's head (and tail, for an MP3): its title, and whether it is whole.
void readSong(Song &song, const SongTitleReader &titles)
{
    QFile file(song.absolute);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        song.readable = false;
        return;
    }
    song.size = file.size();
    if (song.size == 0)
        return;
    const QByteArray head = file.read(qMin<qint64>(song.size, titlebytes::kFileBufferSize));
    const qint64 n = head.size();
    const bool whole = n == song.size;
    const QByteArray tail = whole ? head.right(kTailBytes) : readAt(file, qMax<qint64>(0, song.size - kTailBytes), kTailBytes);
    if (song.absolute.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive)) {
        const qint64 audio = songcheck::id3v2End(head);
        const QByteArray atAudio = audio + kAudioProbeBytes <= n ? head.mid(int(audio), kAudioProbeBytes)
                                                                 : readAt(file, audio, kAudioProbeBytes);
        // The tail never reaches back into the tag.
        song.damage = songcheck::checkMp3(atAudio, audio, tail.right(int(qBound(qint64(0), song.size - audio, qint64(kTailBytes)))),
                                          song.size);
    } else if (isMidiName(song.absolute)) {
        song.damage = songcheck::checkMidi(head.left(14), song.size, [&](qint64 at) {
            return at + 8 <= n ? head.mid(int(at), 8) : readAt(file, at, 8);
        });
    }
    // Songs that fit in the head are hashed on the way; others by head and tail, and whole only
    // when that matches another song's.
    song.wholeHash = whole;
    song.hash = QCryptographicHash::hash(whole ? head : head + tail, QCryptographicHash::Md5);
    std::optional<QString> title;
    switch (titles.readerFor(QFileInfo(song.absolute), false)) {
    case SongTitleReader::Kind::Mp3:
        if (titlebytes::hasId3v2Header(head.constData(), int(n)))
            title = titlebytes::id3v2Title(head.constData(), int(n));
        else if (song.size > titlebytes::kId3v1Size && tail.size() >= titlebytes::kId3v1Size)
            title = titlebytes::id3v1Title(tail.constData() + tail.size() - titlebytes::kId3v1Size, titlebytes::kId3v1Size);
        break;
    case SongTitleReader::Kind::Midi: title = titlebytes::midiTitle(head.constData(), int(n)); break;
    case SongTitleReader::Kind::FixedField: title = titlebytes::fixedFieldTitle(head.constData(), int(n)); break;
    case SongTitleReader::Kind::None: title = QString(); break;   // nothing to read: not the player's business
    }
    song.titled = title.has_value() && !title->trimmed().isEmpty();
    if (file.error() != QFileDevice::NoError)
        song.readable = false;
}

QByteArray contentHash(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result();
}

struct Listing {
    QString folder;
    bool isRoot = false;
    QVector<QFileInfo> files;
    QStringList folders;
    QVector<names::Entry> entries;
};

class Checker {
public:
    Checker(OperationContext &ctx, Report &report) : ctx(ctx), report(report)
    {
        fillExtensionsOnce();
        titles.setSongExtensions(scan.songExtensions);
    }

    bool walk();
    bool readSongs();
    void findDuplicates();
    void checkPlaylists();
    void tally(const QString &packagePath);

private:
    void fillExtensionsOnce() { scanrules::fillExtensionLists(scan); }
    bool stopped() const { return ctx.state.stopRequested; }
    void take(const Listing &listing);

    OperationContext &ctx;
    Report &report;
    LibraryScanState scan;   // the extension lists
    SongTitleReader titles;
    QVector<Song> songs;
    QHash<QString, int> filesByPath;                 // folded relative path of every file -> song index or -1
    QHash<QString, QVector<int>> songsByName;        // folded file name -> songs
    QHash<int, int> duplicateSetOf;                  // song -> index in report.duplicates
};

// One folder's entries, without the hidden and system ones and, at the root, the player's own.
// Reads only: the folders of one level are listed on the pool.
Listing listOne(const QString &folder, const QString &root)
{
    Listing l;
    l.folder = folder;
    l.isRoot = QFileInfo(folder) == QFileInfo(root);
    const platform::AttributeReader attributes(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString path = info.absoluteFilePath();
        if ((!info.isDir() && !info.isFile()) || attributes.hiddenOrSystem(path))
            continue;
        if (l.isRoot && scanrules::isPlayerOwnName(info.fileName()))
            continue;
        if (info.isDir()) {
            if (platform::isLink(path))
                continue;   // links and junctions are never entered
            l.folders << path;
        } else {
            l.files << info;
        }
        l.entries << names::Entry{info.fileName(), info.isDir(), {}};
    }
    return l;
}

void Checker::take(const Listing &listing)
{
    const QString root = ctx.driveRoot;
    const QString &folder = listing.folder;
    const bool isRoot = listing.isRoot;
    const QVector<QFileInfo> &files = listing.files;
    QSet<QString> present;   // folded file names, for companions
    for (const QFileInfo &info : files)
        present.insert(folded(info.fileName()));

    int songCount = 0;
    for (const QFileInfo &info : files) {
        const QString name = info.fileName();
        const QString relative = playlists::relativeToRoot(root, info.absoluteFilePath());
        const FileKind kind = scanrules::classify(name, scan);
        if (kind == FileKind::Song) {
            ++songCount;
            filesByPath.insert(folded(relative), songs.size());
            songsByName[folded(name)] << songs.size();
            songs << Song{info.absoluteFilePath(), relative, info.size()};
        } else {
            filesByPath.insert(folded(relative), -1);
        }
        // A companion names its song: "x.cdg" an MP3 "x.mp3", "x.mid.bak" and "x.mid.dat" their "x.mid".
        QString song;
        if (scanrules::endsWithExtension(name, QStringLiteral(".cdg")))
            song = name.chopped(4) + scan.songExtensions.value(0);
        else if (scanrules::endsWithAny(name, {QStringLiteral(".bak"), QStringLiteral(".dat")})
                 && scanrules::classify(name.chopped(4), scan) == FileKind::Song)
            song = name.chopped(4);
        if (!song.isEmpty() && !present.contains(folded(song)))
            report.finding(Kind::OrphanCompanion).items << relative;
    }
    if (songCount > scanrules::kOversizedFolder) {
        const QString relative = isRoot ? QStringLiteral("/") : playlists::relativeToRoot(root, folder);
        report.finding(Kind::OversizedFolder).items << QStringLiteral("%1 (%2)").arg(relative).arg(songCount);
    }
    const names::FolderNames found = names::checkFolder(listing.entries);
    const QString prefix = isRoot ? QString() : playlists::relativeToRoot(root, folder) + QLatin1Char('/');
    for (const QString &name : found.bad)
        report.finding(Kind::BadName).items << prefix + name;
    for (const QString &name : found.tooLong)
        report.finding(Kind::LongName).items << prefix + name;
    for (const QStringList &clash : found.clashes)
        report.finding(Kind::NameClash).items << prefix + clash.join(QStringLiteral(" | ") + prefix);
    const QString base = isRoot ? root : folder + QLatin1Char('/');
    for (const names::Entry &renamed : found.renames)
        report.renames << Rename{base + renamed.name, base + renamed.newName, renamed.folder};
}

bool Checker::walk()
{
    ctx.progress.setStatus(ctx.translate("healthcheck", "Checking the library: listing the files..."));
    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(0);
    const QString root = ctx.driveRoot;
    // Level by level, the folders of a level listed side by side.
    QStringList level{root};
    while (!level.isEmpty()) {
        if (stopped())
            return false;
        const QVector<Listing> listed = QtConcurrent::blockingMapped<QVector<Listing>>(
            level, std::function<Listing(const QString &)>([root](const QString &folder) { return listOne(folder, root); }));
        level.clear();
        for (const Listing &listing : listed) {
            take(listing);
            level << listing.folders;
        }
    }
    // Deepest first, so that a folder is renamed after everything in it.
    std::stable_sort(report.renames.begin(), report.renames.end(), [](const Rename &a, const Rename &b) {
        return a.from.count(QLatin1Char('/')) > b.from.count(QLatin1Char('/'));
    });
    return true;
}

bool Checker::readSongs()
{
    ctx.progress.setStatus(ctx.translate("healthcheck", "Checking the library: reading the songs..."));
    ctx.progress.setMaximum(songs.size());
    const SongTitleReader &reader = titles;
    for (int from = 0; from < songs.size(); from += kChunk) {
        if (stopped())
            return false;
        const auto first = songs.begin() + from;
        QtConcurrent::blockingMap(first, first + qMin(kChunk, songs.size() - from), [&reader](Song &song) { readSong(song, reader); });
        ctx.progress.setValue(qMin(from + kChunk, songs.size()));
    }
    for (const Song &song : songs) {
        report.songBytes += song.size;
        if (!song.readable) {
            report.finding(Kind::UnreadableTitle).items << song.relative;
            continue;
        }
        if (song.size == 0) {
            report.finding(Kind::EmptySong).items << song.relative;
            continue;
        }
        if (song.damage != songcheck::Damage::None) {
            const bool midi = song.damage == songcheck::Damage::BadMidiHeader || song.damage == songcheck::Damage::TrackPastEnd;
            report.finding(midi ? Kind::DamagedMidi : Kind::DamagedMp3).items
                << song.relative + QStringLiteral(" (") + songcheck::damageName(song.damage) + QLatin1Char(')');
        }
        if (!song.titled)
            report.finding(Kind::UnreadableTitle).items << song.relative;
    }
    report.songs = songs.size();
    return true;
}

void Checker::findDuplicates()
{
    // Songs that share their size and their quick hash; those not read whole are hashed whole now.
    const auto groups = [this](const QVector<int> &among) {
        std::map<std::pair<qint64, QByteArray>, QVector<int>> sets;
        for (int i : among)
            if (songs.at(i).size > 0 && songs.at(i).readable && !songs.at(i).hash.isEmpty())
                sets[{songs.at(i).size, songs.at(i).hash}] << i;
        return sets;
    };
    QVector<int> all(songs.size());
    std::iota(all.begin(), all.end(), 0);
    QVector<int> toHash, candidates;
    for (const auto &set : groups(all)) {
        if (set.second.size() < 2)
            continue;
        candidates << set.second;
        if (!songs.at(set.second.first()).wholeHash)
            toHash << set.second;
    }
    QtConcurrent::blockingMap(toHash, [this](int i) { songs[i].hash = contentHash(songs.at(i).absolute); });
    Finding &finding = report.finding(Kind::Duplicate);
    for (const auto &set : groups(candidates)) {
        if (set.second.size() < 2)
            continue;
        QStringList paths;
        for (int i : set.second)
            paths << songs.at(i).relative;
        std::sort(paths.begin(), paths.end());
        const int index = report.duplicates.size();
        for (int i : set.second)
            duplicateSetOf.insert(i, index);
        report.duplicates << DuplicateSet{set.first.first, paths};
        finding.items << paths.join(QStringLiteral(" = "));
        finding.bytes += set.first.first * (paths.size() - 1);
    }
}

void Checker::checkPlaylists()
{
    const QString root = ctx.driveRoot;
    Finding &finding = report.finding(Kind::DeadLine);
    for (const QString &playlist : playlists::playlistFiles(root)) {
        QFile in(playlist);
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = in.readAll().split('\n');
        const QString shown = QFileInfo(playlist).fileName();
        for (int i = 0; i < lines.size(); ++i) {
            const PlaylistLine line = PlaylistLine::parse(lines.at(i));
            if (!line.isSong || line.resolves(filesByPath))
                continue;
            DeadLine dead{playlist, i + 1, line.song()};
            const QVector<int> same = songsByName.value(folded(dead.song.section(QLatin1Char('/'), -1)));
            // The same song elsewhere: one file of that name, or several with the same bytes.
            bool oneSong = !same.isEmpty();
            for (int s : same)
                oneSong = oneSong && duplicateSetOf.contains(s) && duplicateSetOf.value(s) == duplicateSetOf.value(same.first());
            if (same.size() == 1 || oneSong) {
                dead.foundAt = songs.at(same.first()).relative;
                if (same.size() > 1)
                    dead.foundAt = report.duplicates.at(duplicateSetOf.value(same.first())).paths.first();
            } else {
                for (int s : same)
                    dead.candidates << songs.at(s).relative;
            }
            QString item = QStringLiteral("%1:%2: %3").arg(shown).arg(dead.line).arg(dead.song);
            if (!dead.foundAt.isEmpty())
                item += QStringLiteral(" -> ") + dead.foundAt;
            else if (!dead.candidates.isEmpty())
                item += QStringLiteral(" ? ") + dead.candidates.join(QStringLiteral(" | "));
            finding.items << item;
            report.deadLines << dead;
        }
    }
}

void Checker::tally(const QString &packagePath)
{
    QMap<QString, SpaceRow> folders;
    QMap<QString, SpaceRow> kinds;
    for (const Song &song : qAsConst(songs)) {
        const QString top = song.relative.contains(QLatin1Char('/')) ? song.relative.section(QLatin1Char('/'), 0, 0) : QString();
        const QString kind = song.relative.section(QLatin1Char('.'), -1).toLower();
        for (auto *row : {&folders[top], &kinds[kind]}) {
            ++row->songs;
            row->bytes += song.size;
        }
        folders[top].name = top;
        kinds[kind].name = kind;
    }
    const auto largestFirst = [](const SpaceRow &a, const SpaceRow &b) { return a.bytes > b.bytes; };
    report.byFolder = folders.values().toVector();
    report.byKind = kinds.values().toVector();
    std::stable_sort(report.byFolder.begin(), report.byFolder.end(), largestFirst);
    std::stable_sort(report.byKind.begin(), report.byKind.end(), largestFirst);

    const QStorageInfo volume(ctx.driveRoot);
    report.freeBytes = volume.isValid() ? volume.bytesAvailable() : -1;
    const QFileInfo package(packagePath);
    report.packageBytes = !packagePath.isEmpty() && package.isFile() ? package.size() : -1;
    if (report.freeBytes >= 0 && report.packageBytes > report.freeBytes)
        report.finding(Kind::LowSpace).items << ctx.translate("healthcheck", "%1 free, the system package takes %2")
                                                    .arg(sizeText(report.freeBytes), sizeText(report.packageBytes));
}

} // namespace

Report check(OperationContext &ctx, const QString &packagePath)
{
    Report report;
    if (ctx.driveRoot.isEmpty())
        return report;
    Checker checker(ctx, report);
    if (!checker.walk() || !checker.readSongs())
        return report;
    checker.findDuplicates();
    checker.checkPlaylists();
    checker.tally(packagePath);
    report.complete = !ctx.state.stopRequested;
    ctx.progress.setValue(ctx.progress.maximum());
    return report;
}

} // namespace health
