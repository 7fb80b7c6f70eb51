// The kept file on the disk: written whole or not at all, set aside rather
// than overwritten, never through a link, and kept trying where it cannot
// be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <string>

#include "SessionSettings.h"
#include "SessionStore.h"
#include "SessionTestSupport.h"

namespace {

// A small file system of its own at `path`, which a test can fill or make
// read-only whoever runs it (the superuser writes into any read-only
// directory, but not onto a read-only file system). Only the superuser can
// make one; Error() says why there is none.
class SmallDisk {
  public:
    explicit SmallDisk(const QString& path) : m_path(QFile::encodeName(path)) {
        QDir().mkpath(path);
        if (::mount("tmpfs", m_path.constData(), "tmpfs", 0, "size=64k,mode=0700") == 0)
            m_mounted = true;
        else
            m_error = std::strerror(errno);
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Error() const { return m_error; }
    bool MakeReadOnly() {
        return ::mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // Fills it with a file of its own until `left` bytes stay free.
    void FillLeaving(off_t left) {
        const int fd = ::open((m_path + "/filler").constData(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray page(4096, 'x');
        off_t size = 0;
        for (ssize_t n; (n = ::write(fd, page.constData(), page.size())) > 0;)
            size += n;
        ASSERT_EQ(::ftruncate(fd, size > left ? size - left : 0), 0);
        ::close(fd);
    }

  private:
    QByteArray m_path;
    bool m_mounted = false;
    std::string m_error;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(SessionStoreTest, AKillAtAnyMomentLeavesAWholeFileWithEveryCompletedWrite) {
    TemporaryXdgHome home;
    for (int run = 1; run <= 50; ++run) {
        QProcess writer;
        writer.start(QStringLiteral(TALLYFERN_SESSION_WRITER),
                     {home.DataDirectory(), QString::number(run)});
        // Killed once it is writing, at a random moment of its writes.
        ASSERT_TRUE(writer.waitForReadyRead(10000));
        QThread::msleep(QRandomGenerator::global()->bounded(0, 30));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished();
        const QList<QByteArray> written = writer.readAllStandardOutput().split('\n');
        const int completed = written.size() > 1 ? written[written.size() - 2].toInt() : 0;

        SessionStore store(home.DataDirectory());
        const SessionStore::Loaded loaded = store.Load();
        ASSERT_FALSE(loaded.problems.Any()) << "run " << run;
        ASSERT_FALSE(loaded.refused) << "run " << run;
        for (int i = 1; i <= completed; ++i) {
            ASSERT_TRUE(loaded.session.history.contains(QStringLiteral("%1+%2").arg(run).arg(i)))
                << "run " << run << " lost entry " << i << " of " << completed;
        }
    }
}

TEST(SessionStoreTest, AFileThatDoesNotReadWholeIsSetAsideNeverOverwritten) {
    TemporaryXdgHome home;
    QDir().mkpath(home.DataDirectory());
    const QByteArray first = "{\"format\":\"tallyfern-session\",\"version\":1}\n{\"history\":\"1+";
    WriteAll(home.SessionFile(), first);
    SessionStore store(home.DataDirectory());
    EXPECT_EQ(store.Load().setAsideTo, home.SessionFile() + ".bad");
    EXPECT_FALSE(QFileInfo::exists(home.SessionFile()));

    // A second bad file finds the first one's place taken.
    WriteAll(home.SessionFile(), "garbage");
    EXPECT_EQ(SessionStore(home.DataDirectory()).Load().setAsideTo, home.SessionFile() + ".bad.1");
    EXPECT_EQ(ReadAll(home.SessionFile() + ".bad"), first);

    // 100 MB is not read at all, and takes no time.
    QFile huge(home.SessionFile());
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(100) << 20));
    huge.close();
    QElapsedTimer timer;
    timer.start();
    const SessionStore::Loaded loaded = SessionStore(home.DataDirectory()).Load();
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_TRUE(loaded.problems.tooLarge);
    EXPECT_EQ(loaded.setAsideTo, home.SessionFile() + ".bad.2");
}

TEST(SessionStoreTest, ALinkOrAnotherUsersFileInThePlaceIsNeitherReadNorWritten) {
    TemporaryXdgHome home;
    QDir().mkpath(home.DataDirectory());
    const QString target = home.Root() + "/elsewhere";
    const QByteArray theirs = "{\"format\":\"tallyfern-session\",\"version\":1}\n";
    WriteAll(target, theirs);
    ASSERT_TRUE(QFile::link(target, home.SessionFile()));
    SessionStore store(home.DataDirectory());
    EXPECT_TRUE(store.Load().refused);
    EXPECT_FALSE(store.Save({{"1+1"}, {}}));
    EXPECT_EQ(ReadAll(target), theirs);
    EXPECT_TRUE(QFileInfo(home.SessionFile()).isSymLink());

    if (::getuid() != 0)
        return;  // only the superuser can give a file away
    QFile::remove(home.SessionFile());
    WriteAll(home.SessionFile(), theirs);
    ASSERT_EQ(::chown(QFile::encodeName(home.SessionFile()).constData(), 65534, 65534), 0);
    EXPECT_TRUE(SessionStore(home.DataDirectory()).Load().refused);
    EXPECT_FALSE(SessionStore(home.DataDirectory()).Save({{"1+1"}, {}}));
    EXPECT_EQ(ReadAll(home.SessionFile()), theirs);
}

TEST(SessionStoreTest, AFullDiskKeepsTheWholeFileAndSaysSo) {
    // With room for the lock but not the file, and with none at all.
    for (const off_t left : {off_t(8) << 10, off_t(0)}) {
        SCOPED_TRACE(left);
        TemporaryXdgHome home;
        SmallDisk disk(home.DataDirectory());
        if (!disk.Mounted())
            GTEST_SKIP() << "no small file system to fill: " << disk.Error();
        KeptSession session;
        for (int i = 0; i < 600; ++i)
            session.history << QStringLiteral("%1*%1+1000").arg(i);
        session.variables = {{"rate", "0.05"}};
        SessionStore store(home.DataDirectory());
        ASSERT_TRUE(store.Save(session));
        const QByteArray whole = ReadAll(home.SessionFile());
        disk.FillLeaving(left);
        session.history << "6*7";
        EXPECT_FALSE(store.Save(session));
        EXPECT_TRUE(store.LastError().contains("磁盘已满")) << store.LastError().toStdString();
        EXPECT_TRUE(ReadAll(home.SessionFile()) == whole) << "the kept file changed";
    }
}

TEST(SessionStoreTest, APipeOrADirectoryInTheFilesOrTheLocksPlaceIsRefusedAtOnce) {
    const QByteArray kept =
        "{\"format\":\"tallyfern-session\",\"version\":1}\n{\"history\":\"1+1\"}\n";
    const struct {
        const char* why;
        const char* place;  // in the data directory
        bool pipe;          // else a directory
        QStringList read;
    } cases[] = {
        {"a pipe as the lock: the file is still read", "session.jsonl.lock", true, {"1+1"}},
        {"a directory as the lock", "session.jsonl.lock", false, {"1+1"}},
        {"a pipe as the file", "session.jsonl", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TemporaryXdgHome home;
        QDir().mkpath(home.DataDirectory());
        const QString place = home.DataDirectory() + '/' + c.place;
        if (place != home.SessionFile())
            WriteAll(home.SessionFile(), kept);
        ASSERT_EQ(c.pipe ? ::mkfifo(QFile::encodeName(place).constData(), 0600)
                         : ::mkdir(QFile::encodeName(place).constData(), 0700),
                  0);
        QElapsedTimer timer;
        timer.start();
        SessionStore store(home.DataDirectory());
        EXPECT_EQ(store.Load().session.history, c.read);
        EXPECT_FALSE(store.Save({{"2+2"}, {}}));
        EXPECT_TRUE(store.LastError().contains(place)) << store.LastError().toStdString();
        EXPECT_LT(timer.elapsed(), 1000);
    }
}

TEST(SessionStoreTest, APipeInTheSettingsPlaceIsNeitherReadNorWritten) {
    for (const char* suffix : {"", ".lock"}) {
        SCOPED_TRACE(suffix);
        TemporaryXdgHome home;
        QDir().mkpath(QFileInfo(home.ConfigFile()).path());
        ASSERT_EQ(::mkfifo(QFile::encodeName(home.ConfigFile() + suffix).constData(), 0600), 0);
        SessionSettings settings;
        EXPECT_TRUE(settings.KeepsSession());
        settings.SetSwitch("computeWhileTyping", false);
        EXPECT_FALSE(settings.Written());
        EXPECT_FALSE(QFileInfo(home.ConfigFile() + suffix).isFile());
    }
}

TEST(SessionStoreTest, KeepingTurnedOffInAnotherWindowIsSeenBeforeTheNextWrite) {
    TemporaryXdgHome home;
    SessionSettings settings;
    settings.SetKeepsSession(true);
    ASSERT_TRUE(settings.KeepsSession());
    // As the other window's process writes it, past this process's settings.
    WriteAll(home.ConfigFile(), "[session]\nkeep=false\n");
    EXPECT_FALSE(settings.KeepsSession());
}

// The other window turns keeping off, then deletes the file under the lock:
// a write that asked before the lock was free would bring the file back.
TEST(SessionStoreTest, KeepingIsAskedAgainUnderTheLockBeforeAWrite) {
    TemporaryXdgHome home;
    SessionStore store(home.DataDirectory());
    KeptSession session;
    session.history = {QStringLiteral("1+1")};
    bool askedUnderTheLock = false;
    EXPECT_TRUE(store.Save(session, [&] {
        QLockFile other(store.FilePath() + QStringLiteral(".lock"));
        askedUnderTheLock = !other.tryLock(0);
        return false;
    }));
    EXPECT_TRUE(askedUnderTheLock);
    EXPECT_FALSE(QFileInfo::exists(store.FilePath()));
    EXPECT_TRUE(store.Save(session, [] { return true; }));
    EXPECT_TRUE(QFileInfo::exists(store.FilePath()));
}

TEST(SessionStoreTest, AFileThatCannotBeReplacedIsReadAndLeftAsItIs) {
    const bool superuser = ::getuid() == 0;
    const struct {
        const char* why;
        const char* version;
        bool readOnlyDirectory;
        const char* reason;
    } cases[] = {
        {"a newer version's file", "2", false, "更新的版本"},
        {"a damaged file in a read-only directory", "1", true,
         superuser ? "文件系统只读" : "没有写入权限"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TemporaryXdgHome home;
        std::optional<SmallDisk> disk;
        if (c.readOnlyDirectory && superuser) {
            disk.emplace(home.DataDirectory());
            if (!disk->Mounted())
                GTEST_SKIP() << "no file system to make read-only: " << disk->Error();
        }
        QDir().mkpath(home.DataDirectory());
        const QByteArray bytes = QByteArray("{\"format\":\"tallyfern-session\",\"version\":") +
                                 c.version + "}\n{\"history\":\"a\"}\n{\"history\":\"b";
        WriteAll(home.SessionFile(), bytes);
        if (c.readOnlyDirectory) {
            ASSERT_TRUE(disk ? disk->MakeReadOnly()
                             : QFile::setPermissions(home.DataDirectory(),
                                                     QFile::ReadOwner | QFile::ExeOwner));
        }
        SessionStore store(home.DataDirectory());
        const SessionStore::Loaded loaded = store.Load();
        EXPECT_EQ(loaded.session.history, QStringList{"a"});
        EXPECT_FALSE(loaded.refused);
        EXPECT_TRUE(loaded.leftAlone);
        EXPECT_EQ(loaded.setAsideTo, QString());
        EXPECT_TRUE(store.LastError().contains(c.reason)) << store.LastError().toStdString();
        EXPECT_FALSE(store.Save({{"a", "c"}, {}}));
        EXPECT_TRUE(store.LastError().contains(c.reason)) << store.LastError().toStdString();
        EXPECT_TRUE(ReadAll(home.SessionFile()) == bytes) << "the kept file changed";
        EXPECT_EQ(home.Contents().filter("session.jsonl").size(), 1);
        QFile::setPermissions(home.DataDirectory(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

}  // namespace
