// Folder split speed: splitting a generated folder of songs with its playlists, against plainly
// moving the same files into the same groups with mv, in the same run, at several sizes.
//
//   bench_split [songs...]   default: 2500 10000 50000; 20 playlists of 500 lines each
//
// For each size two identical drives are generated: one is split with its playlists (journal,
// operation log and all), and on the other the files the split moved are moved with mv into the
// same group folders, one mv per group. The growth factor between sizes and the peak memory of
// each split are printed; up to 10,000 songs the figures are the medians of three runs.
#include "optimise/foldersplit.h"
#include "tests/common/drivefixture.h"
#include "bench/memory.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const QStringList songExtensions{".mp3", ".midi", ".mid", ".mf3", ".mf4", ".mf5", ".kar"};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The same drive every time: songs of every kind with titles over all initials, some companions,
// and playlists naming songs of the folder (in mixed case) and elsewhere.
void makeDrive(const QString &root, int songs, int playlistCount, int lines)
{
    static const char *const words[] = {"Amore", "Volare", "Azzurro", "Nel blu", "Caffè", "Estate", "Mare",
                                        "Città", "Notte", "Zucchero", "1999", "Bella", "Gloria", "Étoile",
                                        "Kiss", "Ragazzo", "Sole", "Tu", "Unica", "' 68"};
    QRandomGenerator random(20240501);
    QStringList names;
    bool ok = true;
    for (int i = 0; i < songs; ++i) {
        const QString title = QString::fromUtf8(words[random.bounded(20)]) + QStringLiteral(" %1").arg(i);
        const QString base = root + QStringLiteral("Songs/%1").arg(i, 5, 10, QLatin1Char('0'));
        QString file;
        switch (i % 3) {
        case 0:
            file = base + ".mp3";
            ok = ok && writeFile(file, DriveFixture::mp3Bytes(title, 400));
            if (i % 9 == 0)
                ok = ok && writeFile(base + ".cdg", QByteArray(3000, 'g'));
            break;
        case 1:
            file = base + ".mid";
            ok = ok && writeFile(file, DriveFixture::midiBytes(title));
            break;
        default:
            file = base + ".kar";
            ok = ok && writeFile(file, DriveFixture::karaokeBytes(title));
            break;
        }
        if (i % 10 == 0)
            ok = ok && writeFile(file + ".bak", "backup");
        names << QFileInfo(file).fileName();
    }
    for (int p = 0; p < playlistCount; ++p) {
        QByteArray text;
        for (int l = 0; l < lines; ++l) {
            const QString name = names.at(random.bounded(names.size()));
            const QString folder = l % 10 == 9 ? QStringLiteral("Other") : QStringLiteral("Songs");
            text += ("\\sdmemory\\" + folder + "\\" + (l % 4 ? name : name.toUpper()) + "^0^32767\r\n").toUtf8();
        }
        ok = ok && writeFile(root + QStringLiteral("System/Playlist/List%1.pls").arg(p), text);
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write the drive in %s\n", qPrintable(root));
        std::exit(1);
    }
}

qint64 timeSplit(const QString &root)
{
    LibraryScanState scan;
    scan.libraryDevicePath = root;
    scan.songExtensions = songExtensions;
    scan.oversizedFolders = {QFileInfo(root + "Songs")};
    scan.oversizedFoldersText = root + "Songs\n";
    SongTitleReader titles(songExtensions);
    SplitState state;
    OperationState opState;
    opState.currentLanguage = 1;
    ScriptedDialogs dialogs;
    for (int i = 0; i < 3; ++i)
        dialogs.answer("Ok");
    RecordingProgress progress;
    OperationContext ctx{opState, dialogs, progress, nullptr, {}};
    ctx.operationName = QStringLiteral("optimise");
    FolderSplit split(ctx, scan, titles, state);
    QElapsedTimer clock;
    clock.start();
    split.splitFoldersByTitle();
    return clock.elapsed();
}

// Where each file of Songs went: group -> file names.
QMap<QString, QStringList> placement(const QString &songs)
{
    QMap<QString, QStringList> groups;
    QDirIterator it(songs, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = it.next().mid(songs.size() + 1);
        if (rel.contains('/'))
            groups[rel.section('/', 0, 0)] << rel.section('/', 1);
    }
    return groups;
}

qint64 timeMv(const QString &songs, const QMap<QString, QStringList> &groups)
{
    QElapsedTimer clock;
    clock.start();
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        QDir(songs).mkdir(it.key());
        QProcess mv;
        mv.setWorkingDirectory(songs);
        mv.start(QStringLiteral("mv"), QStringList{QStringLiteral("-n"), QStringLiteral("-t"), it.key()} + it.value());
        if (!mv.waitForFinished(120000) || mv.exitCode() != 0) {
            std::fprintf(stderr, "mv failed: %s\n", mv.readAllStandardError().constData());
            std::exit(1);
        }
    }
    return clock.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);   // the journal and the log go to a scratch folder
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << std::atoi(argv[i]);
    if (sizes.isEmpty())
        sizes = {2500, 10000, 50000};
    const int playlistCount = 20, lines = 500;

    qint64 previous = 0;
    int previousSongs = 0;
    for (int songs : sizes) {
        // Medians of three runs up to 10,000 songs: a run of a tenth of a second swings with the
        // disk's other work. Larger sizes run once.
        const int runs = songs <= 10000 ? 3 : 1;
        QList<qint64> splits, mvs;
        long peak = 0;
        int moved = 0, groupCount = 0;
        for (int run = 0; run < runs; ++run) {
            QTemporaryDir withPlaylists, plain;
            if (!withPlaylists.isValid() || !plain.isValid())
                return 1;
            const QString a = withPlaylists.path() + "/", c = plain.path() + "/";
            makeDrive(a, songs, playlistCount, lines);
            makeDrive(c, songs, 0, 0);
            benchmemory::resetPeak();
            splits << timeSplit(a);
            peak = std::max(peak, benchmemory::peakKiB());
            const QMap<QString, QStringList> groups = placement(a + "Songs");
            moved = 0;
            for (const QStringList &files : groups)
                moved += files.size();
            groupCount = int(groups.size());
            mvs << timeMv(c + "Songs", groups);
        }
        std::sort(splits.begin(), splits.end());
        std::sort(mvs.begin(), mvs.end());
        const qint64 split = splits.at(runs / 2), mv = mvs.at(runs / 2);
        std::printf("songs %6d, %d playlists x %d lines: %d files moved into %d groups%s\n", songs, playlistCount, lines,
                    moved, groupCount, runs > 1 ? " (medians of 3 runs)" : "");
        std::printf("  split %7lld ms   mv %6lld ms   split/mv  %5.2f   peak %ld MiB", split, mv,
                    mv > 0 ? double(split) / double(mv) : 0.0, peak / 1024);
        if (previous > 0)
            std::printf("   %.1fx the songs: %.2fx the time", double(songs) / previousSongs, double(split) / double(previous));
        std::printf("\n");
        std::fflush(stdout);
        previous = split;
        previousSongs = songs;
    }
    return 0;
}
