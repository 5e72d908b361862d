#include "update/swapjournal.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "device/platform.h"

const char SwapJournal::kName[] = ".corvel3-swap.journal";
const char SwapJournal::kWritingName[] = ".corvel3-swap.journal.new";

namespace {

const QByteArray header = QByteArrayLiteral("corvel3 swap journal 1");

QByteArray encoded(const QString &path) { return QUrl::toPercentEncoding(path, "/ "); }
QString decoded(const QByteArray &field) { return QUrl::fromPercentEncoding(field); }

bool present(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A relative path that stays below the drive root.
bool safeRelative(const QString &path)
{
    return !path.isEmpty() && !path.startsWith(QLatin1Char('/')) && !path.contains(QLatin1Char('\\'))
           && !path.contains(QLatin1Char(':')) && !path.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

} // namespace

bool SwapJournal::write(const QString &driveRoot) const
{
    QByteArray text = header + '\n';
    text += "aside\t" + encoded(aside) + '\n';
    text += "staging\t" + encoded(staging) + '\n';
    for (const Rename &rename : renames)
        text += "rename\t" + encoded(rename.from) + '\t' + encoded(rename.to) + '\n';
    for (const File &file : files)
        text += "file\t" + encoded(file.path) + '\t' + QByteArray::number(file.size) + '\n';
    // Read back, a journal without its last line was cut short.
    text += "end\n";

    const QString writing = driveRoot + QLatin1String(kWritingName);
    QFile out(writing);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = out.write(text) == text.size() && out.flush() && platform::syncFile(out);
    out.close();
    if (!written || !platform::moveNoReplace(writing, path(driveRoot))) {
        QFile::remove(writing);
        return false;
    }
    // The rename itself must be on the disk before the first entry moves.
    return platform::syncFolder(driveRoot) || platform::flushToDevice({path(driveRoot)}, driveRoot);
}

bool SwapJournal::read(const QString &driveRoot)
{
    QFile in(path(driveRoot));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = in.readAll().split('\n');
    *this = SwapJournal();
    if (lines.size() < 4 || lines.first() != header)
        return false;
    bool ended = false;
    for (int i = 1; i < lines.size() && !ended; ++i) {
        const QList<QByteArray> fields = lines.at(i).split('\t');
        const QByteArray &key = fields.first();
        if (key == "end" && fields.size() == 1) {
            ended = true;
        } else if (key == "aside" && fields.size() == 2) {
            aside = decoded(fields.at(1));
        } else if (key == "staging" && fields.size() == 2) {
            staging = decoded(fields.at(1));
        } else if (key == "rename" && fields.size() == 3) {
            renames << Rename{decoded(fields.at(1)), decoded(fields.at(2))};
        } else if (key == "file" && fields.size() == 3) {
            bool number = false;
            files << File{decoded(fields.at(1)), fields.at(2).toLongLong(&number)};
            if (!number)
                return false;
        } else {
            return false;
        }
    }
    // Only the tool's own folders and the root entries renamed through them: a damaged journal
    // must not send a song folder aside, where the clean-up would delete it.
    bool safe = ended && safeRelative(aside) && safeRelative(staging) && !aside.contains(QLatin1Char('/'))
                && !staging.contains(QLatin1Char('/')) && aside.startsWith(QLatin1String(".corvel3-"))
                && staging.startsWith(QLatin1String(".corvel3-")) && !renames.isEmpty();
    for (const Rename &rename : renames) {
        const bool goingAside = rename.to == aside + QLatin1Char('/') + rename.from;
        const bool placing = rename.from == staging + QLatin1Char('/') + rename.to;
        const QString name = goingAside ? rename.from : rename.to;
        safe = safe && (goingAside || placing) && safeRelative(name) && !name.contains(QLatin1Char('/'));
    }
    for (const File &file : files)
        safe = safe && safeRelative(file.path);
    return safe;
}

bool SwapJournal::done(const QString &driveRoot, int index) const
{
    const Rename &rename = renames.at(index);
    return !present(driveRoot + rename.from) && present(driveRoot + rename.to);
}

bool SwapJournal::exists(const QString &driveRoot)
{
    return present(path(driveRoot));
}

bool SwapJournal::remove(const QString &driveRoot)
{
    QFile::remove(driveRoot + QLatin1String(kWritingName));
    if (exists(driveRoot) && !QFile::remove(path(driveRoot)))
        return false;
    platform::syncFolder(driveRoot);
    return true;
}
