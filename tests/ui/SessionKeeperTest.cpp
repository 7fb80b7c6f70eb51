// The keeper of a session against bare models and a bare widget: it puts a
// kept session back without writing a byte, and from then on writes what
// changes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include "HistoryModel.h"
#include "SessionKeeper.h"
#include "SessionTestSupport.h"
#include "VariablesModel.h"

namespace {

// The file's identity: a write makes a new file, so a new one means a
// write.
std::pair<ino_t, off_t> Identity(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {0, 0};
    return {info.st_ino, info.st_size};
}

struct Models {
    HistoryModel history;
    VariablesModel variables;
    SessionKeeper keeper{history, variables};
};

TEST(SessionKeeperTest, EditsAreSavedAndComeBackAndTheLoadWritesNothing) {
    const TemporaryXdgHome home;
    {
        Models first;
        first.keeper.Load();
        EXPECT_EQ(home.Contents(), QStringList()) << "nothing kept, nothing written";
        first.history.Add("1+2");
        const int row = first.variables.AddUnnamed();
        first.variables.setData(first.variables.index(row, 1), "0.05");
        first.variables.setData(first.variables.index(row, 0), "rate");
        first.variables.AddUnnamed();  // never named: never kept
        first.history.Add("3*4");
    }
    Models second;
    const auto written = Identity(home.SessionFile());
    ASSERT_NE(written.first, 0u);
    second.keeper.Load();
    EXPECT_EQ(second.history.Entries(), (QStringList{"1+2", "3*4"}));
    EXPECT_EQ(second.variables.Variables(), (QList<VariableText>{{"rate", "0.05"}}));
    EXPECT_EQ(second.variables.Table().Find("rate"), 0.05);
    EXPECT_EQ(Identity(home.SessionFile()), written);

    // Each kind of change is written: a value, a removed row, a cleared
    // history.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"value", [&] { second.variables.setData(second.variables.index(0, 1), "2"); }},
        {"removal", [&] { second.variables.removeRow(0); }},
        {"cleared", [&] { second.history.Clear(); }},
    };
    for (const auto& [what, change] : changes) {
        const auto before = Identity(home.SessionFile());
        change();
        EXPECT_NE(Identity(home.SessionFile()), before) << what;
    }
    Models third;
    third.keeper.Load();
    EXPECT_TRUE(third.history.Entries().isEmpty());
    EXPECT_EQ(third.variables.rowCount(), 0);
}

// A window's place comes back only where a screen shows enough of it.
TEST(SessionKeeperTest, APlaceIsPutBackOnlyWhereAScreenShowsEnoughOfTheWindow) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint fresh(50, 60);
    struct Case {
        const char* what;
        QVariant position;
        QPoint expected;
    };
    const Case cases[] = {
        {"on the screen", QPoint(100, 100), QPoint(100, 100)},
        // A compact window is less tall than the part of a taller one that
        // must show.
        {"at the bottom edge", QPoint(100, screen.bottom() - 30),
         QPoint(100, screen.bottom() - 30)},
        {"far off", QPoint(-5000, -5000), fresh},
        {"where an edge overflows", QPoint(2147483124, 2147483343), fresh},
        {"not a place", QString("here"), fresh},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TemporaryXdgHome home;
        QDir().mkpath(QFileInfo(home.ConfigFile()).path());
        QSettings(home.ConfigFile(), QSettings::IniFormat).setValue("window/position", c.position);
        const auto settings = Identity(home.ConfigFile());
        QWidget window;
        window.setFixedSize(525, 31);
        window.move(fresh);
        QAction expanded;
        QAction topMost;
        expanded.setCheckable(true);
        topMost.setCheckable(true);
        Models models;
        models.keeper.Load();
        models.keeper.KeepWindow(window, expanded, topMost);
        EXPECT_EQ(window.pos(), c.expected);
        EXPECT_EQ(Identity(home.ConfigFile()), settings) << "putting back writes nothing";
    }
}

}  // namespace
