#pragma once

// Shared pieces of the update tests: a private temporary directory (so the save folder
// "Corvel" of parallel tests never meets), zip packages made with the real zip program,
// capture of the download diagnostics, and an engine context wired to the transfer engine.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "transfer/copyengine.h"
#include "transfer/folderremoval.h"
#include "ui/core/operationcontext.h"
#include "update/downloadmanager.h"
#include "update/systemupdate.h"

// Sets an environment variable for the life of the object, then puts back what was there.
class EnvOverride {
public:
    EnvOverride(const char *name, const QString &value) : name(name)
    {
        had = qEnvironmentVariableIsSet(name);
        previous = qgetenv(name);
        qputenv(name, QFile::encodeName(value));
    }
    ~EnvOverride()
    {
        if (had)
            qputenv(name, previous);
        else
            qunsetenv(name);
    }

private:
    const char *name;
    QByteArray previous;
    bool had = false;
};

// Points QDir::tempPath() at a folder of its own for the life of the object.
class PrivateTempDir {
public:
    PrivateTempDir()
    {
        hadTmp = qEnvironmentVariableIsSet("TMPDIR");
        previous = qgetenv("TMPDIR");
        QDir().mkpath(path());
        qputenv("TMPDIR", QFile::encodeName(path()));
    }
    ~PrivateTempDir()
    {
        if (hadTmp)
            qputenv("TMPDIR", previous);
        else
            qunsetenv("TMPDIR");
    }
    QString path() const { return holder.path() + QStringLiteral("/tmp"); }
    QString saveFolder() const { return path() + QStringLiteral("/Corvel"); }

private:
    QTemporaryDir holder;
    QByteArray previous;
    bool hadTmp = false;
};

// Writes files (relative path -> content) below folder.
inline void writeTree(const QString &folder, const QMap<QString, QByteArray> &files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString full = folder + QLatin1Char('/') + it.key();
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        if (f.open(QIODevice::WriteOnly))
            f.write(it.value());
    }
}

// Zips the given entries of workFolder (relative names, recursively) into zipPath with the
// real zip program. Returns the archive's bytes, or empty on failure.
inline QByteArray makeZip(const QString &workFolder, const QString &zipPath, const QStringList &entries)
{
    QProcess zip;
    zip.setWorkingDirectory(workFolder);
    zip.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-X"), zipPath} + entries);
    if (!zip.waitForFinished(30000) || zip.exitCode() != 0)
        return QByteArray();
    QFile f(zipPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Incompressible filler, so a package reaches a given size.
inline QByteArray noise(int size, quint32 seed = 1)
{
    QByteArray out(size, '\0');
    quint32 x = seed * 2654435761u + 1;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = char(x);
    }
    return out;
}

// Captures what the process writes to stdout and stderr while the object lives.
class CapturedOutput {
public:
    CapturedOutput()
    {
        std::fflush(stdout);
        std::fflush(stderr);
        savedOut = ::dup(1);
        savedErr = ::dup(2);
        outFile.open();
        errFile.open();
        ::dup2(outFile.handle(), 1);
        ::dup2(errFile.handle(), 2);
    }
    ~CapturedOutput() { restore(); }
    void restore()
    {
        if (savedOut < 0)
            return;
        std::fflush(stdout);
        std::fflush(stderr);
        ::dup2(savedOut, 1);
        ::dup2(savedErr, 2);
        ::close(savedOut);
        ::close(savedErr);
        savedOut = savedErr = -1;
    }
    QByteArray out() { restore(); return read(outFile); }
    QByteArray err() { restore(); return read(errFile); }

private:
    static QByteArray read(QTemporaryFile &f)
    {
        QFile copy(f.fileName());
        return copy.open(QIODevice::ReadOnly) ? copy.readAll() : QByteArray();
    }
    QTemporaryFile outFile, errFile;
    int savedOut = -1, savedErr = -1;
};

// An engine context without widgets whose folder operations are the transfer engine's.
struct EngineHarness {
    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    QString drive;   // what findDeviceDrive answers
    OperationContext ctx{state, dialogs, progress};

    EngineHarness()
    {
        state.currentLanguage = 1;
        ctx.findDeviceDrive = [this] { return drive; };
    }

    UpdateFileOps ops()
    {
        UpdateFileOps o;
        o.recreateFolder = [this](const QString &folder) { return transfer::recreateFolder(ctx, folder); };
        o.removeFolderTree = [this](const QString &folder) {
            return transfer::removeFolderTree(ctx, folder, [this] { progress.repaintBar(); });
        };
        o.copyFileList = [this](const QStringList &files, const QString &destinationRoot, const QString &sourceRoot) {
            return transfer::copyFileList(ctx, files, destinationRoot, sourceRoot);
        };
        return o;
    }
};
