// The window keeps its history, variables and state between runs: each
// "run" is a new window object over the same temporary home.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTest>
#include <memory>

#include "CalcDlg.h"
#include "ExpressionEdit.h"
#include "SessionTestSupport.h"
#include "UiTestSupport.h"

namespace {

using Window = std::unique_ptr<CalcDlg>;

class SessionWindowTest : public testing::Test {
  protected:
    Window Open(SessionUse use = SessionUse::Kept) {
        auto window = std::make_unique<CalcDlg>(nullptr, use);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        // A message about the kept file comes once the window shows.
        QCoreApplication::processEvents();
        return window;
    }

    static void Compute(CalcDlg& window, const QString& text) {
        // Enter computes through a shortcut, which goes to the active window.
        QApplication::setActiveWindow(&window);
        auto* box = ControlNamed<ExpressionEdit>(&window, "expressionEdit");
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    // A row added with 添加, named and its value typed, as a user does.
    static void AddVariable(CalcDlg& window, const QString& name, const QString& value) {
        QApplication::setActiveWindow(&window);
        if (!window.IsExpanded())
            ControlNamed<QAbstractButton>(&window, "modeButton")->click();
        QTest::mouseClick(ControlNamed(&window, "addVariableButton"), Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), value);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    static QStringList Variables(CalcDlg& window) {
        QStringList rows;
        for (const VariableText& variable : window.VariableRows().Variables())
            rows << variable.name + "=" + variable.value;
        return rows;
    }

    // A write makes a new file.
    static ino_t Inode(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
    }

    static QAction* Action(const CalcDlg& window, const char* name) {
        return window.findChild<QAction*>(name);
    }

    TemporaryXdgHome m_home;
    MessageBoxRecorder m_boxes;
};

TEST_F(SessionWindowTest, HistoryVariablesSizeSwitchesAndPlaceComeBackInOrder) {
    QPoint placed;
    {
        Window first = Open();
        Compute(*first, "1+2");
        Compute(*first, "3*4");
        ControlNamed<QAbstractButton>(first.get(), "modeButton")->click();
        AddVariable(*first, "rate", "0.05");
        AddVariable(*first, "base", "2");
        ControlNamed<QAbstractButton>(first.get(), "topMostButton")->click();
        first->ComputeWhileTypingAction()->trigger();
        placed = first->pos() + QPoint(30, 20);
        first->move(placed);
        // Killed now, before the move has settled, nothing but the move is
        // lost; a window that closes writes it at once.
        first->close();
    }
    Window second = Open();
    EXPECT_EQ(second->HistoryEntries(), (QStringList{"1+2", "3*4"}));
    EXPECT_EQ(Variables(*second), (QStringList{"rate=0.05", "base=2"}));
    EXPECT_TRUE(second->IsExpanded());
    EXPECT_TRUE(second->IsTopMost());
    EXPECT_FALSE(second->ComputesWhileTyping());
    EXPECT_EQ(second->pos(), placed);
    // Only the user may read what was computed.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const QString& path : {m_home.ConfigFile(), m_home.SessionFile(),
                                QFileInfo(m_home.ConfigFile()).path(), m_home.DataDirectory()})
        EXPECT_EQ(QFileInfo(path).permissions() & others, 0) << path.toStdString();
    Compute(*second, "rate*base");
    EXPECT_EQ(ControlNamed<QLineEdit>(second.get(), "resultBox")->text(), "0.1");
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(SessionWindowTest, TheCompactWindowsPlaceComesBackAndPuttingItBackWritesNothing) {
    QPoint placed;
    {
        Window first = Open();
        Compute(*first, "1+1");
        placed = first->pos() + QPoint(30, 20);
        first->move(placed);
        first->close();
    }
    const ino_t settings = Inode(m_home.ConfigFile());
    const ino_t session = Inode(m_home.SessionFile());
    Window second = Open();
    EXPECT_FALSE(second->IsExpanded());
    EXPECT_EQ(second->pos(), placed);
    QTest::qWait(500);  // longer than a move takes to settle
    EXPECT_EQ(Inode(m_home.ConfigFile()), settings);
    EXPECT_EQ(Inode(m_home.SessionFile()), session);
}

TEST_F(SessionWindowTest, APlaceOffEveryScreenFallsBackToWhereANewWindowOpens) {
    const QPoint fresh = Open(SessionUse::Forgotten)->pos();
    QDir().mkpath(QFileInfo(m_home.ConfigFile()).path());
    QSettings(m_home.ConfigFile(), QSettings::IniFormat)
        .setValue("window/position", QPoint(-5000, -5000));
    EXPECT_EQ(Open()->pos(), fresh);
}

TEST_F(SessionWindowTest, TwoWindowsComputingInTurnKeepBothHistories) {
    Window left = Open();
    Window right = Open();
    Compute(*left, "1+1");
    Compute(*right, "2+2");
    Compute(*left, "3+3");
    AddVariable(*right, "k", "7");
    Compute(*right, "4+4");
    left.reset();
    right.reset();
    Window next = Open();
    EXPECT_EQ(next->HistoryEntries(), (QStringList{"1+1", "2+2", "3+3", "4+4"}));
    EXPECT_EQ(Variables(*next), QStringList{"k=7"});
}

TEST_F(SessionWindowTest, WithKeepingOffOrNoSessionNothingIsReadOrWritten) {
    // --no-session in a fresh home: not a file comes to be.
    {
        Window window = Open(SessionUse::Forgotten);
        Compute(*window, "1+1");
        ControlNamed<QAbstractButton>(window.get(), "modeButton")->click();
        AddVariable(*window, "k", "1");
    }
    EXPECT_EQ(m_home.Contents(), QStringList());

    // The switch turned off deletes what was kept, and then only the
    // switch itself is written.
    {
        Window window = Open();
        Compute(*window, "2+2");
        ASSERT_TRUE(QFile::exists(m_home.SessionFile()));
        const auto menu = window->CreateWindowMenu();
        QAction* keep = Action(*window, "keepSessionAction");
        ASSERT_TRUE(menu->actions().contains(keep));
        ASSERT_TRUE(keep->isChecked());
        keep->trigger();
        EXPECT_FALSE(QFile::exists(m_home.SessionFile()));
        Compute(*window, "3+3");
        ControlNamed<QAbstractButton>(window.get(), "modeButton")->click();
    }
    EXPECT_FALSE(QFile::exists(m_home.SessionFile()));
    QSettings settings(m_home.ConfigFile(), QSettings::IniFormat);
    EXPECT_EQ(settings.allKeys(), QStringList{"session/keep"});

    // A file someone left there is not read while the switch is off.
    {
        QFile file(m_home.SessionFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"format\":\"tallyfern-session\",\"version\":1}\n{\"history\":\"9\"}\n");
    }
    Window off = Open();
    EXPECT_TRUE(off->HistoryEntries().isEmpty());
    EXPECT_FALSE(Action(*off, "keepSessionAction")->isChecked());
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(SessionWindowTest, ADamagedFileIsSetAsideWithOneMessageAndItsGoodEntriesKept) {
    QDir().mkpath(m_home.DataDirectory());
    {
        QFile file(m_home.SessionFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "{\"format\":\"tallyfern-session\",\"version\":1}\n{\"history\":\"1+1\"}\n"
            "{\"variable\":\"k\",\"value\":\"x\"}\n{\"history\":\"2*");
    }
    Window window = Open();
    EXPECT_EQ(window->HistoryEntries(), QStringList{"1+1"});
    ASSERT_EQ(m_boxes.Requests().size(), 1u);
    EXPECT_EQ(m_boxes.Requests()[0].text,
              "上次保留的历史和变量未能全部读回（文件不完整或已损坏，跳过 1 个变量），"
              "原文件已另存为 " +
                  m_home.SessionFile() + ".bad。");
    EXPECT_TRUE(QFile::exists(m_home.SessionFile() + ".bad"));
    // What read well is kept again at once.
    window.reset();
    EXPECT_EQ(Open()->HistoryEntries(), QStringList{"1+1"});
    EXPECT_EQ(m_boxes.Requests().size(), 1u);
}

TEST_F(SessionWindowTest, AnUnwritablePlaceIsToldOnceAndTriedAgainAtEachChange) {
    // A file where the directory belongs, as a full or read-only disk.
    QDir().mkpath(QFileInfo(m_home.DataDirectory()).path());
    QFile(m_home.DataDirectory()).open(QIODevice::WriteOnly);
    Window window = Open();
    Compute(*window, "1+1");
    Compute(*window, "2+2");
    QCoreApplication::processEvents();
    ASSERT_EQ(m_boxes.Requests().size(), 1u);
    EXPECT_TRUE(m_boxes.Requests()[0].text.startsWith("无法保存历史和变量"));
    QFile::remove(m_home.DataDirectory());
    Compute(*window, "3+3");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_boxes.Requests().size(), 1u);
    window.reset();
    EXPECT_EQ(Open()->HistoryEntries(), (QStringList{"1+1", "2+2", "3+3"}));
}

TEST_F(SessionWindowTest, ClearingTheHistoryAsksFirst) {
    Window window = Open();
    Compute(*window, "1+1");
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        WhenModalOpens answer(
            [button](QWidget* box) { static_cast<QMessageBox*>(box)->button(button)->click(); });
        Action(*window, "clearHistoryAction")->trigger();
        EXPECT_EQ(answer.SeenClass(), "QMessageBox");
    }
    EXPECT_TRUE(window->HistoryEntries().isEmpty());
    window.reset();
    EXPECT_TRUE(Open()->HistoryEntries().isEmpty());
}

}  // namespace
