#pragma once

// Shared pieces of the update tests: a private temporary folder with the loopback update server,
// the demo packages, and an engine context without widgets.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/operationcontext.h"
#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "update/reinstall.h"
#include "update/updateserver.h"

// A temporary folder of its own (so the save folder "Corvel" of parallel tests never meets) and
// the loopback server standing in for the update server.
struct UpdateBed {
    QTemporaryDir holder;
    const QByteArray previousTmp = qgetenv("TMPDIR"), previousCache = qgetenv("XDG_CACHE_HOME");
    HttpTestServer server;

    UpdateBed()
    {
        qputenv("TMPDIR", QFile::encodeName(holder.path()));
        // The kept package of one test never serves another.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(holder.path() + "/cache"));
        server.listen();
        qputenv("CORVEL3_UPDATE_SERVER", server.baseUrl().toUtf8());
    }
    ~UpdateBed()
    {
        qputenv("TMPDIR", previousTmp);   // empty: the system's default
        qputenv("XDG_CACHE_HOME", previousCache);
    }
    QString saveFolder() const { return holder.path() + QStringLiteral("/Corvel"); }
    void serveFull(const QString &zip) { server.serveFile(QString::fromLatin1(kFullPackagePath), zip); }
    void serveUpdate(const QString &zip) { server.serveFile(QString::fromLatin1(kUpdatePackagePath), zip); }
};

// Builds the demo packages into folder; returns the folder holding CorvelAll.zip and
// CorvelUpdate.zip, or "" on failure.
inline QString makeDemoPackages(const QString &folder)
{
    QProcess make;
    make.start(QStringLiteral("sh"), {QFINDTESTDATA("../../scripts/make-demo-packages.sh"), folder});
    if (!make.waitForFinished(60000) || make.exitCode() != 0)
        return QString();
    return folder + QStringLiteral("/download/Corvel3/");
}

// What an archive holds, unpacked by the real unpacker into a folder of its own.
inline QMap<QString, QByteArray> archiveContents(const QString &zip, const QString &folder)
{
    QProcess unar;
    unar.start(platform::unpackerProgram(), {zip, QStringLiteral("-o"), folder, QStringLiteral("-no-directory")});
    return unar.waitForFinished(30000) ? treeContents(folder) : QMap<QString, QByteArray>();
}

inline QMap<QString, QByteArray> merged(QMap<QString, QByteArray> a, const QMap<QString, QByteArray> &b)
{
    for (auto it = b.cbegin(); it != b.cend(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

// An engine context without widgets.
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
};
