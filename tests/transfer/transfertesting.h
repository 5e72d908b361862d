#pragma once

#include <QtTest>

#include "device/devicedrive.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "core/operationcontext.h"
#include "operations/operations.h"

// An engine's surroundings: state, scripted boxes with queued answers, a bar, a stand-in window,
// the drive the fixture presents; and the runner, for whole operations on the same boxes and bar.
struct EngineRig {
    explicit EngineRig(int language = 0, const QStringList &replies = {})
    {
        state.currentLanguage = operations.state.currentLanguage = language;
        dialogs.answer(replies);
    }
    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    QObject window;
    OperationContext ctx{state, dialogs, progress, &window, findDeviceDrive()};
    Operations operations{Operations::FrontEnd{&dialogs, &progress, &window}};
};

// A PC folder of the test row's own below tmp (a row's name holds no "/").
inline QString rowFolder(const QTemporaryDir &tmp)
{
    const QString folder = tmp.path() + "/" + QTest::currentTestFunction() + "-" + QTest::currentDataTag();
    QDir().mkpath(folder);
    return folder;
}

inline bool writeBytes(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs a program to a clean end, in dir when given; its standard output into output when given.
inline bool runTool(const QString &program, const QStringList &arguments, const QString &dir = QString(),
                    QByteArray *output = nullptr)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, arguments);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = p.readAllStandardOutput();
    return ok;
}

// The real corvel3-cli with --json, its input closed: its exit code and its end event.
inline int cliEnd(const QStringList &arguments, QJsonObject *end)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QCoreApplication::applicationDirPath() + "/corvel3-cli", QStringList{"--json", "--lang", "en"} + arguments);
    if (!p.waitForFinished(60000))
        return -1;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.value("event") == "end")
            *end = o;
    }
    return p.exitCode();
}

// An ext4 disk image of the given size mounted on mountPoint: needs root and a free loop device.
inline bool mountDiskImage(const QString &image, const QString &mountPoint, const QString &size,
                           const QStringList &mkfsOptions = {})
{
    QDir().mkpath(mountPoint);
    return runTool("mkfs.ext4", QStringList{"-q", "-F"} + mkfsOptions + QStringList{image, size})
           && runTool("mount", {"-o", "loop", image, mountPoint});
}
