// Windows side of the platform layer: drive letters, GetVolumeInformationW, file attributes,
// the command interpreter for batches and defrag, and "unar.exe" beside the program.
#include "device/platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <io.h>
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
    // An empty card reader or a drive without its disc must not pop up a system box at every poll.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const BOOL read = GetVolumeInformationW(wroot.c_str(), name, 256, &serial, &maxComponent, &flags, fsName, 256);
    SetErrorMode(previousMode);
    if (!read)
        return QString();
    return QString::fromWCharArray(name);
}
} // namespace

QList<Volume> volumes()
{
    QList<Volume> result;
    if (volumesFromEnvironment(result))
        return result;
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const QFileInfoList drives = QDir::drives();
    SetErrorMode(previousMode);
    for (const QFileInfo &drive : drives)
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

AttributeReader::AttributeReader(const QString &) {}

Attributes AttributeReader::of(const QString &path) const
{
    return attributes(path);   // one call per entry either way
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
    // "/c" runs the command and ends the interpreter; defrag names a volume as "E:" and shows
    // its progress with /U, which keeps the output alive while it works.
    QString volume = QDir::toNativeSeparators(root);
    if (volume.size() == 3 && volume.endsWith(QLatin1String(":\\")))
        volume.chop(1);
    return Command{QStringLiteral("cmd.exe"),
                   {QStringLiteral("/c"), QStringLiteral("defrag"), volume, QStringLiteral("/U")}};
}

QString helperProgram(const QString &baseName)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + baseName + QStringLiteral(".exe");
}

bool isLink(const QString &path)
{
    // Junctions and symbolic links are both reparse points; Qt 5 reports only the latter as links.
    const DWORD a = GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

QByteArray volumeIdentity(const QString &path)
{
    wchar_t volume[MAX_PATH + 1];
    DWORD serial = 0;
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    if (GetFileAttributesW(native.c_str()) == INVALID_FILE_ATTRIBUTES
        || !GetVolumePathNameW(native.c_str(), volume, MAX_PATH + 1)
        || !GetVolumeInformationW(volume, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return QByteArray();
    return QByteArray::number(quint64(serial));
}

QList<RawName> unrepresentableNames(const QString &)
{
    return {};   // UTF-16 names: Qt shows every one
}

bool copyRawFile(const QByteArray &, const QByteArray &, QByteArray *, qint64 *)
{
    return false;
}

QByteArray rawFileSha256(const QByteArray &, qint64 *size)
{
    *size = -1;
    return QByteArray();
}

qint64 countEntries(const QString &folder)
{
    const std::wstring pattern = QDir::toNativeSeparators(folder + QStringLiteral("/*")).toStdWString();
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    qint64 count = 0;
    do {
        if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            ++count;
    } while (FindNextFileW(find, &data));
    const bool whole = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(find);
    return whole ? count : -1;
}

bool removeEntry(const QString &path)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD a = GetFileAttributesW(native.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    // A link to a folder is itself a folder entry: removing it leaves its target untouched.
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        return (a & FILE_ATTRIBUTE_REPARSE_POINT) && RemoveDirectoryW(native.c_str()) != 0;
    return QFile::remove(path);
}

int copyFileContents(QFile &, QFile &, qint64 *, qint64)
{
    return 0;   // the copy engine's own buffer does the work here
}

bool syncFile(QFile &file)
{
    const intptr_t handle = _get_osfhandle(file.handle());
    return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
}

bool syncFolder(const QString &folder)
{
    // A folder opens only with backup semantics; its buffers flush where the file system allows it
    // (NTFS, FAT), and anywhere else the caller flushes the files themselves.
    const HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(folder).utf16()),
                                      GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = FlushFileBuffers(handle) != 0;
    CloseHandle(handle);
    return ok;
}

bool moveNoReplace(const QString &from, const QString &to)
{
    return QFile::rename(from, to);   // MoveFileEx without MOVEFILE_REPLACE_EXISTING
}

bool keepModificationTime(QFile &from, QFile &to)
{
    const QDateTime modified = from.fileTime(QFileDevice::FileModificationTime);
    return modified.isValid() && to.setFileTime(modified, QFileDevice::FileModificationTime);
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

// Flushing a whole volume needs an administrator on Windows: the files are flushed one by one.
Writeback writeBackVolume(const QString &root)
{
    Q_UNUSED(root)
    return Writeback::Unsupported;
}

// Qt's own SHA-256; Windows' CNG (BCrypt) would be faster where backups grow large.
Sha256::Sha256() : state(new QCryptographicHash(QCryptographicHash::Sha256)) {}

Sha256::~Sha256() { delete static_cast<QCryptographicHash *>(state); }

void Sha256::add(const char *data, qint64 size)
{
    static_cast<QCryptographicHash *>(state)->addData(data, int(size));
}

QByteArray Sha256::hex()
{
    auto *hash = static_cast<QCryptographicHash *>(state);
    const QByteArray result = hash->result().toHex();
    hash->reset();
    return result;
}

bool hardLink(const QString &existing, const QString &link)
{
    return CreateHardLinkW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(link).utf16()),
                           reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(existing).utf16()), nullptr) != 0;
}

bool regularFile(const QString &path, qint64 *size, qint64 *modifiedMs)
{
    const QFileInfo info(path);
    if (!info.isFile() || isLink(path))
        return false;
    *size = info.size();
    *modifiedMs = info.lastModified().toMSecsSinceEpoch();
    return true;
}

qint64 linkCount(const QString &path)
{
    const HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info {};
    const bool ok = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    return ok ? qint64(info.nNumberOfLinks) : 0;
}

} // namespace platform
