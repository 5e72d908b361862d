#include "device/entries.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "device/pathrules.h"
#include "device/platform.h"

namespace entries {

QString resolve(const QString &folder, const QString &relativeName)
{
    QString current = QDir::fromNativeSeparators(folder);
    while (current.endsWith(QLatin1Char('/')) && current.size() > 1)
        current.chop(1);
    const QStringList parts = QDir::fromNativeSeparators(relativeName).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        QString chosen = part;
        if (!QFileInfo::exists(current + QLatin1Char('/') + part)) {
            const QStringList names = QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                              | QDir::NoDotAndDotDot);
            for (const QString &name : names) {
                if (name.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = name;
                    break;
                }
            }
        }
        current += QLatin1Char('/') + chosen;
    }
    return current;
}

QStringList pathForms(const QString &path)
{
    const QFileInfo info(path);
    QStringList forms{QDir::cleanPath(info.absoluteFilePath())};
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty() && !forms.contains(canonical))
        forms << canonical;
    return forms;
}

namespace {
// True when rule holds for some pair of forms of a and b.
template <typename Rule>
bool anyForms(const QString &a, const QString &b, Rule rule)
{
    const QStringList formsB = pathForms(b);
    for (const QString &x : pathForms(a))
        for (const QString &y : formsB)
            if (rule(x, y))
                return true;
    return false;
}
} // namespace

bool samePath(const QString &a, const QString &b)
{
    return anyForms(a, b, pathrules::same);
}

bool sameOrAbove(const QString &outer, const QString &inner)
{
    return anyForms(outer, inner, pathrules::sameOrAbove);
}

bool overlap(const QString &a, const QString &b)
{
    return anyForms(a, b, pathrules::overlap);
}

bool isProtectedFolder(const QString &folder, const QString &deviceRoot)
{
    const QStringList devices = deviceRoot.isEmpty() ? QStringList{QString()} : pathForms(deviceRoot);
    const QStringList homes = pathForms(QDir::homePath());
    for (const QString &f : pathForms(folder)) {
        // The drive root is the player's drive when any of its forms says so.
        const bool isDevice = !deviceRoot.isEmpty() && samePath(f, deviceRoot);
        for (const QString &d : devices)
            for (const QString &h : homes)
                if (pathrules::isProtectedFolder(f, isDevice ? f : d, h))
                    return true;
    }
    return false;
}

namespace {

QVector<QRegularExpression> compileFilters(const QStringList &filters)
{
    QVector<QRegularExpression> result;
    for (const QString &f : filters)
        result.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(f),
                                         QRegularExpression::CaseInsensitiveOption));
    return result;
}

bool matches(const QVector<QRegularExpression> &filters, const QString &name)
{
    if (filters.isEmpty())
        return true;
    for (const QRegularExpression &re : filters)
        if (re.match(name).hasMatch())
            return true;
    return false;
}

bool walkFolder(const QString &folder, const ListOptions &options, const QVector<QRegularExpression> &filters,
                const std::function<bool(const QFileInfo &)> &visit)
{
    QDir::SortFlags sort = options.foldersFirstByName ? (QDir::Name | QDir::DirsFirst) : QDir::NoSort;
    const QFileInfoList list = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, sort);
    const platform::AttributeReader attributes(folder);
    if (ListingWatch::active()) {
        const qint64 count = platform::countEntries(folder);
        int rawFiles = 0;
        if (count > list.size() && ListingWatch::takesRawFiles()) {   // only where Qt left names out
            const QByteArray base = QFile::encodeName(folder) + '/';
            for (const platform::RawName &raw : platform::unrepresentableNames(folder)) {
                if (!raw.file)
                    continue;
                ++rawFiles;
                const bool hidden = raw.name.startsWith('.');
                if (options.files && (options.includeHiddenSystem || !hidden)
                    && matches(filters, QFile::decodeName(raw.name)))
                    ListingWatch::reportRawFile(base + raw.name);
            }
        }
        if (count != list.size() + rawFiles)
            ListingWatch::report(folder);
    }
    for (const QFileInfo &info : list) {
        if (!options.includeHiddenSystem && attributes.hiddenOrSystem(info.absoluteFilePath()))
            continue;
        const bool isFolder = info.isDir();
        const bool wanted = isFolder ? options.folders : options.files;
        if (wanted && matches(filters, info.fileName())) {
            if (!visit(info))
                return false;
        }
        if (isFolder && options.recursive && !platform::isLink(info.absoluteFilePath())) {
            if (!walkFolder(info.absoluteFilePath(), options, filters, visit))
                return false;
        }
    }
    return true;
}

} // namespace

namespace {
thread_local ListingWatch *currentWatch = nullptr;
} // namespace

ListingWatch::ListingWatch(bool takeRawFiles) : outer(currentWatch), takeRaw(takeRawFiles)
{
    currentWatch = this;
}

ListingWatch::~ListingWatch()
{
    currentWatch = outer;
    if (!outer)
        return;
    outer->folders << folders;
    for (const QByteArray &path : raw) {
        // An outer watch that copies no such names must hear of their folder as not read whole.
        if (outer->takeRaw)
            outer->raw << path;
        else if (!outer->folders.contains(QFile::decodeName(path.left(path.lastIndexOf('/')))))
            outer->folders << QFile::decodeName(path.left(path.lastIndexOf('/')));
    }
}

bool ListingWatch::takesRawFiles()
{
    return currentWatch && currentWatch->takeRaw;
}

void ListingWatch::reportRawFile(const QByteArray &path)
{
    if (currentWatch && !currentWatch->raw.contains(path))
        currentWatch->raw << path;
}

void ListingWatch::report(const QString &folder)
{
    if (currentWatch && !currentWatch->folders.contains(folder))
        currentWatch->folders << folder;
}

bool ListingWatch::active()
{
    return currentWatch != nullptr;
}

bool walk(const QString &folder, const ListOptions &options, const std::function<bool(const QFileInfo &)> &visit)
{
    if (!QFileInfo(folder).isDir())
        return true;   // nothing to walk; a folder gone mid-walk is another matter
    return walkFolder(folder, options, compileFilters(options.nameFilters), visit);
}

QStringList list(const QString &folder, const ListOptions &options)
{
    QStringList result;
    walk(folder, options, [&](const QFileInfo &info) {
        result.append(info.absoluteFilePath());
        return true;
    });
    return result;
}

} // namespace entries
