#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// How an engine's work ended and what it did: the value the operations runner judges a run by.
// Engines return it; they never announce the end of a run themselves.
struct Outcome {
    enum class Status {
        Done,             // every step worked
        Failed,           // a step failed: a file not saved, restored, moved or deleted, a bad package...
        Declined,         // a question to go on was answered otherwise, or no folder was chosen
        Stopped,          // Stop was pressed
        PlayerNotFound,   // the player's drive went away
    };

    Status status = Status::Done;
    // Items the work meant to handle (files to save, restore, delete, move) and, of those, the
    // ones it did not; the front ends count them, the closing box names them.
    int total = 0;
    int failed = 0;
    // One line per item not handled: its path and, after ": ", why.
    QStringList notDone;
    // A box of the engine's own has already told the user why the run failed: the runner adds
    // no closing box of its own then.
    bool told = false;
    // Where the work wrote, when that is news to the user (a backup's dated folder).
    QString folder;
    // What a listing or a check found, one line each, for people (the backups a folder holds).
    QStringList report;
    // The same as fields that do not depend on the language, for programs.
    QVariantMap details;

    bool ok() const { return status == Status::Done; }

    static Outcome done() { return Outcome(); }
    static Outcome failure(bool alreadyTold)
    {
        Outcome o;
        o.status = Status::Failed;
        o.told = alreadyTold;
        return o;
    }
    static Outcome of(Status status)
    {
        Outcome o;
        o.status = status;
        return o;
    }

    // Notes an item not handled; the outcome becomes a failure unless it already ended otherwise.
    void addNotDone(const QString &path, const QString &why)
    {
        ++failed;
        notDone << (why.isEmpty() ? path : path + QStringLiteral(": ") + why);
        if (status == Status::Done)
            status = Status::Failed;
    }
};
