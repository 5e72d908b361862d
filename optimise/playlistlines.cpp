#include "optimise/playlists.h"

#include <vector>

#include <QDir>

// The line rules alone, free of files, so that the fuzz target can reach them.
namespace playlists {

namespace {

// Lines are worked on with "/" separators and turned back to the player's "\\" at the end.
const QByteArray deviceRootName = QByteArrayLiteral("/sdmemory/");
const QByteArray movedSongFields = QByteArrayLiteral("^0^32767\r\n");

bool isAscii(const char *data, int size)
{
    for (int i = 0; i < size; ++i)
        if (uchar(data[i]) >= 0x80)
            return false;
    return true;
}

QByteArray asciiLowered(QByteArray bytes)
{
    for (char &c : bytes)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return bytes;
}

// Finds the needle in haystack lines without a search per line: the next hit at or after a
// line's start is kept, and a line contains the needle when that hit lies wholly inside it
// (a needle never holds a line break, so no hit spans two lines).
class HitCursor {
public:
    HitCursor(const QByteArray &haystack, const QByteArray &needle) : haystack(haystack), needle(needle) {}
    int inLine(int start, int end)
    {
        if (next != -1 && next < start)
            next = haystack.indexOf(needle, start);
        if (next == -1 || next + needle.size() > end)
            return -1;
        return next;
    }

private:
    const QByteArray &haystack;
    const QByteArray &needle;
    int next = -2;   // below every start: searched on first use
};

} // namespace

QString relativeToRoot(const QString &deviceRoot, const QString &path)
{
    QString root = QDir::fromNativeSeparators(deviceRoot);
    if (root.isEmpty())
        return QString();
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QString full = QDir::fromNativeSeparators(path);
    // Drive letters come in either case; a mount point is the same string either way.
    if (!full.startsWith(root, Qt::CaseInsensitive) || full.size() == root.size())
        return QString();
    return full.mid(root.size());
}

namespace {

// One rule made ready for a whole text.
struct PreparedRule {
    bool song = true;
    bool usable = false;
    QByteArray needle;          // "/" + old path (+ "/" for a folder), UTF-8
    QByteArray newPath;
    QString songNeedle;         // the needle as text, for matching without regard to case
    bool asciiNeedle = false;
    QByteArray loweredNeedle;
};

PreparedRule prepare(const LineRule &rule)
{
    PreparedRule p;
    // A path that is empty or holds a line break cannot be written as one playlist line.
    const auto writable = [](const QString &path) {
        return !path.isEmpty() && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r'));
    };
    p.usable = writable(rule.oldRelative) && writable(rule.newRelative);
    p.song = rule.kind == LineRule::Song;
    // A leading "/" keeps a song or folder from matching inside a longer name before it; a
    // trailing "/" keeps a folder from matching a sibling whose name merely starts alike.
    p.needle = '/' + rule.oldRelative.toUtf8();
    if (!p.song)
        p.needle += '/';
    // In the "/" form the lines are worked in: a later rule of the same pass then sees the new
    // path exactly as a later pass would.
    p.newPath = rule.newRelative.toUtf8().replace('\\', '/');
    p.songNeedle = QString::fromUtf8(p.needle.constData(), p.needle.size());
    p.asciiNeedle = isAscii(p.needle.constData(), p.needle.size());
    p.loweredNeedle = asciiLowered(p.needle);
    return p;
}

// The line as the rule rewrites it: songs are replaced whole, fields and all; a folder keeps the
// rest of the line after it (file name, fields, line end).
QByteArray rewrittenSongLine(const PreparedRule &p)
{
    return deviceRootName + p.newPath + movedSongFields;
}
QByteArray rewrittenFolderLine(const PreparedRule &p, const char *rest, int restLength)
{
    return deviceRootName + p.newPath + '/' + QByteArray(rest, restLength);
}

// Applies p to a line already rewritten by an earlier rule of the same pass.
bool applyDirectly(QByteArray &line, const PreparedRule &p)
{
    if (p.song) {
        // The length given: a bare QByteArray would stop at a zero byte inside the line.
        if (!QString::fromUtf8(line.constData(), line.size()).contains(p.songNeedle, Qt::CaseInsensitive))
            return false;
        line = rewrittenSongLine(p);
        return true;
    }
    const int at = line.indexOf(p.needle);
    if (at < 0)
        return false;
    line = rewrittenFolderLine(p, line.constData() + at + p.needle.size(), line.size() - at - p.needle.size());
    return true;
}

} // namespace

QByteArray rewriteText(const QByteArray &text, const LineRule &rule)
{
    return rewriteText(text, QVector<LineRule>{rule});
}

QByteArray rewriteText(const QByteArray &text, const QVector<LineRule> &rules)
{
    QByteArray slashed = text;
    slashed.replace('\\', '/');

    QVector<PreparedRule> prepared;
    bool asciiSongs = false;
    for (const LineRule &rule : rules) {
        prepared << prepare(rule);
        asciiSongs = asciiSongs || (prepared.last().song && prepared.last().asciiNeedle);
    }
    // Songs match without regard to case, as QString compares. Where both the needle and a line
    // are plain ASCII, comparing lower-cased bytes gives the same answer without decoding.
    // Folders match with regard to case: the needle is valid UTF-8, so a byte search finds
    // exactly what a character search would.
    const QByteArray lowered = asciiSongs ? asciiLowered(slashed) : QByteArray();
    std::vector<HitCursor> cursors;
    cursors.reserve(size_t(prepared.size()));
    for (const PreparedRule &p : prepared)
        cursors.emplace_back(p.song ? lowered : slashed, p.song ? p.loweredNeedle : p.needle);

    QByteArray out;
    out.reserve(slashed.size() + 64);
    int start = 0;
    while (start < slashed.size()) {
        int end = slashed.indexOf('\n', start);
        end = end < 0 ? slashed.size() : end + 1;
        const char *line = slashed.constData() + start;
        const int length = end - start;
        const bool asciiLine = isAscii(line, length);
        QString decoded;
        QByteArray current;
        bool modified = false;
        // The rules in the order they were made: each sees the line as the earlier ones left it.
        for (int k = 0; k < prepared.size(); ++k) {
            const PreparedRule &p = prepared.at(k);
            if (!p.usable)
                continue;
            if (modified) {
                applyDirectly(current, p);
                continue;
            }
            if (p.song) {
                bool matched;
                if (p.asciiNeedle && asciiLine) {
                    matched = cursors[size_t(k)].inLine(start, end) >= 0;
                } else {
                    if (decoded.isNull())
                        decoded = QString::fromUtf8(line, length);
                    matched = decoded.contains(p.songNeedle, Qt::CaseInsensitive);
                }
                if (matched) {
                    current = rewrittenSongLine(p);
                    modified = true;
                }
            } else {
                const int at = cursors[size_t(k)].inLine(start, end);
                if (at >= 0) {
                    const int restStart = at + p.needle.size();
                    current = rewrittenFolderLine(p, slashed.constData() + restStart, end - restStart);
                    modified = true;
                }
            }
        }
        if (modified)
            out += current;
        else
            out.append(line, length);
        start = end;
    }
    return out.replace('/', '\\');
}

} // namespace playlists
