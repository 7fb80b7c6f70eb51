// Searching the history from the keyboard and copying what it found.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "CalcWindowTest.h"
#include "ExpressionEdit.h"
#include "SkinButton.h"
#include "UiTestSupport.h"

namespace {

class HistorySearchTest : public CalcWindowTest {
  protected:
    ExpressionEdit* Expr() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    QListView* History() const { return ControlNamed<QListView>(m_window.get(), "historyList"); }
    QLineEdit* Filter() const { return ControlNamed<QLineEdit>(m_window.get(), "historyFilter"); }
};

TEST_F(HistorySearchTest, CtrlFFiltersEnterRecallsAndEscapeShowsAllInTheSameWindow) {
    QStringList earlier;
    for (int i = 0; i < 1000; ++i)
        earlier << QStringLiteral("%1+%2").arg(i).arg(i % 7);
    m_window->History().Append(earlier);
    Expr()->setFocus();
    QTest::keyClicks(Expr(), "6*7");
    QTest::keyClick(Expr(), Qt::Key_Return);
    QTest::mouseClick(ControlNamed<SkinButton>(m_window.get(), "modeButton"), Qt::LeftButton);
    const QRect geometry = m_window->geometry();
    const QRect listPlace = History()->geometry();
    Expr()->clear();

    History()->setFocus();
    QTest::keyClick(History(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Filter()->isVisible());
    ASSERT_TRUE(Filter()->hasFocus());
    EXPECT_FALSE(Filter()->geometry().intersects(listPlace));
    QTest::keyClicks(Filter(), "6*7");
    ASSERT_EQ(History()->model()->rowCount(), 1);
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(History())->child(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(QAccessible::Name), "6*7 = 42");

    QTest::keyClick(Filter(), Qt::Key_Return);
    EXPECT_EQ(Expr()->text(), "6*7");

    QTest::keyClick(Filter(), Qt::Key_Escape);
    EXPECT_FALSE(Filter()->isVisible());
    EXPECT_EQ(History()->model()->rowCount(), 1001);
    EXPECT_EQ(History()->currentIndex().data().toString(), "6*7");
    EXPECT_EQ(Expr()->text(), "6*7") << "Escape in the field clears no expression";
    EXPECT_EQ(m_window->geometry(), geometry);
    EXPECT_EQ(History()->geometry(), listPlace);

    // Ctrl+C in the history copies the entries selected, one a line.
    History()->selectionModel()->select(History()->model()->index(3, 0),
                                        QItemSelectionModel::Select);
    QTest::keyClick(History(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "3+3\n6*7\n");

    // Escape in the list while it filters closes the filter too.
    QTest::keyClick(History(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(Filter(), "3+3");
    History()->setFocus();
    QTest::keyClick(History(), Qt::Key_Escape);
    EXPECT_FALSE(Filter()->isVisible());
    EXPECT_EQ(History()->model()->rowCount(), 1001);
    EXPECT_EQ(Expr()->text(), "6*7");
}

}  // namespace
