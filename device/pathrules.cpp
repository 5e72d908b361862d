#include "device/pathrules.h"

#include <QStringList>

namespace pathrules {

namespace {

// Splits a path into its root ("" for a relative path) and the rest.
void splitRoot(QString path, QString &root, QString &rest)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1String("//?/")) || path.startsWith(QLatin1String("//./"))) {
        path = path.mid(4);
        if (path.startsWith(QLatin1String("UNC/"), Qt::CaseInsensitive))
            path = QLatin1String("//") + path.mid(4);
    }
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter()) {
        root = path.left(1).toUpper() + QLatin1String(":/");
        rest = path.mid(2);
    } else if (path.startsWith(QLatin1String("//"))) {
        // A share: "//server/share" is the root.
        const QStringList parts = path.mid(2).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        root = QLatin1String("//") + parts.mid(0, 2).join(QLatin1Char('/')) + QLatin1Char('/');
        rest = parts.mid(2).join(QLatin1Char('/'));
    } else if (path.startsWith(QLatin1Char('/'))) {
        root = QStringLiteral("/");
        rest = path;
    } else {
        root.clear();
        rest = path;
    }
}

QString withSeparator(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace

QString normalised(const QString &path)
{
    QString root, rest;
    splitRoot(path, root, rest);
    QStringList kept;
    for (const QString &part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!kept.isEmpty() && kept.last() != QLatin1String(".."))
                kept.removeLast();
            else if (root.isEmpty())
                kept << part;   // a relative path may climb; a root cannot
            continue;
        }
        kept << part;
    }
    return root + kept.join(QLatin1Char('/'));
}

bool isRoot(const QString &path)
{
    QString root, rest;
    splitRoot(path, root, rest);
    return !root.isEmpty() && normalised(path) == root;
}

bool same(const QString &a, const QString &b)
{
    return normalised(a).compare(normalised(b), Qt::CaseInsensitive) == 0;
}

bool sameOrAbove(const QString &outer, const QString &inner)
{
    const QString o = normalised(outer), i = normalised(inner);
    if (o.isEmpty() || i.isEmpty())
        return false;
    return o.compare(i, Qt::CaseInsensitive) == 0 || i.startsWith(withSeparator(o), Qt::CaseInsensitive);
}

bool overlap(const QString &a, const QString &b)
{
    return sameOrAbove(a, b) || sameOrAbove(b, a);
}

bool isProtectedFolder(const QString &folder, const QString &deviceRoot, const QString &home)
{
    const bool isDevice = !deviceRoot.isEmpty() && same(folder, deviceRoot);
    if (isRoot(folder) && !isDevice)
        return true;
    if (!home.isEmpty() && sameOrAbove(folder, home))
        return true;
    return !deviceRoot.isEmpty() && !isDevice && sameOrAbove(folder, deviceRoot);
}

} // namespace pathrules
