#include "health/healthnames.h"

#include <QHash>
#include <QSet>

#include <algorithm>

#include "optimise/libraryscan.h"

namespace names {

namespace {

bool refusedChar(QChar c)
{
    return c.unicode() < 0x20 || QStringLiteral("\"*/:<>?\\|").contains(c);
}

// Base and suffix as the optimisation splits them: the suffix after the last dot.
void split(const QString &name, bool folder, QString *base, QString *suffix)
{
    const int dot = folder ? -1 : name.lastIndexOf(QLatin1Char('.'));
    *base = dot > 0 ? name.left(dot) : name;
    *suffix = dot > 0 ? name.mid(dot) : QString();
}

QString numbered(const QString &name, bool folder, int n)
{
    QString base, suffix;
    split(name, folder, &base, &suffix);
    return base + QStringLiteral(" (%1)").arg(n) + suffix;
}

} // namespace

bool refusedByFat(const QString &name)
{
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return true;
    return std::any_of(name.begin(), name.end(), refusedChar);
}

bool tooLong(const QString &name, bool folder)
{
    QString base, suffix;
    split(name, folder, &base, &suffix);
    return name.size() > kFatNameLimit || (!folder && base.size() > scanrules::kLongBaseName);
}

QString fatName(const QString &name, bool folder)
{
    QString fixed = name;
    for (QChar &c : fixed)
        if (refusedChar(c))
            c = QLatin1Char('_');
    while (fixed.endsWith(QLatin1Char('.')) || fixed.endsWith(QLatin1Char(' ')))
        fixed.chop(1);
    if (fixed.isEmpty())
        fixed = QStringLiteral("_");
    if (tooLong(fixed, folder)) {
        QString base, suffix;
        split(fixed, folder, &base, &suffix);
        base = base.left(scanrules::kShortBaseName);
        if (!base.isEmpty() && QChar(base.back()).isHighSurrogate())
            base.chop(1);   // never cut a character in half
        fixed = base + suffix;
    }
    return fixed;
}

FolderNames checkFolder(const QVector<Entry> &entries)
{
    FolderNames found;
    QVector<Entry> sorted = entries;
    std::sort(sorted.begin(), sorted.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    QHash<QString, QStringList> byFolded;
    for (const Entry &e : sorted)
        byFolded[e.name.toCaseFolded()] << e.name;
    QVector<bool> renamed(sorted.size(), false);
    QSet<QString> taken;
    for (int i = 0; i < sorted.size(); ++i) {
        const Entry &e = sorted.at(i);
        const bool bad = refusedByFat(e.name);
        const bool longName = tooLong(e.name, e.folder);
        const QStringList &same = byFolded[e.name.toCaseFolded()];
        if (bad)
            found.bad << e.name;
        if (longName)
            found.tooLong << e.name;
        if (same.size() > 1 && same.first() == e.name)
            found.clashes << same;
        renamed[i] = bad || longName || same.first() != e.name;
        if (!renamed[i])
            taken.insert(e.name.toCaseFolded());
    }
    for (int i = 0; i < sorted.size(); ++i) {
        if (!renamed[i])
            continue;
        Entry e = sorted.at(i);
        const QString fixed = fatName(e.name, e.folder);
        QString candidate = fixed;
        for (int n = 1; taken.contains(candidate.toCaseFolded()); ++n)
            candidate = numbered(fixed, e.folder, n);
        taken.insert(candidate.toCaseFolded());
        e.newName = candidate;
        found.renames << e;
    }
    return found;
}

} // namespace names
