#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

// One playlist line as the health check reads it: "\sdmemory\" + path + "^"-separated fields.
// File names may hold a "^" too, so the path may end at any "^" or at the line's end.
struct PlaylistLine {
    bool isSong = false;
    QString rest;          // after "\sdmemory\", "/" separators, fields included
    QVector<int> ends;     // where the path may end in rest

    static PlaylistLine parse(QByteArray raw)
    {
        PlaylistLine line;
        while (raw.endsWith('\n') || raw.endsWith('\r'))
            raw.chop(1);
        static const QByteArray prefix = QByteArrayLiteral("\\sdmemory\\");
        if (raw.size() <= prefix.size() || raw.left(prefix.size()).toLower().replace('/', '\\') != prefix)
            return line;
        line.isSong = true;
        line.rest = QString::fromUtf8(raw.mid(prefix.size())).replace(QLatin1Char('\\'), QLatin1Char('/'));
        for (int i = 0; i < line.rest.size(); ++i)
            if (line.rest.at(i) == QLatin1Char('^'))
                line.ends << i;
        line.ends << line.rest.size();
        return line;
    }
    // The path up to the first "^": what the line names when it names nothing there.
    QString song() const { return rest.left(ends.value(0)); }
    // True when some reading of the path names a file: files maps folded paths below the root.
    template <typename T>
    bool resolves(const QHash<QString, T> &files) const
    {
        for (int end : ends)
            if (files.contains(rest.left(end).toCaseFolded()))
                return true;
        return false;
    }
};
