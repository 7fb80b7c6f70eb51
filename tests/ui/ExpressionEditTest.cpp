// The expression box draws only the part of its line in view. Side by side
// with a plain line edit set up alike, it must show a text that fits pixel
// for pixel the same, and map the mouse to the same characters wherever the
// line has scrolled to, a part-drawn long line included.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <QTextCharFormat>
#include <limits>
#include <memory>

#include "ExpressionEdit.h"

namespace {

class ExpressionEditTest : public testing::Test {
  protected:
    void SetUp() override {
        plain = new QLineEdit(&window);
        ours = new ExpressionEdit(&window);
        for (QLineEdit* edit : Both()) {
            // As the window sets the box up; no focus, so that clicking one
            // box does not repaint the other.
            edit->setMaxLength(std::numeric_limits<int>::max());
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setFocusPolicy(Qt::NoFocus);
            edit->resize(231, 21);
        }
        ours->move(0, 30);
        window.resize(240, 60);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    std::vector<QLineEdit*> Both() const { return {plain, ours}; }

    // Both boxes drawn as they stand, which also settles their scrolling.
    static QImage Drawn(QLineEdit* edit) { return edit->grab().toImage(); }

    QWidget window;
    QLineEdit* plain = nullptr;
    ExpressionEdit* ours = nullptr;
};

QString Sum(int terms) {
    QString sum = "1";
    for (int i = 2; i <= terms; ++i)
        sum += "+" + QString::number(i);
    return sum;
}

TEST_F(ExpressionEditTest, ATextThatFitsOrScrollsLooksAsInAPlainLineEdit) {
    struct Case {
        QString text;
        int selectionStart, selectionLength;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"1/4+2^3", 0, 0},
        {"sin(x)/2-变量", 2, 5},
        {QString(300, '1'), 0, 0},  // wider than the box: the end shows
        {QString(300, '1'), 280, 10},
    };
    for (const Case& c : cases) {
        for (QLineEdit* edit : Both()) {
            edit->setText(c.text);
            if (c.selectionLength > 0)
                edit->setSelection(c.selectionStart, c.selectionLength);
        }
        EXPECT_EQ(Drawn(plain), Drawn(ours)) << c.text.left(20).toStdString();
    }

    // What an input method is composing shows at the caret, underlined.
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    const QList<QInputMethodEvent::Attribute> attributes = {
        {QInputMethodEvent::TextFormat, 0, 5, underlined},
        {QInputMethodEvent::Cursor, 3, 1, QVariant()},
    };
    for (QLineEdit* edit : Both()) {
        edit->setText("1+");
        QInputMethodEvent composing("zhong", attributes);
        QApplication::sendEvent(edit, &composing);
    }
    EXPECT_EQ(Drawn(plain), Drawn(ours));
}

TEST_F(ExpressionEditTest, ClicksAndDragsReachTheCharactersUnderThePointer) {
    struct Case {
        QString text;
        int caret;  // where the caret was, and so what is in view
        int from, to;
    };
    const QString longSum = Sum(4000);  // 19,000 characters: drawn in part
    const Case cases[] = {
        {"12+34", 5, 150, 220},                                // at the right edge
        {QString(300, '1'), 300, 20, 200},                     // scrolled to the end
        {QString(300, '1'), 100, 5, 120},                      // scrolled midway
        {longSum, static_cast<int>(longSum.size()), 30, 210},  // drawn in part
        {longSum, 9000, 60, 100},
        {longSum, 0, 100, 5},
    };
    for (const Case& c : cases) {
        std::vector<int> caret;
        std::vector<QString> selected;
        for (QLineEdit* edit : Both()) {
            edit->setText(c.text);
            edit->setCursorPosition(c.caret);
            Drawn(edit);
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(c.from, 10));
            caret.push_back(edit->cursorPosition());
            Drawn(edit);
            // Pressed away from the click, so that it is no double click.
            QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(c.to, 10));
            QTest::mouseMove(edit, QPoint(c.from, 10));
            QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(c.from, 10));
            selected.push_back(edit->selectedText());
        }
        QTest::qWait(QApplication::doubleClickInterval() + 10);
        EXPECT_EQ(caret[0], caret[1]) << c.text.size() << " " << c.caret;
        EXPECT_EQ(selected[0], selected[1]) << c.text.size() << " " << c.caret;
        EXPECT_FALSE(selected[1].isEmpty());
    }
}

TEST_F(ExpressionEditTest, ALongTextRefusesTypingUnlessItIsReplaced) {
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ours->setFocusPolicy(Qt::StrongFocus);
    ours->setFocus();
    const QString longSum = Sum(4000);
    ours->setText(longSum);
    QTest::keyClicks(ours, "7");
    EXPECT_EQ(ours->text(), longSum);
    ours->selectAll();
    QTest::keyClicks(ours, "7");
    EXPECT_EQ(ours->text(), "7");
}

TEST_F(ExpressionEditTest, TheApplicationsCaretFlashTimeIsBackOnceTheBoxLosesTheFocus) {
    QStyleHints* hints = QGuiApplication::styleHints();
    const int flashTime = hints->cursorFlashTime();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    for (QLineEdit* edit : Both())
        edit->setFocusPolicy(Qt::StrongFocus);
    ours->setFocus();
    ASSERT_TRUE(ours->hasFocus());
    plain->setFocus();
    EXPECT_EQ(hints->cursorFlashTime(), flashTime);
    ours->setFocus();
    delete ours;
    ours = nullptr;
    EXPECT_EQ(hints->cursorFlashTime(), flashTime);
}

}  // namespace
