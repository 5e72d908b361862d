#include "health/healthreport.h"

#include <QVariantMap>

#include "core/operationstate.h"

namespace health {

Report::Report()
{
    for (int i = 0; i < kKindCount; ++i)
        findings << Finding{Kind(i), {}, 0};
}

int Report::total() const
{
    int n = 0;
    for (const Finding &f : findings)
        n += f.items.size();
    return n;
}

int Report::fixable(Group group) const
{
    switch (group) {
    case Playlists: return deadLines.size();
    case Names: return renames.size();
    case Duplicates: return duplicates.size();
    case AllGroups: break;
    }
    return deadLines.size() + renames.size() + duplicates.size();
}

QString kindName(Kind kind)
{
    static const char *const names[kKindCount] = {"deadLine", "unreadableTitle", "damagedMp3", "damagedMidi",
                                                  "emptySong", "orphanCompanion", "badName", "longName",
                                                  "nameClash", "oversizedFolder", "duplicate", "lowSpace"};
    return QLatin1String(names[int(kind)]);
}

QString kindLabel(Kind kind, const OperationState &state)
{
    switch (kind) {
    case Kind::DeadLine: return state.translate("healthreport", "Playlist lines that point at no song");
    case Kind::UnreadableTitle: return state.translate("healthreport", "Songs whose title cannot be read");
    case Kind::DamagedMp3: return state.translate("healthreport", "Damaged MP3s");
    case Kind::DamagedMidi: return state.translate("healthreport", "Damaged MIDIs");
    case Kind::EmptySong: return state.translate("healthreport", "Empty songs (0 bytes)");
    case Kind::OrphanCompanion: return state.translate("healthreport", "Companion files without their song");
    case Kind::BadName: return state.translate("healthreport", "Names with characters FAT refuses");
    case Kind::LongName: return state.translate("healthreport", "Names too long");
    case Kind::NameClash: return state.translate("healthreport", "Names that differ only in case");
    case Kind::OversizedFolder: return state.translate("healthreport", "Folders with more than 1000 songs");
    case Kind::Duplicate: return state.translate("healthreport", "Duplicate songs");
    case Kind::LowSpace: return state.translate("healthreport", "Not enough free space for the system");
    }
    return QString();
}

QString groupName(Group group)
{
    switch (group) {
    case Playlists: return QStringLiteral("playlists");
    case Names: return QStringLiteral("names");
    case Duplicates: return QStringLiteral("duplicates");
    case AllGroups: break;
    }
    return QString();
}

Group groupOf(Kind kind)
{
    switch (kind) {
    case Kind::DeadLine: return Playlists;
    case Kind::BadName:
    case Kind::LongName:
    case Kind::NameClash: return Names;
    case Kind::Duplicate: return Duplicates;
    default: return Group(0);
    }
}

QString sizeText(qint64 bytes)
{
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
    if (bytes < 1024LL * 1024 * 1024)
        return QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
    return QStringLiteral("%1 GB").arg(double(bytes) / (1024.0 * 1024 * 1024), 0, 'f', 2);
}

QStringList Report::summary(const OperationState &state) const
{
    QStringList lines;
    lines << state.translate("healthreport", "%1 songs checked (%2).").arg(songs).arg(sizeText(songBytes));
    if (freeBytes >= 0)
        lines << state.translate("healthreport", "Free space on the Corvel3: %1.").arg(sizeText(freeBytes));
    if (!complete)
        lines << state.translate("healthreport", "Check stopped: the picture is incomplete.");
    else if (total() == 0)
        lines << state.translate("healthreport", "No problems found.");
    for (const Finding &f : findings) {
        if (f.items.isEmpty())
            continue;
        QString line = QStringLiteral("%1: %2").arg(kindLabel(f.kind, state)).arg(f.items.size());
        if (f.bytes > 0)
            line += QStringLiteral(" (%1)").arg(sizeText(f.bytes));
        if (f.kind == Kind::OversizedFolder)
            line += state.translate("healthreport", " - the optimisation splits them");
        lines << line;
    }
    return lines;
}

QVariantList Report::toVariant(const OperationState &state) const
{
    QVariantList list;
    for (const Finding &f : findings) {
        if (f.items.isEmpty())
            continue;
        list << QVariantMap{{QStringLiteral("kind"), kindName(f.kind)},
                            {QStringLiteral("label"), kindLabel(f.kind, state)},
                            {QStringLiteral("count"), f.items.size()},
                            {QStringLiteral("bytes"), f.bytes},
                            {QStringLiteral("items"), f.items}};
    }
    return list;
}

} // namespace health
