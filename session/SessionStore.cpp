#include "SessionStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <cerrno>

#include "SessionMerge.h"

namespace {

const QString kFileName = QStringLiteral("session.jsonl");
// A second window waits this long for the first to finish writing. A lock
// older than the stale time is broken: its holder was killed before it
// could say who it is, and no write holds the lock that long.
constexpr int kLockWaitMs = 3000;
constexpr int kStaleLockMs = 2000;
// Files set aside are numbered from ".bad" on; never one is overwritten.
constexpr int kMaxSetAside = 100;

constexpr QFile::Permissions kOwnerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kOwnerOnlyDirectory =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// The rename is durable only once the directory's entry is on the disk too.
void SyncDirectory(const QString& directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Why a file could not be written, in the user's words where we have them.
QString SystemReason(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return SessionStore::tr("磁盘已满");
        case EROFS:
            return SessionStore::tr("文件系统只读");
        case EACCES:
        case EPERM:
            return SessionStore::tr("没有写入权限");
        default:
            return qt_error_string(error);
    }
}

// Why no file can be made in `directory`: Qt's lock says only that it
// could not make its file, and neither a full disk nor a read-only one is
// another window holding the lock.
QString WhyNotWritable(const QString& directory) {
    const QByteArray name = QFile::encodeName(directory);
    if (::access(name.constData(), W_OK) != 0)
        return SystemReason(errno);
    struct statvfs space {};
    if (::statvfs(name.constData(), &space) == 0 && space.f_bavail == 0)
        return SystemReason(ENOSPC);
    return SessionStore::tr("原因不明");
}

}  // namespace

SessionStore::SessionStore(QString directory) : m_directory(std::move(directory)) {}

std::unique_ptr<QLockFile> SessionStore::Lock() {
    const QString path = FilePath() + QStringLiteral(".lock");
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(kStaleLockMs);
    // The lock opens what stands in its place to learn who holds it: a
    // pipe there would block the window, a directory would be waited on in
    // vain at every write.
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        m_lastError = tr("%1：不是普通文件，无法加锁").arg(path);
        return lock;
    }
    if (lock->tryLock(kLockWaitMs))
        return lock;
    if (lock->error() == QLockFile::LockFailedError)
        m_lastError = tr("%1：已被另一个窗口锁定").arg(FilePath());
    else
        m_lastError = tr("%1：无法加锁（%2）").arg(path, WhyNotWritable(m_directory));
    return lock;
}

QString SessionStore::FilePath() const {
    return m_directory + QLatin1Char('/') + kFileName;
}

std::optional<SessionStore::FileIdentity> SessionStore::Identify() const {
    struct stat status {};
    if (::lstat(QFile::encodeName(FilePath()).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino, status.st_size, status.st_ctim.tv_sec,
                        status.st_ctim.tv_nsec};
}

SessionStore::Access SessionStore::CheckFile(const QString& path) const {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return Access::Missing;
    if (info.isSymLink() || !info.isFile() || info.ownerId() != ::getuid())
        return Access::Refused;
    return Access::Usable;
}

bool SessionStore::MakeDirectory() {
    const QFileInfo info(m_directory);
    if (info.isSymLink() || (info.exists() && (!info.isDir() || info.ownerId() != ::getuid()))) {
        m_lastError = tr("%1：不是本用户的目录").arg(m_directory);
        return false;
    }
    if (!info.exists()) {
        const QString parent = info.absolutePath();
        if (!QDir().mkpath(parent) || !QDir().mkdir(m_directory, kOwnerOnlyDirectory)) {
            QString existing = parent;
            while (!QFileInfo::exists(existing) && existing != QDir::rootPath())
                existing = QFileInfo(existing).absolutePath();
            m_lastError = tr("%1：无法创建目录（%2）").arg(m_directory, WhyNotWritable(existing));
            return false;
        }
    }
    return true;
}

bool SessionStore::SetAside(QString* setAsideTo) {
    int error = 0;
    for (int i = 0; i < kMaxSetAside; ++i) {
        const QString aside =
            FilePath() + QStringLiteral(".bad") + (i ? QStringLiteral(".%1").arg(i) : QString());
        if (QFileInfo(aside).exists() || QFileInfo(aside).isSymLink())
            continue;
        if (::rename(QFile::encodeName(FilePath()).constData(),
                     QFile::encodeName(aside).constData()) != 0) {
            error = errno;
            break;
        }
        *setAsideTo = aside;
        return true;
    }
    m_lastError = tr("%1：读不全，也无法移到一旁（%2），保持原样，不写入")
                      .arg(FilePath(), error ? SystemReason(error) : tr("已有太多移到一旁的文件"));
    return false;
}

std::optional<SessionStore::FileRead> SessionStore::ReadFile(QString* setAsideTo) {
    // Opened without following a link and without waiting for a pipe's
    // writer, then checked: what is read is what was checked.
    const int fd = ::open(QFile::encodeName(FilePath()).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    QFile file;
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::getuid() ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0 && !file.isOpen())
            ::close(fd);
        m_lastError = tr("%1：不是本用户可读的普通文件").arg(FilePath());
        return std::nullopt;
    }
    FileRead result;
    if (status.st_size > kMaxSessionFileBytes)
        result.read.problems.tooLarge = true;
    else
        result.read = ParseSessionFile(file.readAll());
    file.close();
    if (result.read.problems.newerVersion) {
        // A newer version's file is that version's: what this one
        // understands of it is read, and nothing is written over it.
        m_lastError = tr("%1：来自更新的版本，本版本只读取，不写入").arg(FilePath());
        result.leftAlone = true;
        m_leftAloneIdentity = FileIdentity{status.st_dev, status.st_ino, status.st_size,
                                           status.st_ctim.tv_sec, status.st_ctim.tv_nsec};
        m_leftAloneReason = m_lastError;
    } else if (result.read.problems.Any() && !SetAside(setAsideTo)) {
        result.leftAlone = true;
    }
    return result;
}

SessionStore::Loaded SessionStore::Load() {
    Loaded loaded;
    const Access access = CheckFile(FilePath());
    if (access == Access::Missing)
        return loaded;
    const auto lock = Lock();
    std::optional<FileRead> read =
        access == Access::Usable ? ReadFile(&loaded.setAsideTo) : std::nullopt;
    if (!read) {
        loaded.refused = true;
        if (access == Access::Refused)
            m_lastError = tr("%1：不是本用户的普通文件").arg(FilePath());
        return loaded;
    }
    loaded.session = std::move(read->read.session);
    loaded.problems = read->read.problems;
    loaded.leftAlone = read->leftAlone;
    // A file set aside holds nothing any more: all of it is written anew.
    if (loaded.setAsideTo.isEmpty())
        m_base = loaded.session;
    return loaded;
}

bool SessionStore::WriteFile(const KeptSession& session) {
    const auto fail = [this](const QString& reason) {
        m_lastError = tr("%1：%2").arg(FilePath(), reason);
        return false;
    };
    QSaveFile file(FilePath());
    // Unbuffered, so that a failed write shows here: the commit flushes
    // what is buffered without looking at the result, and would rename a
    // cut file over the whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !file.setPermissions(kOwnerOnlyFile))
        return fail(file.errorString());
    const QByteArray bytes = SerializeSession(session);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return fail(errno ? SystemReason(errno) : file.errorString());
    // On the disk before it takes the old file's name; some file systems
    // report a full disk only here.
    if (::fsync(file.handle()) != 0)
        return fail(SystemReason(errno));
    if (!file.commit())
        return fail(file.errorString());
    SyncDirectory(m_directory);
    return true;
}

bool SessionStore::Save(const KeptSession& mine, const std::function<bool()>& stillKept) {
    if (!MakeDirectory())
        return false;
    const auto lock = Lock();
    if (!lock->isLocked())
        return false;
    if (stillKept && !stillKept())
        return true;
    KeptSession disk;
    switch (CheckFile(FilePath())) {
        case Access::Missing:
            break;
        case Access::Refused:
            m_lastError = tr("%1：不是本用户的普通文件").arg(FilePath());
            return false;
        case Access::Usable: {
            const std::optional<FileIdentity> identity = Identify();
            if (m_writtenIdentity && identity == m_writtenIdentity) {
                disk = m_written;
                break;
            }
            if (m_leftAloneIdentity && identity == m_leftAloneIdentity) {
                m_lastError = m_leftAloneReason;
                return false;
            }
            // What another window wrote since, kept whole or set aside.
            QString setAside;
            std::optional<FileRead> read = ReadFile(&setAside);
            if (!read || read->leftAlone)
                return false;
            disk = std::move(read->read.session);
            if (!setAside.isEmpty())
                m_base = {};
            break;
        }
    }
    KeptSession merged = MergeSessions(disk, mine, m_base);
    if (!WriteFile(merged))
        return false;
    m_base = mine;
    m_written = std::move(merged);
    m_writtenIdentity = Identify();
    return true;
}

bool SessionStore::Forget() {
    m_base = {};
    m_writtenIdentity.reset();
    const auto lock = Lock();
    if (CheckFile(FilePath()) != Access::Usable)
        return true;
    // A newer version's file is that version's to forget.
    if (m_leftAloneIdentity && Identify() == m_leftAloneIdentity)
        return false;
    return QFile::remove(FilePath());
}
