#pragma once

// Shared pieces of the update tests: a private temporary folder with the loopback update server,
// the demo packages.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/operationcontext.h"
#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "tests/transfer/transfertesting.h"   // runTool, EngineRig
#include "operations/operations.h"
#include "update/reinstall.h"
#include "update/runfolder.h"
#include "update/updateserver.h"

// A temporary folder of its own, for the user's cache (the runs' own folders and the kept package
// of one test never meet another's) and the loopback server as the update server.
struct UpdateBed {
    QTemporaryDir holder;
    const QByteArray previousTmp = qgetenv("TMPDIR"), previousCache = qgetenv("XDG_CACHE_HOME"),
                     previousData = qgetenv("XDG_DATA_HOME");
    HttpTestServer server;

    UpdateBed()
    {
        qputenv("TMPDIR", QFile::encodeName(holder.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(holder.path() + "/cache"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(holder.path() + "/data"));   // the log and the user's lock: this bed's
        server.listen();
        qputenv("CORVEL3_UPDATE_SERVER", server.baseUrl().toUtf8());
    }
    ~UpdateBed()
    {
        qputenv("TMPDIR", previousTmp);
        qputenv("XDG_CACHE_HOME", previousCache);
        qputenv("XDG_DATA_HOME", previousData);
    }
    // Where the runs' own folders are made: empty again once a run has ended.
    QString saveFolder() const { return RunFolder::base(); }
    void serveFull(const QString &zip) { server.serveFile(QString::fromLatin1(kFullPackagePath), zip); }
    void serveUpdate(const QString &zip) { server.serveFile(QString::fromLatin1(kUpdatePackagePath), zip); }
};

// Builds the demo packages into folder; returns the folder holding CorvelAll.zip and
// CorvelUpdate.zip, or "" on failure.
inline QString makeDemoPackages(const QString &folder)
{
    return runTool("sh", {QFINDTESTDATA("../../scripts/make-demo-packages.sh"), folder})
        ? folder + QStringLiteral("/download/Corvel3/") : QString();
}

// What an archive holds, unpacked by the real unpacker into a folder of its own.
inline QMap<QString, QByteArray> archiveContents(const QString &zip, const QString &folder)
{
    return runTool(platform::unpackerProgram(), {zip, "-o", folder, "-no-directory"}) ? treeContents(folder)
                                                                                        : QMap<QString, QByteArray>();
}

inline QMap<QString, QByteArray> merged(QMap<QString, QByteArray> a, const QMap<QString, QByteArray> &b)
{
    a.insert(b);   // b's entries win
    return a;
}
