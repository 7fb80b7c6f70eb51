// The multi-line expression editor: its box is named for a screen reader
// and takes what a Chinese input method writes as ASCII.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>

#include "ExprEditDlg.h"
#include "UiTestSupport.h"

namespace {

TEST(ExprEditDlgTest, TheBoxHasAName) {
    ExprEditDlg editor("1+2");
    auto* box = ControlNamed<QPlainTextEdit>(&editor, "expressionEdit");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), "表达式");
}

TEST(ExprEditDlgTest, FullWidthFormsArriveAsAscii) {
    const auto type = [](QPlainTextEdit* box, const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    };
    const auto paste = [](QPlainTextEdit* box, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        box->paste();
    };
    const auto commit = [](QPlainTextEdit* box, const QString& text) {
        QInputMethodEvent composing("pinyin", {});
        QApplication::sendEvent(box, &composing);
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QApplication::sendEvent(box, &committed);
    };
    const struct {
        std::function<void(QPlainTextEdit*, const QString&)> write;
        QString written, expected;
    } cases[] = {
        {type, "（１＋２）＊３", "(1+2)*3"},
        {paste, "ｓｉｎ（０．５）＾２\n－１", "sin(0.5)^2\n-1"},
        {commit, "１，　２／中", "1, 2/中"},
    };
    for (const auto& c : cases) {
        ExprEditDlg editor("");
        auto* box = ControlNamed<QPlainTextEdit>(&editor, "expressionEdit");
        c.write(box, c.written);
        EXPECT_EQ(box->toPlainText(), c.expected) << c.written.toStdString();
    }
}

// Tab goes on to the buttons as everywhere in a dialog; a tab typed into
// the expression would only be dropped from it.
TEST(ExprEditDlgTest, TabAndCtrlTabLeaveTheBox) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Tab, Qt::ControlModifier},
        {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
    };
    for (const auto& c : cases) {
        ExprEditDlg editor("1+2");
        editor.show();
        QApplication::setActiveWindow(&editor);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        auto* box = ControlNamed<QPlainTextEdit>(&editor, "expressionEdit");
        box->setFocus();
        QTest::keyClick(box, c.key, c.modifiers);
        EXPECT_EQ(box->toPlainText(), "1+2") << c.key << " " << c.modifiers;
        EXPECT_FALSE(box->hasFocus()) << c.key << " " << c.modifiers;
    }
}

}  // namespace
