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
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextCharFormat>
#include <functional>
#include <limits>
#include <memory>

#include "ExpressionEdit.h"

namespace {

class ExpressionEditTest : public testing::Test {
  protected:
    void SetUp() override {
        m_plain = new QLineEdit(&m_window);
        m_ours = new ExpressionEdit(&m_window);
        m_plain->setMaxLength(std::numeric_limits<int>::max());
        ForBoth([](auto* edit) {
            // As the window sets the box up; no focus, so that clicking one
            // box does not repaint the other.
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setFocusPolicy(Qt::NoFocus);
            edit->resize(231, 21);
        });
        m_ours->move(0, 30);
        m_window.resize(240, 60);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    template <class Step>
    void ForBoth(Step step) {
        step(m_plain);
        step(m_ours);
    }

    // A box drawn as it stands, which also settles its scrolling.
    static QImage Drawn(QWidget* edit) { return edit->grab().toImage(); }

    QWidget m_window;
    QLineEdit* m_plain = nullptr;
    ExpressionEdit* m_ours = nullptr;
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
        EXPECT_EQ(Drawn(m_plain), Drawn(m_ours)) << c.text.left(20).toStdString();
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
    EXPECT_EQ(Drawn(m_plain), Drawn(m_ours));
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

TEST_F(ExpressionEditTest, KeysEditAsInAPlainLineEdit) {
    struct Case {
        QString text;
        int caret;
        QList<QKeyCombination> keys;
    };
    const auto ctrl = [](Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); };
    const auto shift = [](Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); };
    const QKeyCombination left(Qt::Key_Left), right(Qt::Key_Right), back(Qt::Key_Backspace),
        del(Qt::Key_Delete), home(Qt::Key_Home), end(Qt::Key_End);
    // A surrogate pair, and a letter with two accents: one character each.
    const QString wide = QString::fromUcs4(U"1+\U0001D465*e\u0301\u0302/2");
    const Case cases[] = {
        {"sin(x)+cos(y)", 13, {left, left, back, shift(Qt::Key_Left), shift(Qt::Key_Left), del}},
        {"sin(x)+cos(y)", 0, {ctrl(Qt::Key_Right), ctrl(Qt::Key_Right), ctrl(Qt::Key_Delete)}},
        {"ab + cd*ef", 10, {ctrl(Qt::Key_Left), ctrl(Qt::Key_Backspace), shift(Qt::Key_Home)}},
        {"12345", 2, {home, shift(Qt::Key_End), ctrl(Qt::Key_X), end, ctrl(Qt::Key_V)}},
        {"12345", 5, {back, back, ctrl(Qt::Key_Z), ctrl(Qt::Key_Z), shift(Qt::Key_Left)}},
        {"7*8", 3, {ctrl(Qt::Key_A), Qt::Key_9, Qt::Key_1, ctrl(Qt::Key_Z), ctrl(Qt::Key_Y)}},
        // A run of typed characters, of Backspaces or of Deletes is undone at once.
        {"7*8", 3, {ctrl(Qt::Key_A), Qt::Key_9, Qt::Key_1, ctrl(Qt::Key_Z)}},
        {"12345", 5, {back, back, back, ctrl(Qt::Key_Z)}},
        {"12345", 0, {del, del, ctrl(Qt::Key_Z)}},
        {"12345", 4, {shift(Qt::Key_Left), back, back, ctrl(Qt::Key_Z)}},
        {"12345", 3, {Qt::Key_7, back, back, ctrl(Qt::Key_Z)}},
        {wide, 0, {right, right, right, right, shift(Qt::Key_Right), del, left, back}},
        {wide, 9, {left, left, back, back, left, shift(Qt::Key_Left)}},
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
    QAccessibleInterface* theirs = QAccessible::queryAccessibleInterface(m_plain);
    QAccessibleInterface* mine = QAccessible::queryAccessibleInterface(m_ours);
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
        EXPECT_TRUE(QRect(m_ours->mapToGlobal(QPoint(0, 0)), m_ours->size()).contains(place)) << i;
        EXPECT_EQ(text->offsetAtPoint(place.topLeft() + QPoint(1, place.height() / 2)), i) << i;
    }
    mine->editableTextInterface()->replaceText(0, 3, "cos");
    EXPECT_EQ(m_ours->text(), "cos(x) + 12");
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

namespace {

// What a pinyin input method writes in Chinese mode arrives as ASCII,
// however it arrives.
TEST_F(ExpressionEditTest, FullWidthFormsArriveAsAscii) {
    const auto type = [](ExpressionEdit* box, const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    };
    const auto paste = [](ExpressionEdit* box, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    };
    const auto commit = [](ExpressionEdit* box, const QString& text) {
        QInputMethodEvent composing("pinyin", {});
        QApplication::sendEvent(box, &composing);
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QApplication::sendEvent(box, &committed);
    };
    const auto drop = [](ExpressionEdit* box, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint at = box->rect().center();
        QDragEnterEvent entering(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &entering);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &dropped);
    };
    const struct {
        std::function<void(ExpressionEdit*, const QString&)> write;
        QString written, expected;
    } cases[] = {
        {type, "（１＋２）＊３", "(1+2)*3"},
        {paste, "ｓｉｎ（０．５）＾２", "sin(0.5)^2"},
        {commit, "１，　２／４－１", "1, 2/4-1"},
        {commit, "。5——2……3", ".5_2^3"},
        {drop, "＿ａ＋中", "_a+中"},
    };
    for (const auto& c : cases) {
        m_ours->clear();
        c.write(m_ours, c.written);
        EXPECT_EQ(m_ours->text(), c.expected) << c.written.toStdString();
    }
}

// A line typed past the box's width scrolls as in a line edit, keeping
// every character and the caret in view, whether typed or committed by an
// input method (the box drawn after each, as a window is).
TEST_F(ExpressionEditTest, TypingPastTheBoxScrollsAndKeepsEveryCharacter) {
    const QString sixty = QStringLiteral("12345+678*9-").repeated(5);
    const auto type = [](QWidget* box, QStringView text) {
        QTest::keyClicks(box, text.toString());
    };
    const auto commit = [](QWidget* box, QStringView text) {
        QInputMethodEvent committed;
        committed.setCommitString(text.toString());
        QApplication::sendEvent(box, &committed);
    };
    const struct {
        const char* what;
        std::function<void(QWidget*, QStringView)> write;
    } cases[] = {{"typed", type}, {"committed", commit}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ForBoth([&](auto* edit) {
            edit->clear();
            for (qsizetype at = 0; at < sixty.size(); at += 3) {
                c.write(edit, QStringView(sixty).mid(at, 3));
                Drawn(edit);
            }
        });
        EXPECT_EQ(m_ours->text(), sixty);
        EXPECT_EQ(Drawn(m_plain), Drawn(m_ours));
        EXPECT_TRUE(m_ours->rect().contains(m_ours->CharacterRect(59)));
    }
}

// The copy key copies a selection; with none the window is told, to copy
// its result instead.
TEST_F(ExpressionEditTest, TheCopyKeyWithNothingSelectedTellsTheWindow) {
    QSignalSpy told(m_ours, &ExpressionEdit::CopyWithNothingSelected);
    m_ours->setText("1+2");
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(m_ours, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(told.count(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    m_ours->setSelection(0, 1);
    QTest::keyClick(m_ours, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(told.count(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1");
}

// Shift+F10 and the Menu key open the box's edit menu at the caret.
TEST_F(ExpressionEditTest, TheEditMenuOpensFromTheKeyboard) {
    m_ours->setText("1+2");
    m_ours->setSelection(0, 1);
    const std::unique_ptr<QMenu> expected(m_ours->createStandardContextMenu());
    for (const QKeyCombination key :
         {QKeyCombination(Qt::ShiftModifier, Qt::Key_F10), QKeyCombination(Qt::Key_Menu)}) {
        QTest::keyClick(m_ours, key.key(), key.keyboardModifiers());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->parentWidget(), m_ours);
        EXPECT_EQ(menu->actions().size(), expected->actions().size());
        EXPECT_TRUE(QRect(m_ours->mapToGlobal(QPoint(0, 0)), m_ours->size()).contains(menu->pos()));
        menu->close();
    }
}

// While a text is dragged over the box, the caret shows where it would drop.
TEST_F(ExpressionEditTest, ADragShowsWhereItWouldDrop) {
    m_ours->setText("12+34");
    const QPoint at(m_ours->CharacterRect(2).left(), 10);
    m_ours->setCursorPosition(m_ours->PositionAt(at));
    const QImage still = Drawn(m_ours);
    QMimeData data;
    data.setText("5");
    QDragEnterEvent entering(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(m_ours, &entering);
    EXPECT_NE(Drawn(m_ours), still);
    QDragLeaveEvent leaving;
    QApplication::sendEvent(m_ours, &leaving);
    EXPECT_EQ(Drawn(m_ours), still);
}

// A click away from the text being composed ends the composing, as in a
// line edit (whose input method commits it; with none, it is dropped).
TEST_F(ExpressionEditTest, AClickEndsComposingAsInAPlainLineEdit) {
    std::vector<std::tuple<QString, int>> after;
    ForBoth([&](auto* edit) {
        edit->setText("1+2");
        QInputMethodEvent composing("zhong", {});
        QApplication::sendEvent(edit, &composing);
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 10));
        after.emplace_back(edit->text(), edit->cursorPosition());
    });
    EXPECT_EQ(after[0], after[1]);
    EXPECT_EQ(Drawn(m_plain), Drawn(m_ours));
}

// After a double click, dragging selects whole words.
TEST_F(ExpressionEditTest, ADoubleClickThenDragSelectsWholeWords) {
    m_ours->setText("abc def ghi jkl");
    const auto middle = [&](int position) { return m_ours->CharacterRect(position).center(); };
    const struct {
        int to;  // the character dragged to
        QString selected;
    } cases[] = {{13, "def ghi jkl"}, {1, "abc def"}, {6, "def"}};
    for (const auto& c : cases) {
        QTest::mouseClick(m_ours, Qt::LeftButton, {}, middle(5));
        QTest::mousePress(m_ours, Qt::LeftButton, {}, middle(5));
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, middle(5),
                                m_ours->mapToGlobal(middle(5)), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(m_ours, &doubleClick);
        QTest::mouseMove(m_ours, middle(c.to));
        EXPECT_EQ(m_ours->selectedText(), c.selected) << c.to;
        QTest::mouseRelease(m_ours, Qt::LeftButton, {}, middle(c.to));
        // Past the time for a third click, which a coarse timer may overrun.
        QTest::qWait(QApplication::doubleClickInterval() * 3 / 2);
    }
}

// On X11 a selection made with the keys, as one made with the mouse, is
// what a middle click pastes elsewhere. (The offscreen platform has no such
// selection: this runs where the window system offers one.)
TEST_F(ExpressionEditTest, ASelectionMadeWithTheKeysIsOfferedToAMiddleClick) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        GTEST_SKIP() << "no X11 selection on this platform";
    const auto shift = [](Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); };
    const QList<QKeyCombination> cases[] = {
        {shift(Qt::Key_Left), shift(Qt::Key_Left)},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_A)},
    };
    for (const auto& keys : cases) {
        std::vector<QString> offered;
        ForBoth([&](auto* edit) {
            edit->setText("12+34");
            clipboard->setText(QString(), QClipboard::Selection);
            for (QKeyCombination key : keys)
                QTest::keyClick(edit, key.key(), key.keyboardModifiers());
            offered.push_back(clipboard->text(QClipboard::Selection));
        });
        EXPECT_EQ(offered[0], offered[1]);
        EXPECT_FALSE(offered[1].isEmpty());
    }
}

}  // namespace

namespace {

// The columns where two drawings of the same box differ.
std::pair<int, int> ChangedColumns(const QImage& before, const QImage& after) {
    int first = before.width();
    int last = -1;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

TEST_F(ExpressionEditTest, AnErrorMarkIsDrawnVisiblyUnderItsCharacterAndGoesWithTheNextEdit) {
    const struct {
        const char* what;
        QString text;
        int caret;
        int mark;
    } cases[] = {
        {"a narrow character at the end", QStringLiteral("sin("), 4, 3},
        {"the part in view of a long line", Sum(4000), 3000, 2998},
    };
    // Any mark is long enough to see: a digit's width at least.
    const int shortest = m_ours->fontMetrics().horizontalAdvance(QLatin1Char('0')) - 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_ours->setText(c.text);
        m_ours->setCursorPosition(c.caret);
        const QImage plain = Drawn(m_ours);
        m_ours->SetErrorMark(c.mark, c.mark + 1, QStringLiteral("message"));
        const QRect character = m_ours->CharacterRect(c.mark);
        ASSERT_FALSE(character.isEmpty());
        const auto [first, last] = ChangedColumns(plain, Drawn(m_ours));
        ASSERT_GE(last, 0) << "no mark drawn";
        EXPECT_LE(first, character.left() + 1);
        EXPECT_GE(last, character.right() - 1);
        EXPECT_GE(last - first + 1, std::max(shortest, character.width()));
        EXPECT_LE(last - first + 1, std::max(shortest, character.width()) + 3);
        EXPECT_EQ(m_ours->accessibleDescription(), "message");

        QTest::keyClick(m_ours, Qt::Key_Backspace);
        EXPECT_FALSE(m_ours->HasErrorMark());
        EXPECT_EQ(m_ours->accessibleDescription(), "");
    }
}

}  // namespace
