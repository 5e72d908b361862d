// The playlist line rules over arbitrary playlist text and arbitrary paths. Input layout: one
// byte choosing the kinds of two rules, then old path, new path, old path, new path, each ended
// by a zero byte, then the text.
#include "optimise/playlists.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

int lineCount(const QByteArray &text)
{
    return text.isEmpty() ? 0 : text.count('\n') + (text.endsWith('\n') ? 0 : 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    const QList<QByteArray> parts = input.split('\0');
    if (parts.size() < 5)
        return 0;
    const QString oldPath = QString::fromUtf8(parts.at(0));
    const QString newPath = QString::fromUtf8(parts.at(1));
    int used = 0;
    for (int i = 0; i < 4; ++i)
        used += parts.at(i).size() + 1;
    const QByteArray text = input.mid(used);

    // Any path: below the root or a null string, never a path that reaches outside it.
    const QString root = QStringLiteral("/media/u/CORVEL3/");
    const QString relative = playlists::relativeToRoot(root, root + oldPath);
    check(relative.isNull() || (root + relative == root + oldPath && !relative.isEmpty()));
    check(playlists::relativeToRoot(root, oldPath).isNull() || oldPath.startsWith(root, Qt::CaseInsensitive));

    const playlists::LineRule rule{(data[0] & 1) ? playlists::LineRule::Folder : playlists::LineRule::Song,
                                   oldPath, newPath};
    const QByteArray out = playlists::rewriteText(text, rule);
    // One line out for every line in, every separator the player's, and nothing from the old
    // line kept when a song line is replaced.
    check(lineCount(out) == lineCount(text));
    check(!out.contains('/'));
    check(text.isEmpty() == out.isEmpty());
    // Only the lines naming the old place change: a song rule gives each changed line the new
    // path whole; a line whose path (up to a "^") names nothing else keeps its bytes.
    {
        const QList<QByteArray> in = QByteArray(text).replace('\\', '/').split('\n');
        const QList<QByteArray> outLines = out.split('\n');
        const QByteArray moved = QByteArray("\\sdmemory\\" + newPath.toUtf8()).replace('/', '\\') + "^0^32767\r";
        for (int i = 0; i < in.size() && i < outLines.size(); ++i) {
            const QByteArray before = QByteArray(in.at(i)).replace('/', '\\');
            if (outLines.at(i) == before || (outLines.at(i) + '\r' == before))
                continue;
            if (rule.kind == playlists::LineRule::Song)
                check(outLines.at(i) == moved);
            check(in.at(i).toLower().startsWith("/sdmemory/"));
        }
    }
    // Rewriting again with nothing to match changes nothing further.
    const playlists::LineRule none{rule.kind, QStringLiteral("\x01no such path\x01"), newPath};
    check(playlists::rewriteText(out, none) == out);

    // Two rules in one pass give what two passes give.
    const playlists::LineRule second{(data[0] & 2) ? playlists::LineRule::Folder : playlists::LineRule::Song,
                                     QString::fromUtf8(parts.at(2)), QString::fromUtf8(parts.at(3))};
    check(playlists::rewriteText(text, QVector<playlists::LineRule>{rule, second})
          == playlists::rewriteText(out, second));
    return 0;
}
