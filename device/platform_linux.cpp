// Linux side of the platform layer: mounted volumes instead of drive letters, FAT attributes or
// the Samba-style extended attribute instead of Windows file attributes, /bin/sh for batches.
#include "device/platform.h"
#include "device/playerlayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <openssl/evp.h>

#ifdef CORVEL3_HAVE_BLKID
#include <blkid/blkid.h>
#endif

namespace platform {

namespace {

constexpr quint32 kDosHidden = 0x02;
constexpr quint32 kDosSystem = 0x04;
const char kDosAttribName[] = "user.DOSATTRIB";

QString withTrailingSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// CORVEL3_VOLUMES: "label=path;label=path". An entry without "=" is skipped.
bool volumesFromEnvironment(QList<Volume> &out)
{
    if (!qEnvironmentVariableIsSet("CORVEL3_VOLUMES"))
        return false;
    const QString pairs = qEnvironmentVariable("CORVEL3_VOLUMES");
    for (const QString &pair : pairs.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString path = pair.mid(eq + 1);
        if (path.isEmpty())
            continue;
        out.append(Volume{withTrailingSlash(QDir::fromNativeSeparators(path)), pair.left(eq)});
    }
    return true;
}

QString probeLabel(const QByteArray &device)
{
#ifdef CORVEL3_HAVE_BLKID
    if (!device.startsWith("/dev/"))
        return QString();
    blkid_probe probe = blkid_new_probe_from_filename(device.constData());
    if (!probe)
        return QString();
    QString label;
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL);
    if (blkid_do_safeprobe(probe) == 0) {
        const char *value = nullptr;
        size_t length = 0;
        if (blkid_probe_lookup_value(probe, "LABEL", &value, &length) == 0 && value)
            label = QString::fromUtf8(value);
    }
    blkid_free_probe(probe);
    return label;
#else
    Q_UNUSED(device);
    return QString();
#endif
}

// The kind of file system a path lies on (statfs's f_type), 0 when it cannot be asked.
long fileSystemOf(const QByteArray &native)
{
    struct statfs fs {};
    return ::statfs(native.constData(), &fs) == 0 ? long(fs.f_type) : 0;
}

// File systems that keep no extended attributes at all: asking their files could only fail.
bool keepsNoXattrs(long fileSystem)
{
    switch (static_cast<unsigned long>(fileSystem)) {
    case 0x2011BAB0UL:   // exFAT
    case ISOFS_SUPER_MAGIC:
    case 0x15013346UL:   // UDF
    case RAMFS_MAGIC:
        return true;
    default:
        return false;
    }
}

// Volumes whose file system answered ENOTSUP ("this file system has none"), by device: none of
// their files is asked again. ENODATA only says that one file has none, and is never kept.
QMutex xattrlessLock;
QSet<quint64> xattrlessVolumes;

bool readFatAttributes(const QByteArray &native, quint32 &attrs)
{
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    __u32 value = 0;
    const bool ok = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &value) == 0;
    ::close(fd);
    if (ok)
        attrs = value;
    return ok;
}

bool readDosAttribXattr(const QByteArray &native, quint32 &attrs, bool *unsupported = nullptr)
{
    char buffer[64];
    const ssize_t n = ::lgetxattr(native.constData(), kDosAttribName, buffer, sizeof(buffer) - 1);
    if (n < 0 && unsupported && errno == ENOTSUP)
        *unsupported = true;
    if (n <= 0)
        return false;
    buffer[n] = 0;
    // Samba's text form: "0x" followed by hex digits.
    const QByteArray text = QByteArray(buffer, int(n)).trimmed();
    if (!text.startsWith("0x") && !text.startsWith("0X"))
        return false;
    bool ok = false;
    const uint value = QByteArray(text.constData() + 2).split('\0').first().toUInt(&ok, 16);
    if (ok)
        attrs = value;
    return ok;
}

bool isVolumeRoot(const QString &folder)
{
    const QString root = withTrailingSlash(QDir::cleanPath(folder));
    QList<Volume> fromEnv;
    if (volumesFromEnvironment(fromEnv)) {
        for (const Volume &v : fromEnv)
            if (withTrailingSlash(QDir::cleanPath(v.root)) == root)
                return true;
    }
    const QStorageInfo storage(folder);
    return storage.isValid() && withTrailingSlash(storage.rootPath()) == root;
}

bool isPlayerSystemName(const QString &name)
{
    for (const char *own : {playerlayout::kStartFile, playerlayout::kSystemFolder, playerlayout::kUpdateFolder})
        if (name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString findOnPath(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

} // namespace

QList<Volume> volumes()
{
    QList<Volume> result;
    if (volumesFromEnvironment(result))
        return result;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady())
            continue;
        if (storage.isRoot())
            continue;   // the system's own root file system is never the player
        QString label = storage.name();
        if (label.trimmed().isEmpty())
            label = probeLabel(storage.device());
        result.append(Volume{withTrailingSlash(storage.rootPath()), label});
    }
    return result;
}

QString volumeLabel(const QString &root)
{
    const QString wanted = withTrailingSlash(QDir::fromNativeSeparators(root));
    for (const Volume &v : volumes())
        if (v.root == wanted)
            return v.label.trimmed();
    return QString();
}

namespace {

// Attributes of path on a file system of kind fileSystem. Only the kernel's FAT driver answers
// the attribute ioctl; elsewhere they can only be in the extended attribute.
Attributes attributesOn(const QString &path, long fileSystem, bool *noXattrs)
{
    Attributes result;
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.startsWith(QLatin1Char('.')))
        result.hidden = true;
    const QByteArray native = QFile::encodeName(path);
    quint32 dos = 0;
    const bool fat = fileSystem == MSDOS_SUPER_MAGIC && readFatAttributes(native, dos);
    if (fat || (!(noXattrs && *noXattrs) && readDosAttribXattr(native, dos, noXattrs))) {
        result.hidden = result.hidden || (dos & kDosHidden);
        result.system = (dos & kDosSystem) != 0;
        return result;
    }
    if (isPlayerSystemName(name) && isVolumeRoot(QFileInfo(path).absolutePath())) {
        result.hidden = true;
        result.system = true;
    }
    return result;
}

} // namespace

Attributes attributes(const QString &path)
{
    return attributesOn(path, fileSystemOf(QFile::encodeName(path)), nullptr);
}

AttributeReader::AttributeReader(const QString &folder) : fileSystem(fileSystemOf(QFile::encodeName(folder)))
{
    struct stat st {};
    if (!fileSystem || ::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return;
    volume = quint64(st.st_dev);
    const QMutexLocker locked(&xattrlessLock);
    noXattrs = keepsNoXattrs(fileSystem) || xattrlessVolumes.contains(volume);
}

Attributes AttributeReader::of(const QString &path) const
{
    if (!fileSystem)
        return attributes(path);
    const bool known = noXattrs;
    const Attributes found = attributesOn(path, fileSystem, &noXattrs);
    if (noXattrs && !known && volume) {
        const QMutexLocker locked(&xattrlessLock);
        xattrlessVolumes.insert(volume);
    }
    return found;
}

bool setHiddenSystem(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    bool done = false;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        __u32 value = 0;
        if (::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &value) == 0) {
            value |= kDosHidden | kDosSystem;
            done = ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &value) == 0;
        }
        ::close(fd);
    }
    if (done)
        return true;
    quint32 dos = 0;
    readDosAttribXattr(native, dos);
    const QByteArray text = "0x" + QByteArray::number(dos | kDosHidden | kDosSystem, 16);
    return ::lsetxattr(native.constData(), kDosAttribName, text.constData(), size_t(text.size()), 0) == 0;
}

QString hiddenSystemBatchLine(const QString &path)
{
    auto quoted = [](QString s) {
        s.replace(QLatin1Char('\''), QLatin1String("'\\''"));
        return QLatin1Char('\'') + s + QLatin1Char('\'');
    };
    return quoted(helperProgram(QStringLiteral("corvel3-attrib"))) + QLatin1Char(' ') + quoted(path);
}

Command batchCommand(const QString &batchFile)
{
    return Command{QStringLiteral("/bin/sh"), {batchFile}};
}

QString unpackerProgram()
{
    if (qEnvironmentVariableIsSet("CORVEL3_UNPACKER"))
        return qEnvironmentVariable("CORVEL3_UNPACKER");
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/unar");
    if (QFileInfo(beside).isFile())
        return beside;
    const QString onPath = findOnPath(QStringLiteral("unar"));
    return onPath.isEmpty() ? beside : onPath;
}

Command defragCommand(const QString &root)
{
    const QStorageInfo storage(root);
    const QByteArray type = storage.fileSystemType();
    QString program;
    QStringList arguments;
    if (type == "ext4") {
        program = findOnPath(QStringLiteral("e4defrag"));
        arguments = QStringList{root};
    } else if (type == "xfs") {
        program = findOnPath(QStringLiteral("xfs_fsr"));
        arguments = QStringList{QStringLiteral("-v"), root};
    } else if (type == "btrfs") {
        program = findOnPath(QStringLiteral("btrfs"));
        arguments = QStringList{QStringLiteral("filesystem"), QStringLiteral("defragment"), QStringLiteral("-r"),
                     QStringLiteral("-v"), root};
    }
    if (!program.isEmpty())
        return Command{program, arguments};
    return Command{helperProgram(QStringLiteral("corvel3-nodefrag")),
                   {type.isEmpty() ? QStringLiteral("unknown") : QString::fromLatin1(type), root}};
}

QString helperProgram(const QString &baseName)
{
    // Beside the program (a build), else in the helpers' folder of the installed program (found
    // from the program's own folder first, so a copy installed elsewhere keeps its own helpers),
    // else on PATH.
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString beside = programDir + QLatin1Char('/') + baseName;
    if (QFileInfo(beside).isFile())
        return beside;
#if defined(CORVEL3_HELPER_DIR_FROM_BIN) && defined(CORVEL3_HELPER_DIR)
    for (const QString &folder : {QDir::cleanPath(programDir + QStringLiteral("/" CORVEL3_HELPER_DIR_FROM_BIN)),
                                  QStringLiteral(CORVEL3_HELPER_DIR)}) {
        const QString installed = folder + QLatin1Char('/') + baseName;
        if (QFileInfo(installed).isFile())
            return installed;
    }
#endif
    const QString onPath = findOnPath(baseName);
    return onPath.isEmpty() ? beside : onPath;
}

bool isLink(const QString &path)
{
    return QFileInfo(path).isSymLink();
}

bool removeEntry(const QString &path)
{
    return QFile::remove(path);   // unlink: a link goes, its target stays
}

QByteArray volumeIdentity(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QByteArray();
    return QByteArray::number(quint64(info.st_dev));
}

qint64 countEntries(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return -1;
    qint64 count = 0;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            ++count;
    }
    const bool whole = errno == 0;
    ::closedir(dir);
    return whole ? count : -1;
}

QList<RawName> unrepresentableNames(const QString &folder)
{
    QList<RawName> names;
    const QByteArray base = QFile::encodeName(folder);
    DIR *dir = ::opendir(base.constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || QFile::encodeName(QFile::decodeName(name)) == name)
            continue;
        struct stat info {};
        const bool file = ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
        names.append({name, file});
    }
    ::closedir(dir);
    return names;
}

namespace {

// Reads fd to its end, hashing, and writes each piece to out when out >= 0. False on any error.
bool pumpAndHash(int in, int out, QByteArray *sha256, qint64 *size)
{
    static thread_local QByteArray buffer(1 << 20, Qt::Uninitialized);
    Sha256 hasher;
    *size = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        hasher.add(buffer.constData(), got);
        *size += got;
        for (ssize_t put = 0; out >= 0 && put < got;) {
            const ssize_t n = ::write(out, buffer.constData() + put, size_t(got - put));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            put += n;
        }
    }
    *sha256 = hasher.hex();
    return true;
}

} // namespace

bool copyRawFile(const QByteArray &from, const QByteArray &to, QByteArray *sha256, qint64 *size)
{
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (in < 0)
        return false;
    struct stat info {};
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(in);
        return false;
    }
    const int slash = to.lastIndexOf('/');
    const QByteArray temporary = to.left(slash + 1) + ".corvel3-raw-" + QByteArray::number(::getpid()) + ".part";
    const int out = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = pumpAndHash(in, out, sha256, size);
    const struct timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    ::futimens(out, times);   // a lost date is no reason to fail the copy
    ok = ::fsync(out) == 0 && ok;
    ok = ::close(out) == 0 && ok;
    ::close(in);
    if (ok && ::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        // A file system that cannot refuse to replace: a link never replaces either.
        ok = (errno == EINVAL || errno == ENOSYS) && ::link(temporary.constData(), to.constData()) == 0;
    }
    ::unlink(temporary.constData());
    return ok;
}

QByteArray rawFileSha256(const QByteArray &path, qint64 *size)
{
    *size = -1;
    const int in = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (in < 0)
        return QByteArray();
    struct stat info {};
    QByteArray sha;
    qint64 read = 0;
    if (::fstat(in, &info) == 0 && S_ISREG(info.st_mode) && pumpAndHash(in, -1, &sha, &read))
        *size = read;
    ::close(in);
    return *size < 0 ? QByteArray() : sha;
}

int copyFileContents(QFile &source, QFile &destination, qint64 *copied, qint64 limit)
{
    *copied = 0;
    const int in = source.handle();
    const int out = destination.handle();
    if (in < 0 || out < 0)
        return 0;
    bool first = true;
    for (;;) {
        const qint64 piece = limit < 0 ? qint64(1) << 30 : std::min(limit - *copied, qint64(1) << 30);
        if (piece <= 0)
            return 1;
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(piece), 0);
        if (n > 0) {
            first = false;
            *copied += n;
            continue;
        }
        if (n == 0)
            return 1;
        if (errno == EINTR)
            continue;
        // Older kernels, other file systems or another mount: nothing has been written yet.
        if (first && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP
                      || errno == EBADF || errno == EPERM))
            return 0;
        return -1;
    }
}

bool syncFile(QFile &file)
{
    return file.handle() >= 0 && ::fsync(file.handle()) == 0;
}

bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool moveNoReplace(const QString &from, const QString &to)
{
    if (::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD, QFile::encodeName(to).constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    // A file system that cannot refuse to replace: Qt looks first, then renames.
    return (errno == EINVAL || errno == ENOSYS) && QFile::rename(from, to);
}

bool keepModificationTime(QFile &from, QFile &to)
{
    struct stat info {};
    if (::fstat(from.handle(), &info) != 0)
        return false;
    const struct timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    return ::futimens(to.handle(), times) == 0;
}

bool flushToDevice(const QStringList &files, const QString &root)
{
    bool ok = true;
    for (const QString &file : files) {
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0)
            ok = false;
        if (fd >= 0)
            ::close(fd);
    }
    // The folders' entries and the volume's tables go out with the volume-wide sync.
    const int rootFd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0 || ::syncfs(rootFd) != 0)
        ok = false;
    if (rootFd >= 0)
        ::close(rootFd);
    return ok;
}

Writeback writeBackVolume(const QString &root)
{
    const int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Writeback::Failed;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok ? Writeback::Done : Writeback::Failed;
}

namespace {

const EVP_MD *sha256Digest()
{
#if OPENSSL_VERSION_NUMBER >= 0x30000000L
    // Looked up once: the lookup behind EVP_sha256() at every start costs more than hashing a
    // small song.
    static EVP_MD *const fetched = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    if (fetched)
        return fetched;
#endif
    return EVP_sha256();
}

} // namespace

Sha256::Sha256() : state(EVP_MD_CTX_new())
{
    EVP_DigestInit_ex(static_cast<EVP_MD_CTX *>(state), sha256Digest(), nullptr);
}

Sha256::~Sha256() { EVP_MD_CTX_free(static_cast<EVP_MD_CTX *>(state)); }

void Sha256::add(const char *data, qint64 size)
{
    EVP_DigestUpdate(static_cast<EVP_MD_CTX *>(state), data, size_t(size));
}

QByteArray Sha256::hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    auto *context = static_cast<EVP_MD_CTX *>(state);
    EVP_DigestFinal_ex(context, digest, &length);
    EVP_DigestInit_ex(context, sha256Digest(), nullptr);
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}

bool hardLink(const QString &existing, const QString &link)
{
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) == 0;
}

bool regularFile(const QString &path, qint64 *size, qint64 *modifiedMs)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    *size = qint64(info.st_size);
    *modifiedMs = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return true;
}

qint64 linkCount(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? qint64(info.st_nlink) : 0;
}

} // namespace platform
