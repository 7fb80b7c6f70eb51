#include "SessionStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

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

}  // namespace

SessionStore::SessionStore(QString directory) : m_directory(std::move(directory)) {}

std::unique_ptr<QLockFile> SessionStore::Lock() {
    auto lock = std::make_unique<QLockFile>(FilePath() + QStringLiteral(".lock"));
    lock->setStaleLockTime(kStaleLockMs);
    if (!lock->tryLock(kLockWaitMs))
        m_lastError = QStringLiteral("%1: locked by another window").arg(FilePath());
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
        m_lastError = QStringLiteral("%1: not a directory of this user").arg(m_directory);
        return false;
    }
    if (!info.exists()) {
        const QString parent = info.absolutePath();
        if (!QDir().mkpath(parent) || !QDir().mkdir(m_directory, kOwnerOnlyDirectory)) {
            m_lastError = QStringLiteral("%1: cannot create the directory").arg(m_directory);
            return false;
        }
    }
    return true;
}

bool SessionStore::SetAside(QString* setAsideTo) {
    for (int i = 0; i < kMaxSetAside; ++i) {
        const QString aside =
            FilePath() + QStringLiteral(".bad") + (i ? QStringLiteral(".%1").arg(i) : QString());
        if (QFileInfo(aside).exists() || QFileInfo(aside).isSymLink())
            continue;
        if (!QFile::rename(FilePath(), aside))
            break;
        *setAsideTo = aside;
        return true;
    }
    m_lastError = QStringLiteral("%1: cannot move the unreadable file aside").arg(FilePath());
    return false;
}

std::optional<SessionReadResult> SessionStore::ReadFile(QString* setAsideTo) {
    QFile file(FilePath());
    // Not followed: opened only after the check, and never through a link.
    if (CheckFile(FilePath()) != Access::Usable || !file.open(QIODevice::ReadOnly)) {
        m_lastError = QStringLiteral("%1: not a readable file of this user").arg(FilePath());
        return std::nullopt;
    }
    SessionReadResult read;
    if (file.size() > kMaxSessionFileBytes)
        read.problems.tooLarge = true;
    else
        read = ParseSessionFile(file.readAll());
    file.close();
    if (read.problems.Any() && !SetAside(setAsideTo))
        return std::nullopt;
    return read;
}

SessionStore::Loaded SessionStore::Load() {
    Loaded loaded;
    const Access access = CheckFile(FilePath());
    if (access == Access::Missing)
        return loaded;
    const auto lock = Lock();
    std::optional<SessionReadResult> read =
        access == Access::Usable ? ReadFile(&loaded.setAsideTo) : std::nullopt;
    if (!read) {
        loaded.refused = true;
        if (access == Access::Refused)
            m_lastError = QStringLiteral("%1: not a file of this user").arg(FilePath());
        return loaded;
    }
    loaded.session = std::move(read->session);
    loaded.problems = read->problems;
    // A file set aside holds nothing any more: all of it is written anew.
    if (loaded.setAsideTo.isEmpty())
        m_base = loaded.session;
    return loaded;
}

bool SessionStore::WriteFile(const KeptSession& session) {
    QSaveFile file(FilePath());
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kOwnerOnlyFile)) {
        m_lastError = QStringLiteral("%1: %2").arg(FilePath(), file.errorString());
        return false;
    }
    file.write(SerializeSession(session));
    if (!file.commit()) {
        m_lastError = QStringLiteral("%1: %2").arg(FilePath(), file.errorString());
        return false;
    }
    SyncDirectory(m_directory);
    return true;
}

bool SessionStore::Save(const KeptSession& mine) {
    if (!MakeDirectory())
        return false;
    const auto lock = Lock();
    if (!lock->isLocked())
        return false;
    KeptSession disk;
    switch (CheckFile(FilePath())) {
        case Access::Missing:
            break;
        case Access::Refused:
            m_lastError = QStringLiteral("%1: not a file of this user").arg(FilePath());
            return false;
        case Access::Usable: {
            if (m_writtenIdentity && Identify() == m_writtenIdentity) {
                disk = m_written;
                break;
            }
            // What another window wrote since, kept whole or set aside.
            QString setAside;
            std::optional<SessionReadResult> read = ReadFile(&setAside);
            if (!read)
                return false;
            disk = std::move(read->session);
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
    return QFile::remove(FilePath());
}
