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

}  // namespace
