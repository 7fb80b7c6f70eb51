// The help window: opened from the main window's help button, its function
// list and the text of a selected function.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>
#include <optional>

#include "CalcDlg.h"
#include "CalcWindowTest.h"
#include "ExpressionEdit.h"
#include "HelpDlg.h"
#include "UiTestSupport.h"

namespace {

class HelpDlgTest : public CalcWindowTest {
  protected:
    HelpDlg* OpenHelp() {
        QTest::mouseClick(ControlNamed(m_window.get(), "helpButton"), Qt::LeftButton);
        HelpDlg* help = m_window->HelpWindow();
        EXPECT_NE(help, nullptr);
        if (help) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(help));
        }
        return help;
    }

    static QListWidget* List(HelpDlg* help) {
        return ControlNamed<QListWidget>(help, "functionList");
    }
    static QString Shown(HelpDlg* help) {
        return ControlNamed<QPlainTextEdit>(help, "functionDescription")->toPlainText();
    }

    // Clicks the list entry `name` and returns the description shown.
    static QString Select(HelpDlg* help, const QString& name) {
        QListWidget* list = List(help);
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (found.size() != 1)
            return {};
        list->scrollToItem(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found.front()).center());
        return Shown(help);
    }
};

TEST_F(HelpDlgTest, TheWindowHasItsTitleSizeAndTexts) {
    HelpDlg* help = OpenHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "使用帮助");
    // Tall enough for the whole shortcut text and a description's usage
    // line.
    EXPECT_EQ(help->size(), QSize(485, 419));
    EXPECT_FALSE(help->isModal());
    EXPECT_TRUE(ControlNamed<QPlainTextEdit>(help, "functionDescription")->isReadOnly());
}

TEST_F(HelpDlgTest, TheListIsSortedAndNothingIsDescribedBeforeASelection) {
    HelpDlg* help = OpenHelp();
    ASSERT_NE(help, nullptr);
    QStringList names;
    for (int i = 0; i < List(help)->count(); ++i)
        names << List(help)->item(i)->text();
    EXPECT_EQ(names, QStringList({"abs", "acos", "asin", "atan", "cos", "cot", "dmstod", "dtodms",
                                  "dtor", "lg", "ln", "log", "rtod", "sin", "tan"}));
    EXPECT_EQ(Shown(help), "");
}

TEST_F(HelpDlgTest, ASelectedFunctionIsDescribedInTheFixedFormat) {
    HelpDlg* help = OpenHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(Select(help, "abs"),
              "函数名：abs\n\n简\u3000介：绝对值\n\n功\u3000能：求一个数的绝对值"
              "\n\n用\u3000法：\n\n\u3000\u3000abs(x)");
    // atan's usage ends with a line break of its own: an empty last line.
    EXPECT_TRUE(Select(help, "atan").endsWith("\u3000\u3000atan(x)\n"));
    EXPECT_TRUE(Select(help, "dtodms")
                    .contains("功\u3000能：将角度值转化为d.mmss表示的角度值\n\u3000\u3000比如："));
    EXPECT_TRUE(Select(help, "log").endsWith("\u3000\u3000log(a, b)"));
}

TEST_F(HelpDlgTest, EachPressOpensAnotherWindowAndTheMainWindowStaysUsable) {
    HelpDlg* first = OpenHelp();
    HelpDlg* second = OpenHelp();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    // Beside the main window, not over its buttons.
    EXPECT_FALSE(first->frameGeometry().intersects(m_window->frameGeometry()));
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QApplication::setActiveWindow(m_window.get());
    auto* expr = ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    expr->setFocus();
    QTest::keyClicks(expr, "abs(-3)");
    QTest::keyClick(expr, Qt::Key_Return);
    EXPECT_EQ(ControlNamed<QLineEdit>(m_window.get(), "resultBox")->text(), "3");
}

TEST_F(HelpDlgTest, TheDescriptionShowsTheUsageLineWithoutScrolling) {
    HelpDlg* help = OpenHelp();
    ASSERT_NE(help, nullptr);
    auto* box = ControlNamed<QPlainTextEdit>(help, "functionDescription");
    for (const char* usage : {"atan(x)", "abs(x)", "log(a, b)"}) {
        const QString name = QString::fromUtf8(usage).section(QLatin1Char('('), 0, 0);
        Select(help, name);
        const QTextCursor line = box->document()->find(QString::fromUtf8(usage));
        ASSERT_FALSE(line.isNull()) << usage;
        EXPECT_LE(box->cursorRect(line).bottom(), box->viewport()->height()) << usage;
    }
}

TEST(HelpWindowPlacement, BesideTheOwnerWhereItFitsElseCoveringTheLeastOfIt) {
    const QSize help(485, 410);
    const QRect screen(0, 0, 1280, 800);
    const QRect compact(377, 247, 525, 33);
    const QRect full(377, 247, 525, 306);
    const struct {
        const char* what;
        QRect owner;
        std::optional<QPoint> previous;
        QPoint expected;
    } cases[] = {
        {"below the compact window, 8 pixels away", compact, std::nullopt, {377, 288}},
        // Right: 107 x 306 pixels covered; left 108 x 306, below and above
        // 485 x 163.
        {"no room beside the full window: right of it, pulled onto the screen",
         full,
         std::nullopt,
         {795, 247}},
        {"cascaded from the previous one", compact, QPoint(377, 288), {401, 312}},
        {"past the right edge the run starts again at the left", full, QPoint(795, 247), {0, 271}},
        {"past the bottom it starts again at the top", compact, QPoint(400, 388), {424, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceHelpWindow(c.owner, help, screen, c.previous, 24, 8), c.expected) << c.what;
    }
}

TEST_F(HelpDlgTest, EscapeAndTheCloseBoxHideTheWindowWithoutTouchingTheMainOne) {
    auto* expr = ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    expr->setText("1+2");
    HelpDlg* help = OpenHelp();
    ASSERT_NE(help, nullptr);
    QApplication::setActiveWindow(help);
    QTest::keyClick(List(help), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(expr->text(), "1+2");  // the main window's Escape is its own

    QPointer<HelpDlg> other = OpenHelp();
    ASSERT_NE(other, nullptr);
    other->close();
    // Closed is gone: a window that is never shown again is freed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(other.isNull());
    EXPECT_TRUE(m_window->findChildren<HelpDlg*>().isEmpty());
}

TEST_F(HelpDlgTest, EveryFocusStopLiesInsideTheWindowAtEveryScreenSize) {
    HelpDlg* help = OpenHelp();
    ASSERT_NE(help, nullptr);
    // Also under QT_SCALE_FACTOR=2, where the window scrolls inside.
    EXPECT_TRUE(help->screen()->availableGeometry().contains(help->geometry()))
        << help->geometry().x() << "," << help->geometry().y() << " " << help->width() << "x"
        << help->height() << " on " << help->screen()->availableGeometry().height();
    QApplication::setActiveWindow(help);
    for (int i = 0; i < 4; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        ASSERT_EQ(focus->window(), help);
        const QRect inWindow(focus->mapTo(help, QPoint(0, 0)), focus->size());
        // Where the window scrolls, a control wider than the window shows
        // from its beginning.
        const bool scrolls = help->findChild<QWidget*>("helpScroller") != nullptr;
        EXPECT_TRUE(focus->isVisible() && (scrolls ? help->rect().contains(inWindow.topLeft())
                                                   : help->rect().contains(inWindow)))
            << "stop " << i << ": " << focus->objectName().toStdString() << " at " << inWindow.x()
            << "," << inWindow.y() << " " << inWindow.width() << "x" << inWindow.height();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(help->isVisible()) << "Enter closes nothing";
}

}  // namespace
