// The main window for a screen reader and from the keyboard alone: every
// control in sight has a name, Tab reaches only what can be seen, and the
// grid, the window menu and the expression editor answer keys.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <map>
#include <utility>
#include <vector>

#include "AboutDlg.h"
#include "CalcWindowTest.h"
#include "ExpressionEdit.h"
#include "HelpDlg.h"
#include "NaturalFormView.h"
#include "ScreenReaderNotice.h"
#include "SkinButton.h"
#include "UiTestSupport.h"

namespace {

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

bool IsControl(QWidget* w) {
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<ExpressionEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<NaturalFormView*>(w) || qobject_cast<QAbstractItemView*>(w);
}

class WindowAccessTest : public CalcWindowTest {
  protected:
    QWidget* Control(const char* id) const { return ControlNamed(m_window.get(), id); }

    // The names of the controls a screen reader finds in sight, by id.
    std::map<QString, QString> NamesInSight() const {
        std::map<QString, QString> names;
        for (QWidget* w : m_window->findChildren<QWidget*>()) {
            // The form's own controls, not the parts a control is made of.
            if (IsControl(w) && !w->objectName().isEmpty() && w->window() == m_window.get() &&
                w->isVisibleTo(m_window.get()))
                names[w->objectName()] = AccessibleName(w);
        }
        return names;
    }
};

TEST_F(WindowAccessTest, EveryControlInSightHasAName) {
    const std::map<QString, QString> compact = NamesInSight();
    QTest::mouseClick(Control("modeButton"), Qt::LeftButton);
    const std::map<QString, QString> full = NamesInSight();
    for (const auto* names : {&compact, &full}) {
        for (const auto& [id, name] : *names)
            EXPECT_FALSE(name.isEmpty()) << "control " << id.toStdString();
    }
    EXPECT_EQ(compact.count(QString("variableGrid")), 0u) << "the grid is out of sight";
    const std::pair<const char*, const char*> expected[] = {
        {"expressionEdit", "表达式"},
        {"resultBox", "结果"},
        {"historyList", "历史"},
        {"variableGrid", "自定义变量"},
        {"topMostButton", "窗口置顶"},
        {"deleteVariableButton", "删除"},
        {"naturalBox", "表达式的自然书写形式"},
    };
    for (const auto& [id, name] : expected)
        EXPECT_EQ(full.at(QString::fromLatin1(id)), QString::fromUtf8(name)) << id;
}

TEST_F(WindowAccessTest, TheHelpWindowsListAndDescriptionHaveNames) {
    QTest::mouseClick(Control("helpButton"), Qt::LeftButton);
    QWidget* help = m_window->HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(AccessibleName(ControlNamed(help, "functionList")), "函数");
    EXPECT_EQ(AccessibleName(ControlNamed(help, "functionDescription")), "函数说明");
}

TEST_F(WindowAccessTest, TheTopMostButtonIsAToggleWithItsState) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(Control("topMostButton"));
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(face->state().checkable);
    EXPECT_FALSE(face->state().checked);
    QTest::mouseClick(Control("topMostButton"), Qt::LeftButton);
    EXPECT_TRUE(face->state().checked);
    EXPECT_EQ(AccessibleName(Control("topMostButton")), "窗口置顶") << "one name, its state told";
    EXPECT_EQ(AccessibleName(m_window.get()), "Tallyfern 自然书写计算器")
        << "the desktop's language";
}

TEST_F(WindowAccessTest, AComputedResultIsToldAsANotificationWhileTheFocusStays) {
    // Screen readers speak a notification as it appears. (The events that
    // show it are seen by the real-X11 test's reader.)
    auto* box = ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    auto* notice = Control("resultBox")->findChild<ScreenReaderNotice*>();
    ASSERT_NE(notice, nullptr);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(notice);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Notification);
    for (const char* expression : {"6*7", "40+2"}) {
        box->selectAll();
        QTest::keyClicks(box, expression);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(box->hasFocus());
        EXPECT_EQ(face->text(QAccessible::Name), "结果 42") << expression;
        EXPECT_FALSE(face->state().invisible) << expression;
    }
}

TEST_F(WindowAccessTest, TabStopsOnlyAtControlsInSight) {
    for (const bool full : {false, true}) {
        if (full)
            QTest::mouseClick(Control("modeButton"), Qt::LeftButton);
        int stops = 0;
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            const QRect inWindow(focus->mapTo(m_window.get(), QPoint(0, 0)), focus->size());
            EXPECT_TRUE(focus->isVisible() && m_window->rect().contains(inWindow))
                << "Tab reached " << focus->objectName().toStdString() << (full ? " (full)" : "");
            stops += focus == Control("variableGrid");
        }
        EXPECT_EQ(stops > 0, full) << "the grid is reached in the full window only";
    }
}

TEST_F(WindowAccessTest, AButtonReachedByTabShowsADottedFocusMark) {
    auto* button = ControlNamed<SkinButton>(m_window.get(), "modeButton");
    const QColor ink = button->palette().color(QPalette::ButtonText);
    // The top edge of the mark, 2 pixels inside the face.
    const auto markDots = [&] {
        const QImage picture = button->grab().toImage();
        const QRect face = button->ItemRect();
        int dots = 0;
        for (int x = face.left() + 2; x < face.right() - 2; ++x)
            dots += picture.pixelColor(x, face.top() + 2) == ink;
        return dots;
    };
    button->setFocus(Qt::MouseFocusReason);
    m_window->setAttribute(Qt::WA_KeyboardFocusChange, false);
    EXPECT_EQ(markDots(), 0) << "no mark after a click";
    ControlNamed<QWidget>(m_window.get(), "resultBox")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(button->hasFocus());
    const int width = button->ItemRect().width() - 5;
    EXPECT_NEAR(markDots(), width / 2, 1) << "every other pixel";
}

// Records the keys that reach a control.
class KeysSeen : public QObject {
  public:
    std::vector<int> keys;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Shift)
            keys.push_back(key->key());
        return false;
    }
};

TEST_F(WindowAccessTest, MenuKeyShiftF10AndAltSpaceOpenTheWindowMenu) {
    const struct {
        const char* id;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {"expressionEdit", Qt::Key_Space, Qt::AltModifier},
        {"resultBox", Qt::Key_Menu, Qt::NoModifier},
        {"resultBox", Qt::Key_F10, Qt::ShiftModifier},
    };
    for (const auto& [id, key, modifiers] : keys) {
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = popup->objectName();
                popup->close();
            }
        });
        // The window manager hands the activation back when a menu closes.
        QApplication::setActiveWindow(m_window.get());
        Control(id)->setFocus();
        QTest::keyClick(Control(id), key, modifiers);
        EXPECT_EQ(opened, "windowMenu") << id << " " << key;
    }
    // The expression box gets the menu key and Shift+F10 for its own menu.
    KeysSeen seen;
    Control("expressionEdit")->installEventFilter(&seen);
    Control("expressionEdit")->setFocus();
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        QTimer::singleShot(0, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
        QTest::keyClick(Control("expressionEdit"), key, modifiers);
    }
    EXPECT_EQ(seen.keys, (std::vector<int>{Qt::Key_F10, Qt::Key_Menu}));
}

TEST_F(WindowAccessTest, TheExpressionEditorOpensWithTheCaretAtTheEnd) {
    ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit")->setText("7*");
    WhenModalOpens typeNine([](QWidget* editor) {
        QTest::keyClicks(editor->findChild<QPlainTextEdit*>(), "9");
        QTest::mouseClick(ControlNamed(editor, "okButton"), Qt::LeftButton);
    });
    QTest::mouseClick(Control("editorButton"), Qt::LeftButton);
    EXPECT_EQ(ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit")->text(), "7*9");
}

TEST_F(WindowAccessTest, NoLabelLosesAGlyphToItsBox) {
    AboutDlg about(m_window.get());
    EXPECT_EQ(AccessibleName(ControlNamed(&about, "okButton")), "确定")
        << "a button keeps its own text";
    for (QWidget* window : {static_cast<QWidget*>(m_window.get()), static_cast<QWidget*>(&about)}) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->text().contains('\n'))
                continue;
            const QFontMetrics metrics(label->font());
            const QRect ink =
                metrics.tightBoundingRect(label->text()).translated(0, metrics.ascent());
            EXPECT_TRUE(ink.top() >= 0 && ink.bottom() < label->height() &&
                        metrics.horizontalAdvance(label->text()) <= label->width())
                << label->text().toStdString();
        }
    }
}

TEST_F(WindowAccessTest, AMessageBoxNeverGrowsBeyondTheScreenAndWrapsWhatItShows) {
    const QString prefix = QStringLiteral("在以下位置发生 \"变量 ");
    const QString suffix = QStringLiteral(" 未定义\" 错误\n\n    xxxxxxxxxx");
    const struct {
        QString text;
        QString scrolled;  // what a box of its own shows; "" for Qt's label
    } cases[] = {
        {prefix + "x", ""},
        {prefix + QString(3000, 'x'), prefix + QString(3000, 'x')},
        // Of more than 64 K characters the box shows the beginning and the
        // end, where the error and its place are; laying out the whole would
        // hold the window for most of a minute.
        {prefix + QString(1000000, 'x') + suffix, prefix + QString(32768 - prefix.size(), 'x') +
                                                      QChar(0x2026) +
                                                      QString(32768 - suffix.size(), 'x') + suffix},
    };
    for (const auto& c : cases) {
        QRect box;
        QRect okButton;
        QString scrolled;
        int sideways = -1;
        WhenModalOpens measure([&](QWidget* modal) {
            box = modal->frameGeometry();
            auto* ok = modal->findChild<QPushButton*>();
            okButton = QRect(ok->mapTo(modal, QPoint(0, 0)), ok->size());
            if (auto* shown = modal->findChild<QPlainTextEdit*>(); shown && shown->isVisible()) {
                scrolled = shown->toPlainText();
                sideways = shown->horizontalScrollBar()->maximum();
            }
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        ShowMessageBox(m_window.get(), c.text, QStringLiteral("发生错误"),
                       QMessageBox::Information);
        ASSERT_FALSE(box.isEmpty());
        const QRect screen = m_window->screen()->availableGeometry();
        EXPECT_LE(box.height(), screen.height()) << c.text.size();
        EXPECT_LE(box.width(), screen.width()) << c.text.size();
        EXPECT_LE(okButton.bottom(), box.height()) << "its button in reach";
        EXPECT_EQ(scrolled, c.scrolled) << c.text.size();
        if (!c.scrolled.isEmpty()) {
            EXPECT_EQ(sideways, 0) << "wrapped, not cut at the right";
            EXPECT_GE(box.height(), screen.height() / 2) << "tall enough to read on";
        }
    }
}

}  // namespace
