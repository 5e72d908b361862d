#include "optimise/splitjournal.h"

#include "device/platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QByteArray header = QByteArrayLiteral("corvel3 split journal 2\n");
// An earlier version's journal in the user's data folder: a root line, then absolute paths.
const QByteArray legacyHeader = QByteArrayLiteral("corvel3 split journal 1\n");

QByteArray encoded(const QString &path) { return QUrl::toPercentEncoding(path, "/ "); }
QString decoded(const QByteArray &field) { return QUrl::fromPercentEncoding(field); }

QString joined(const QString &root, const QString &relative)
{
    return root.endsWith(QLatin1Char('/')) ? root + relative : root + QLatin1Char('/') + relative;
}

// The entries after the last "done" of a journal's lines, as rules below deviceRoot.
// legacy: paths are absolute and must lie below the root the journal names.
QVector<playlists::LineRule> openEntries(const QList<QByteArray> &lines, const QString &deviceRoot, bool legacy)
{
    QVector<playlists::LineRule> open;
    const auto relative = [&](const QByteArray &field) {
        const QString path = decoded(field);
        return legacy ? playlists::relativeToRoot(deviceRoot, path) : path;
    };
    for (int i = legacy ? 2 : 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines.at(i).split('\t');
        if (fields.at(0) == "done") {
            open.clear();
        } else if (fields.size() == 3 && (fields.at(0) == "move" || fields.at(0) == "rename")) {
            const auto kind = fields.at(0) == "move" ? playlists::LineRule::Song : playlists::LineRule::Folder;
            const playlists::LineRule rule{kind, relative(fields.at(1)), relative(fields.at(2))};
            // A torn last line, or a path that is not the drive's, says nothing usable.
            if (!rule.oldRelative.isEmpty() && !rule.newRelative.isEmpty() && !rule.oldRelative.startsWith(QLatin1Char('/')))
                open << rule;
        }
    }
    return open;
}

// path, below the folders that later entries renamed (those that took place).
QString followed(QString path, const QVector<playlists::LineRule> &laterRenames)
{
    for (const playlists::LineRule &rename : laterRenames) {
        const QString prefix = rename.oldRelative + QLatin1Char('/');
        if (path.compare(rename.oldRelative, Qt::CaseInsensitive) == 0)
            path = rename.newRelative;
        else if (path.startsWith(prefix, Qt::CaseInsensitive))
            path = rename.newRelative + path.mid(rename.oldRelative.size());
    }
    return path;
}

// Of the open entries, those that took place. A song moved into a group that was renamed
// afterwards is looked for under the group's new name.
QVector<playlists::LineRule> tookPlace(const QVector<playlists::LineRule> &open, const QString &deviceRoot)
{
    QVector<bool> taken(open.size(), false);
    QVector<playlists::LineRule> laterRenames;   // in their order
    for (int i = open.size() - 1; i >= 0; --i) {
        const playlists::LineRule &entry = open.at(i);
        const QString from = joined(deviceRoot, followed(entry.oldRelative, laterRenames));
        const QString to = joined(deviceRoot, followed(entry.newRelative, laterRenames));
        taken[i] = !QFileInfo::exists(from) && QFileInfo::exists(to);
        if (taken[i] && entry.kind == playlists::LineRule::Folder)
            laterRenames.prepend(entry);
    }
    QVector<playlists::LineRule> rules;
    for (int i = 0; i < open.size(); ++i)
        if (taken[i])
            rules << open.at(i);
    return rules;
}

enum class Read { Missing, Unreadable, Read };

Read readJournal(const QString &path, QByteArray *text)
{
    if (!QFileInfo::exists(path))
        return Read::Missing;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return Read::Unreadable;
    *text = in.readAll();
    return in.error() == QFileDevice::NoError ? Read::Read : Read::Unreadable;
}

} // namespace

QString SplitJournal::pathFor(const QString &deviceRoot)
{
    return joined(deviceRoot, QStringLiteral(".corvel3-split.journal"));
}

QString SplitJournal::legacyPathFor(const QString &deviceRoot)
{
    const QByteArray id = QCryptographicHash::hash(QDir::cleanPath(deviceRoot).toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/split-")
           + QString::fromLatin1(id.left(16)) + QStringLiteral(".journal");
}

bool SplitJournal::start(const QString &deviceRoot)
{
    file.close();
    root = deviceRoot;
    unmarked = false;
    file.setFileName(pathFor(deviceRoot));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Neither the player's menus nor a backup should show it.
    platform::setHiddenSystem(file.fileName());
    // The new entry in the root folder reaches the disk too, not only the file's contents.
    return file.write(header) == header.size() && file.flush() && platform::flushToDevice({file.fileName()}, deviceRoot);
}

bool SplitJournal::plan(const QVector<playlists::LineRule> &entries)
{
    if (!file.isOpen())
        return false;
    QByteArray text;
    for (const playlists::LineRule &entry : entries) {
        const QString from = playlists::relativeToRoot(root, entry.oldRelative);
        const QString to = playlists::relativeToRoot(root, entry.newRelative);
        if (from.isEmpty() || to.isEmpty())
            return false;
        text += (entry.kind == playlists::LineRule::Song ? "move\t" : "rename\t") + encoded(from) + '\t' + encoded(to) + '\n';
    }
    unmarked = unmarked || !entries.isEmpty();
    // On the disk before the first file moves: this is what a later run trusts after a crash or
    // a power cut. A batch's "done" needs no such care: completing a finished batch again
    // rewrites nothing.
    return file.write(text) == text.size() && file.flush() && platform::syncFile(file);
}

bool SplitJournal::markDone()
{
    if (!file.isOpen() || file.write("done\n") != 5 || !file.flush())
        return false;
    unmarked = false;
    return true;
}

void SplitJournal::finish()
{
    if (!file.isOpen())
        return;
    file.close();
    if (!unmarked)
        file.remove();
}

void SplitJournal::discard(const QString &deviceRoot)
{
    QFile::remove(legacyPathFor(deviceRoot));
    QFile::remove(pathFor(deviceRoot));
}

SplitJournal::Unfinished SplitJournal::unfinished(const QString &deviceRoot, QVector<playlists::LineRule> *rules)
{
    rules->clear();
    bool found = false;
    QByteArray text;
    switch (readJournal(legacyPathFor(deviceRoot), &text)) {
    case Read::Unreadable:
        return Unfinished::Unreadable;
    case Read::Read: {
        const QList<QByteArray> lines = text.split('\n');
        // Another drive's journal is not this one's business.
        if (lines.size() >= 2 && lines.at(0) + '\n' == legacyHeader && decoded(lines.at(1).mid(5)) == deviceRoot) {
            *rules << tookPlace(openEntries(lines, deviceRoot, true), deviceRoot);
            found = true;
        }
        break;
    }
    case Read::Missing:
        break;
    }
    switch (readJournal(pathFor(deviceRoot), &text)) {
    case Read::Unreadable:
        return Unfinished::Unreadable;
    case Read::Read: {
        // A journal cut short before its header reached the disk covers no move: nothing moves
        // before the header and the first batch are there.
        const QList<QByteArray> lines = text.split('\n');
        if (lines.at(0) + '\n' == header)
            *rules << tookPlace(openEntries(lines, deviceRoot, false), deviceRoot);
        found = true;
        break;
    }
    case Read::Missing:
        break;
    }
    return found ? Unfinished::Entries : Unfinished::None;
}
