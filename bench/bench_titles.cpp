// Title reading speed: our readers against TagLib on the same song files, in the same run.
//
//   bench_titles [songs per kind, default 1000] [rounds, default 5]
//
// Writes MP3 (ID3v2 TIT2, 64 KB of audio-like bytes), MIDI (track name) and karaoke ("@T") files
// into a temporary folder, then times reading every title, alternating the two readers round by
// round and keeping each one's median. TagLib has no MIDI reader, so the fair ratio is the MP3 one;
// the all-files line shows what each costs over the whole library.
#include "optimise/songtitle.h"
#include "tests/common/drivefixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef CORVEL3_HAVE_TAGLIB
#include <taglib/fileref.h>
#include <taglib/tag.h>
#endif

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Library {
    QStringList mp3;
    QStringList all;
};

bool writeSong(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

Library makeLibrary(const QString &root, int perKind)
{
    static const char *const words[] = {"Amore", "Volare", "Azzurro", "Nel blu", "Caffè",
                                        "Estate", "Mare", "Città", "Notte", "Zucchero"};
    Library lib;
    for (int i = 0; i < perKind; ++i) {
        const QString title = QString::fromUtf8(words[i % 10]) + QStringLiteral(" %1").arg(i);
        const QString base = root + QStringLiteral("/%1").arg(i, 5, 10, QLatin1Char('0'));
        const QString mp3 = base + QStringLiteral(".mp3");
        const QString mid = base + QStringLiteral(".mid");
        const QString kar = base + QStringLiteral(".kar");
        if (!writeSong(mp3, DriveFixture::mp3Bytes(title, 64 * 1024))
            || !writeSong(mid, DriveFixture::midiBytes(title))
            || !writeSong(kar, DriveFixture::karaokeBytes(title))) {
            std::fprintf(stderr, "cannot write songs in %s\n", qPrintable(root));
            std::exit(1);
        }
        lib.mp3 << mp3;
        lib.all << mp3 << mid << kar;
    }
    return lib;
}

// Titles found, and the summed title lengths so the work cannot be optimised away.
struct Pass {
    int found = 0;
    qint64 chars = 0;
};

Pass readOurs(const QStringList &files)
{
    SongTitleReader reader(SongTitleReader::standardSongExtensions());
    Pass pass;
    for (const QString &file : files) {
        if (reader.readSongTitle(QFileInfo(file), false)) {
            ++pass.found;
            pass.chars += reader.songTitle.size();
        }
    }
    return pass;
}

#ifdef CORVEL3_HAVE_TAGLIB
Pass readTagLib(const QStringList &files)
{
    Pass pass;
    for (const QString &file : files) {
        const TagLib::FileRef ref(QFile::encodeName(file).constData(), false);
        if (ref.isNull() || !ref.tag())
            continue;
        const TagLib::String title = ref.tag()->title();
        if (!title.isEmpty()) {
            ++pass.found;
            pass.chars += QString::fromStdWString(title.toWString()).size();
        }
    }
    return pass;
}
#endif

double medianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Timing {
    double ms = 0;
    Pass pass;
};

// Alternates the readers round by round so both see the same cache and machine load.
std::vector<Timing> race(const std::vector<std::function<Pass()>> &readers, int rounds)
{
    std::vector<std::vector<double>> times(readers.size());
    std::vector<Timing> out(readers.size());
    for (size_t r = 0; r < readers.size(); ++r)
        out[r].pass = readers[r]();   // warm-up, and the counts
    for (int round = 0; round < rounds; ++round) {
        for (size_t r = 0; r < readers.size(); ++r) {
            QElapsedTimer timer;
            timer.start();
            readers[r]();
            times[r].push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    for (size_t r = 0; r < readers.size(); ++r)
        out[r].ms = medianMs(times[r]);
    return out;
}

void report(const char *what, int files, const Timing &t)
{
    std::printf("  %-22s %8.1f ms  %7.2f us/file  %5d titles\n", what, t.ms, t.ms * 1000.0 / files,
                t.pass.found);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int perKind = args.size() > 1 ? std::max(1, args[1].toInt()) : 1000;
    const int rounds = args.size() > 2 ? std::max(1, args[2].toInt()) : 5;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    std::printf("Writing %d songs (%d MP3, %d MIDI, %d karaoke) in %s\n", perKind * 3, perKind,
                perKind, perKind, qPrintable(dir.path()));
    const Library lib = makeLibrary(dir.path(), perKind);

    std::vector<std::function<Pass()>> mp3Readers = {[&] { return readOurs(lib.mp3); }};
    std::vector<std::function<Pass()>> allReaders = {[&] { return readOurs(lib.all); }};
#ifdef CORVEL3_HAVE_TAGLIB
    mp3Readers.push_back([&] { return readTagLib(lib.mp3); });
    allReaders.push_back([&] { return readTagLib(lib.all); });
#endif

    std::printf("Median of %d rounds:\n", rounds);
    const std::vector<Timing> mp3 = race(mp3Readers, rounds);
    std::printf(" MP3 files (%d):\n", int(lib.mp3.size()));
    report("our readers", lib.mp3.size(), mp3[0]);
    const std::vector<Timing> all = race(allReaders, rounds);
#ifdef CORVEL3_HAVE_TAGLIB
    report("TagLib", lib.mp3.size(), mp3[1]);
    std::printf(" all files (%d):\n", int(lib.all.size()));
    report("our readers", lib.all.size(), all[0]);
    report("TagLib (no MIDI)", lib.all.size(), all[1]);
    if (mp3[0].pass.found != mp3[1].pass.found || mp3[0].pass.chars != mp3[1].pass.chars)
        std::printf("WARNING: the readers disagree on the MP3 titles\n");
    std::printf("Ratio TagLib / ours, MP3 titles: %.2f (above 1: ours is faster)\n",
                mp3[1].ms / mp3[0].ms);
#else
    std::printf(" all files (%d):\n", int(lib.all.size()));
    report("our readers", lib.all.size(), all[0]);
    std::printf("TagLib not found at build time: no baseline, no ratio.\n");
#endif
    return 0;
}
