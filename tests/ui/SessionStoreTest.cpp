// The kept file on the disk: written whole or not at all, set aside rather
// than overwritten, never through a link, and kept trying where it cannot
// be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>

#include "SessionSettings.h"
#include "SessionStore.h"
#include "SessionTestSupport.h"

namespace {

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

}  // namespace
