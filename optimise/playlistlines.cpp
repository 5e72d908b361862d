#include "optimise/playlists.h"

#include <climits>

#include <QDir>

// The line rules alone, free of files, so that the fuzz target can reach them.
namespace playlists {

namespace {

// Lines are worked on with "/" separators and turned back to the player's "\\" at the end.
const QByteArray deviceRootName = QByteArrayLiteral("/sdmemory/");
const QByteArray movedSongFields = QByteArrayLiteral("^0^32767");

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

// The key a path is looked up by: case folded, so that names match as the player's disk
// compares them. Plain ASCII, the usual case, is folded without decoding.
QByteArray foldedKey(const char *data, int size)
{
    if (isAscii(data, size))
        return asciiLowered(QByteArray(data, size));
    return QString::fromUtf8(data, size).toCaseFolded().toUtf8();
}

bool writable(const QString &path)
{
    // A path that is empty or holds a line break cannot be written as one playlist line.
    return !path.isEmpty() && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r'));
}

} // namespace

// The rules as maps from the folded old path to the indices of the rules, in their order.
struct RuleIndex {
    QHash<QByteArray, QVector<int>> songs;
    QHash<QByteArray, QVector<int>> folders;
    QVector<QByteArray> newPaths;

    explicit RuleIndex(const QVector<LineRule> &rules)
    {
        newPaths.reserve(rules.size());
        for (int i = 0; i < rules.size(); ++i) {
            const LineRule &rule = rules.at(i);
            QByteArray newPath = rule.newRelative.toUtf8().replace('\\', '/');
            QByteArray oldPath = rule.oldRelative.toUtf8().replace('\\', '/');
            newPaths << newPath;
            if (!writable(rule.oldRelative) || !writable(rule.newRelative))
                continue;
            (rule.kind == LineRule::Song ? songs : folders)[foldedKey(oldPath.constData(), oldPath.size())] << i;
        }
    }

    // The first rule after `after` among those of key, or INT_MAX.
    static int firstAfter(const QHash<QByteArray, QVector<int>> &map, const QByteArray &key, int after)
    {
        const auto it = map.constFind(key);
        if (it == map.constEnd())
            return INT_MAX;
        for (int index : *it)
            if (index > after)
                return index;
        return INT_MAX;
    }
};

namespace {

// One line without its line end, rewritten by every rule that reaches it; false when none did.
// lowered: the same line with ASCII letters in lower case, for lookups without copying.
bool rewriteLine(QByteArray &content, QByteArray &ending, const char *lowered, const RuleIndex &index)
{
    const int p = deviceRootName.size();
    if (content.size() < p || QByteArray::fromRawData(lowered, p) != deviceRootName)
        return false;
    bool changed = false;
    int after = -1;
    QByteArray ownLowered;   // once the line changes, its own lowered copy
    bool ascii = isAscii(content.constData(), content.size());
    // The key of content[p, end): a view of the lowered text where no folding is needed.
    const auto key = [&](int end) {
        if (!ascii)
            return foldedKey(content.constData() + p, end - p);
        return QByteArray::fromRawData(lowered + p, end - p);
    };
    for (;;) {
        int best = INT_MAX;
        int bestEnd = -1;
        bool bestIsSong = true;
        // A song's path ends at a "^" (file names may hold one too) or at the line's end.
        if (!index.songs.isEmpty()) {
            for (int end = p; end <= content.size(); ++end) {
                if (end < content.size() && content.at(end) != '^')
                    continue;
                const int found = RuleIndex::firstAfter(index.songs, key(end), after);
                if (found < best) {
                    best = found;
                    bestEnd = end;
                    bestIsSong = true;
                }
            }
        }
        if (!index.folders.isEmpty()) {
            for (int slash = p + 1; slash < content.size(); ++slash) {
                if (content.at(slash) != '/')
                    continue;
                const int found = RuleIndex::firstAfter(index.folders, key(slash), after);
                if (found < best) {
                    best = found;
                    bestEnd = slash;
                    bestIsSong = false;
                }
            }
        }
        if (best == INT_MAX)
            break;
        if (bestIsSong) {
            content = deviceRootName + index.newPaths.at(best) + movedSongFields;
            ending = QByteArrayLiteral("\r\n");
        } else {
            content = deviceRootName + index.newPaths.at(best) + content.mid(bestEnd);
        }
        after = best;
        changed = true;
        ascii = isAscii(content.constData(), content.size());
        if (ascii) {
            ownLowered = asciiLowered(content);
            lowered = ownLowered.constData();
        }
    }
    return changed;
}

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

QByteArray rewriteText(const QByteArray &text, const LineRule &rule)
{
    return rewriteText(text, QVector<LineRule>{rule});
}

QByteArray rewriteText(const QByteArray &text, const QVector<LineRule> &rules)
{
    return CompiledRules(rules).rewrite(text);
}

CompiledRules::CompiledRules(const QVector<LineRule> &rules) : index(new RuleIndex(rules)) {}

CompiledRules::~CompiledRules() = default;

QByteArray CompiledRules::rewrite(const QByteArray &text) const
{
    QByteArray slashed = text;
    slashed.replace('\\', '/');
    const QByteArray lowered = asciiLowered(slashed);

    QByteArray out;
    out.reserve(slashed.size() + 64);
    int start = 0;
    while (start < slashed.size()) {
        int end = slashed.indexOf('\n', start);
        end = end < 0 ? slashed.size() : end + 1;
        int contentEnd = end;
        if (contentEnd > start && slashed.at(contentEnd - 1) == '\n')
            --contentEnd;
        if (contentEnd > start && slashed.at(contentEnd - 1) == '\r')
            --contentEnd;
        // Views of the text: a line is copied only when a rule rewrites it.
        QByteArray content = QByteArray::fromRawData(slashed.constData() + start, contentEnd - start);
        QByteArray ending = QByteArray::fromRawData(slashed.constData() + contentEnd, end - contentEnd);
        if (rewriteLine(content, ending, lowered.constData() + start, *index))
            out += content + ending;
        else
            out.append(slashed.constData() + start, end - start);
        start = end;
    }
    return out.replace('/', '\\');
}

} // namespace playlists
