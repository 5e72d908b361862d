#pragma once

#include <memory>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

struct OperationContext;

// The player's playlists: text files "*.pls" in System/Playlist, UTF-8, one song a line:
// "\sdmemory\" + path below the disk root with "\" separators + "^"-separated fields + CR LF.
// When the optimiser moves or renames a song or renames a group folder, every line naming the old
// place is rewritten to name the new one.
namespace playlists {

// One rewrite. A song rule matches a line whose whole path below "\sdmemory\" is the old path;
// a folder rule one whose path lies inside the old folder. Both without regard to case, as the
// player's disk compares names.
struct LineRule {
    enum Kind { Song, Folder };
    Kind kind = Song;
    QString oldRelative;   // below the disk root, "/" separators, no leading "/"
    QString newRelative;
};

// The path below deviceRoot ("/" separators, no leading "/"), or a null string when path does
// not lie below deviceRoot. The root may be a drive ("E:/") or a mount point ("/media/x/CORVEL3/").
QString relativeToRoot(const QString &deviceRoot, const QString &path);

// Every "*.pls" (any case) directly in the player's playlist folder below deviceRoot, the folder
// names resolved without regard to case; hidden and system files left out. Listing order.
// *listed: false when the folder is there but could not be read whole (a drive without one
// has no playlists, which is no failure).
QStringList playlistFiles(const QString &deviceRoot, bool *listed = nullptr);

// The copies of playlists that a rewrite cut short left in the playlist folder (see
// replaceFile), each beside the playlist it was meant to replace.
QStringList strayCopies(const QString &deviceRoot);

// The rewritten text of one playlist, in one pass whatever the number of rules. Lines no rule
// matches keep their bytes, except that every "/" becomes "\". A song line is replaced whole by
// the new path and "^0^32767"; a folder rule keeps the rest of the line. The rules apply in their
// order, each to the line as the earlier ones left it: the same text as one pass per rule.
QByteArray rewriteText(const QByteArray &text, const QVector<LineRule> &rules);
QByteArray rewriteText(const QByteArray &text, const LineRule &rule);

struct RuleIndex;

// The rules looked up by path, built once for every playlist a flush rewrites: rewrite(text) is
// rewriteText(text, rules), in time proportional to the text's lines, whatever the rules' count.
class CompiledRules {
public:
    explicit CompiledRules(const QVector<LineRule> &rules);
    ~CompiledRules();
    CompiledRules(const CompiledRules &) = delete;
    CompiledRules &operator=(const CompiledRules &) = delete;
    QByteArray rewrite(const QByteArray &text) const;

private:
    std::unique_ptr<RuleIndex> index;
};

// Moves and renames waiting to be written into the playlists; flush() rewrites each playlist
// once for all of them. Every playlist that changes is reported through ctx.fileAction
// ("rewrite"); in a dry run the rewritten texts are only kept in memory, so that later batches
// of the same run see them as a real run would.
class PendingUpdates {
public:
    // dryRunTexts: where a dry run keeps the texts it has rewritten, shared by the steps of one
    // run; by default this object's own.
    PendingUpdates(OperationContext &ctx, const QString &deviceRoot, QHash<QString, QByteArray> *dryRunTexts = nullptr)
        : ctx(ctx), root(deviceRoot), dryRunTexts(dryRunTexts ? dryRunTexts : &ownTexts)
    {
    }
    PendingUpdates(const PendingUpdates &) = delete;
    PendingUpdates &operator=(const PendingUpdates &) = delete;

    // Paths are absolute; nothing is queued for paths that do not lie below the device root.
    void addSong(const QString &oldSongPath, const QString &newSongPath);
    void addFolder(const QString &oldFolderPath, const QString &newFolderPath);
    void add(const LineRule &rule) { rules << rule; }
    int size() const { return rules.size(); }
    // Rewrites every playlist with every rule queued, in order, and empties the queue. False
    // when the playlist folder or a playlist could not be read, or a playlist that had to change
    // could not be written: that playlist is left as it was, and reported as a failed "rewrite".
    bool flush();

private:
    OperationContext &ctx;
    QString root;
    QVector<LineRule> rules;
    QHash<QString, QByteArray> ownTexts;
    QHash<QString, QByteArray> *dryRunTexts;
};

// Writes text over a playlist: whole into a temporary file beside it ("Rock.pls.corvel3-new" for
// "Rock.pls", a name no player lists and no user's file bears), pushed to the disk, then renamed
// into place. A power cut leaves either the old playlist or the new one, and at worst the copy.
bool replaceFile(const QString &playlistPath, const QByteArray &text);
QString temporaryPathFor(const QString &playlistPath);

} // namespace playlists
