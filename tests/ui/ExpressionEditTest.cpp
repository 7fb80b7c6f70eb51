// The expression box keeps, edits and draws its own line. Side by side with
// a plain line edit set up alike, it must show a text that fits pixel for
// pixel the same, map the mouse to the same characters wherever the line
// has scrolled to (a part-drawn long line included), and end up with the
// same text, caret and selection after the same keys.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
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
        plain->setMaxLength(std::numeric_limits<int>::max());
        ForBoth([](auto* edit) {
            // As the window sets the box up; no focus, so that clicking one
            // box does not repaint the other.
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setFocusPolicy(Qt::NoFocus);
            edit->resize(231, 21);
        });
        ours->move(0, 30);
        window.resize(240, 60);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <class Step>
    void ForBoth(Step step) {
        step(plain);
        step(ours);
    }

    // A box drawn as it stands, which also settles its scrolling.
    static QImage Drawn(QWidget* edit) { return edit->grab().toImage(); }

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
        ForBoth([&](auto* edit) {
            edit->setText(c.text);
            if (c.selectionLength > 0)
                edit->setSelection(c.selectionStart, c.selectionLength);
        });
        EXPECT_EQ(Drawn(plain), Drawn(ours)) << c.text.left(20).toStdString();
    }

    // What an input method is composing shows at the caret, underlined.
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    const QList<QInputMethodEvent::Attribute> attributes = {
        {QInputMethodEvent::TextFormat, 0, 5, underlined},
        {QInputMethodEvent::Cursor, 3, 1, QVariant()},
    };
    ForBoth([&](auto* edit) {
        edit->setText("1+");
        QInputMethodEvent composing("zhong", attributes);
        QApplication::sendEvent(edit, &composing);
    });
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
        ForBoth([&](auto* edit) {
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
        });
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

TEST_F(ExpressionEditTest, KeysEditAsInAPlainLineEdit) {
    struct Case {
        QString text;
        int caret;
        QList<QKeyCombination> keys;
    };
    const auto Ctrl = [](Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); };
    const auto Shift = [](Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); };
    const QKeyCombination left(Qt::Key_Left), right(Qt::Key_Right), back(Qt::Key_Backspace),
        del(Qt::Key_Delete), home(Qt::Key_Home), end(Qt::Key_End);
    // A surrogate pair, and a letter with two accents: one character each.
    const QString wide = QString::fromUcs4(U"1+\U0001D465*e\u0301\u0302/2");
    const Case cases[] = {
        {"sin(x)+cos(y)", 13, {left, left, back, Shift(Qt::Key_Left), Shift(Qt::Key_Left), del}},
        {"sin(x)+cos(y)", 0, {Ctrl(Qt::Key_Right), Ctrl(Qt::Key_Right), Ctrl(Qt::Key_Delete)}},
        {"ab + cd*ef", 10, {Ctrl(Qt::Key_Left), Ctrl(Qt::Key_Backspace), Shift(Qt::Key_Home)}},
        {"12345", 2, {home, Shift(Qt::Key_End), Ctrl(Qt::Key_X), end, Ctrl(Qt::Key_V)}},
        {"12345", 5, {back, back, Ctrl(Qt::Key_Z), Ctrl(Qt::Key_Z), Shift(Qt::Key_Left)}},
        {"7*8", 3, {Ctrl(Qt::Key_A), Qt::Key_9, Qt::Key_1, Ctrl(Qt::Key_Z), Ctrl(Qt::Key_Y)}},
        {wide, 0, {right, right, right, right, Shift(Qt::Key_Right), del, left, back}},
        {wide, 9, {left, left, back, back, left, Shift(Qt::Key_Left)}},
        // A character of 41 code points, longer than the first stretch looked at.
        {"1+e" + QString(40, QChar(0x301)) + "+2", 2, {right, right, left, left, del, right}},
    };
    for (const Case& c : cases) {
        std::vector<std::tuple<QString, int, QString>> after;
        ForBoth([&](auto* edit) {
            edit->setText(c.text);
            edit->setCursorPosition(c.caret);
            for (QKeyCombination key : c.keys)
                QTest::keyClick(edit, key.key(), key.keyboardModifiers());
            after.emplace_back(edit->text(), edit->cursorPosition(), edit->selectedText());
        });
        EXPECT_EQ(after[0], after[1]) << c.text.toStdString() << " " << c.caret;
    }
}

}  // namespace

namespace {

TEST_F(ExpressionEditTest, AScreenReaderReadsAndEditsTheBoxAsAPlainLineEdit) {
    ForBoth([](auto* edit) {
        edit->setText("sin(x) + 12");
        edit->setSelection(4, 1);
    });
    QAccessibleInterface* theirs = QAccessible::queryAccessibleInterface(plain);
    QAccessibleInterface* mine = QAccessible::queryAccessibleInterface(ours);
    ASSERT_NE(mine->textInterface(), nullptr);
    ASSERT_NE(mine->editableTextInterface(), nullptr);
    EXPECT_EQ(mine->role(), theirs->role());
    EXPECT_EQ(mine->text(QAccessible::Value), theirs->text(QAccessible::Value));
    EXPECT_TRUE(mine->state().editable && mine->state().selectableText);
    for (QAccessibleInterface* face : {theirs, mine}) {
        QAccessibleTextInterface* text = face->textInterface();
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        EXPECT_EQ(std::tuple(text->characterCount(), text->cursorPosition(), start, end),
                  std::tuple(11, 5, 4, 5));
        EXPECT_EQ(text->text(0, 3), "sin");
        EXPECT_EQ(text->textAtOffset(9, QAccessible::WordBoundary, &start, &end), "12");
    }
    // Each character is where a click reaches it.
    QAccessibleTextInterface* text = mine->textInterface();
    for (int i = 0; i < 11; ++i) {
        const QRect place = text->characterRect(i);
        EXPECT_TRUE(QRect(ours->mapToGlobal(QPoint(0, 0)), ours->size()).contains(place)) << i;
        EXPECT_EQ(text->offsetAtPoint(place.topLeft() + QPoint(1, place.height() / 2)), i) << i;
    }
    mine->editableTextInterface()->replaceText(0, 3, "cos");
    EXPECT_EQ(ours->text(), "cos(x) + 12");
}

}  // namespace

namespace {

TEST_F(ExpressionEditTest, TheEditMenuOffersWhatAPlainLineEditsOffers) {
    QGuiApplication::clipboard()->setText("2");
    std::vector<QStringList> entries;
    ForBoth([&](auto* edit) {
        edit->setText("1+2");
        QTest::keyClick(edit, Qt::Key_Backspace);
        edit->setSelection(0, 1);
        const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        QStringList listed;
        for (const QAction* action : menu->actions())
            listed << action->text() + (action->isEnabled() ? "" : " (off)");
        entries.push_back(listed);
    });
    EXPECT_EQ(entries[0], entries[1]);
}

}  // namespace
