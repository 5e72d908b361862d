// Windows side of the platform layer: drive letters, GetVolumeInformationW, file attributes,
// the command interpreter for batches and defrag, and "unar.exe" beside the program.
#include "device/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

namespace platform {

namespace {
bool volumesFromEnvironment(QList<Volume> &out)
{
    if (!qEnvironmentVariableIsSet("CORVEL3_VOLUMES"))
        return false;
    for (const QString &pair : qEnvironmentVariable("CORVEL3_VOLUMES").split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq < 0 || eq + 1 >= pair.size())
            continue;
        QString path = QDir::fromNativeSeparators(pair.mid(eq + 1));
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        out.append(Volume{path, pair.left(eq)});
    }
    return true;
}

QString readLabel(const QString &root)
{
    wchar_t name[256] = {0};
    wchar_t fsName[256] = {0};
    DWORD serial = 0, maxComponent = 256, flags = 0;
    const std::wstring wroot = QDir::toNativeSeparators(root).toStdWString();
    if (!GetVolumeInformationW(wroot.c_str(), name, 256, &serial, &maxComponent, &flags, fsName, 256))
        return QString();
    return QString::fromWCharArray(name);
}
} // namespace

QList<Volume> volumes()
{
    QList<Volume> result;
    if (volumesFromEnvironment(result))
        return result;
    for (const QFileInfo &drive : QDir::drives())
        result.append(Volume{drive.absolutePath(), readLabel(drive.absolutePath())});
    return result;
}

QString volumeLabel(const QString &root)
{
    QList<Volume> fromEnv;
    if (volumesFromEnvironment(fromEnv)) {
        for (const Volume &v : fromEnv)
            if (v.root.compare(root, Qt::CaseInsensitive) == 0)
                return v.label.trimmed();
        return QString();
    }
    return readLabel(root).trimmed();
}

Attributes attributes(const QString &path)
{
    Attributes result;
    const DWORD a = GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return result;
    result.hidden = (a & FILE_ATTRIBUTE_HIDDEN) != 0;
    result.system = (a & FILE_ATTRIBUTE_SYSTEM) != 0;
    return result;
}

bool setHiddenSystem(const QString &path)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD a = GetFileAttributesW(native.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    return SetFileAttributesW(native.c_str(), a | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) != 0;
}

QString hiddenSystemBatchLine(const QString &path)
{
    QString native = path;
    native.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QStringLiteral("ATTRIB +H +S ") + native;
}

Command batchCommand(const QString &batchFile)
{
    return Command{batchFile, {}};
}

QString unpackerProgram()
{
    if (qEnvironmentVariableIsSet("CORVEL3_UNPACKER"))
        return qEnvironmentVariable("CORVEL3_UNPACKER");
    return QCoreApplication::applicationDirPath() + QStringLiteral("/unar.exe");
}

Command defragCommand(const QString &root)
{
    return Command{QStringLiteral("cmd.exe"), {QStringLiteral("defrag ") + root}};
}

QString helperProgram(const QString &baseName)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + baseName + QStringLiteral(".exe");
}

int copyFileContents(QFile &, QFile &)
{
    return 0;   // the copy engine's own buffer does the work here
}

bool flushToDevice(const QStringList &files, const QString &root)
{
    Q_UNUSED(root)
    bool ok = true;
    for (const QString &file : files) {
        const HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(file).utf16()),
                                          GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            ok = false;
            continue;
        }
        if (!FlushFileBuffers(handle))
            ok = false;
        CloseHandle(handle);
    }
    return ok;
}

} // namespace platform
