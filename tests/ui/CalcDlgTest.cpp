// The main window end to end: real keys and clicks on the controls, found
// by their object names, with message boxes answered by a recorder.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "CalcDlg.h"
#include "CalcWindowTest.h"
#include "CommitComputation.h"
#include "ExpressionEdit.h"
#include "NaturalFormView.h"
#include "ResultBox.h"
#include "SkinButton.h"
#include "UiTestSupport.h"
#include "VarListCtrl.h"

namespace {

class CalcDlgTest : public CalcWindowTest {
  protected:
    ExpressionEdit* Expr() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    QLineEdit* Result() const { return ControlNamed<QLineEdit>(m_window.get(), "resultBox"); }
    NaturalFormView* Natural() const {
        return ControlNamed<NaturalFormView>(m_window.get(), "naturalBox");
    }
    QListView* History() const { return ControlNamed<QListView>(m_window.get(), "historyList"); }
    int HistoryCount() const { return History()->model()->rowCount(); }
    // The history's line `row` as it shows.
    QString HistoryLine(int row) const {
        return History()->model()->index(row, 0).data().toString();
    }
    SkinButton* Button(const char* id) const {
        return ControlNamed<SkinButton>(m_window.get(), id);
    }
    VarListCtrl* Grid() const { return ControlNamed<VarListCtrl>(m_window.get(), "variableGrid"); }

    QStringList HistoryEntries() const {
        QStringList entries;
        for (int i = 0; i < HistoryCount(); ++i)
            entries << HistoryLine(i);
        return entries;
    }

    // Types into the expression box as a user would and presses Enter.
    void TypeAndCompute(const QString& text) {
        Expr()->setFocus();
        Expr()->clear();
        QTest::keyClicks(Expr(), text);
        QTest::keyClick(Expr(), Qt::Key_Return);
    }

    void Click(const char* id) { QTest::mouseClick(Button(id), Qt::LeftButton); }

    CommitComputation* Commit() const { return m_window->findChild<CommitComputation*>(); }
};

// "1+1+...": long enough to be computed on a thread of its own.
QString LongSum() {
    QString sum = QStringLiteral("1");
    while (sum.size() <= CommitComputation::kComputedAtOnce)
        sum += QStringLiteral("+1");
    return sum;
}

TEST_F(CalcDlgTest, TheControlsAreSetUpAsTheWindowWasDrawn) {
    EXPECT_TRUE(Expr()->alignment() & Qt::AlignRight);
    EXPECT_TRUE(Result()->isReadOnly());
    // The natural form reads as a read-only text, its lines never wrapped.
    QAccessibleInterface* natural = QAccessible::queryAccessibleInterface(Natural());
    ASSERT_NE(natural, nullptr);
    EXPECT_EQ(natural->role(), QAccessible::EditableText);
    EXPECT_TRUE(natural->state().readOnly);
    EXPECT_FALSE(natural->state().editable);
    EXPECT_EQ(Natural()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // 9 points at 96 dpi, in a font that has the labels' characters.
    EXPECT_EQ(m_window->font().pixelSize(), 12);
    EXPECT_TRUE(QFontMetrics(m_window->font()).inFontUcs4(U'表'));
    EXPECT_TRUE(QFontMetrics(m_window->font()).inFontUcs4(U'变'));
    // The columns of a drawing line up only if every character is as wide.
    const QFontMetrics metrics(Natural()->font());
    for (const char* text : {"i", "W", "-", " ", "^", "1"}) {
        EXPECT_EQ(metrics.horizontalAdvance(text), metrics.horizontalAdvance("m")) << text;
    }
    EXPECT_EQ(Button("computeButton")->text(), "=");
    EXPECT_EQ(Button("addVariableButton")->text(), "添加");
    EXPECT_EQ(m_window->windowTitle(), "Tallyfern 1.1: a natural-form calculator");
    EXPECT_EQ(m_window->windowTitle().size(), 40);
}

TEST_F(CalcDlgTest, OpensCompactAndTheModeButtonSwitchesSizeKeepingThePlace) {
    EXPECT_EQ(m_window->size(), QSize(525, 31));
    EXPECT_EQ(Button("modeButton")->TipText(), "更多功能");
    EXPECT_TRUE(Expr()->hasFocus());
    const QPoint place = m_window->pos();

    Click("modeButton");
    EXPECT_EQ(m_window->size(), QSize(525, 306));
    EXPECT_TRUE(m_window->IsExpanded());
    EXPECT_EQ(Button("modeButton")->TipText(), "精简模式");

    Click("modeButton");
    EXPECT_EQ(m_window->size(), QSize(525, 31));
    EXPECT_EQ(m_window->pos(), place);
    EXPECT_EQ(Button("modeButton")->TipText(), "更多功能");
}

TEST_F(CalcDlgTest, EnterComputesTheStrippedExpressionAndRemembersIt) {
    TypeAndCompute("1 + 2");
    EXPECT_EQ(Expr()->text(), "1+2");
    EXPECT_EQ(Result()->text(), "3");
    EXPECT_EQ(HistoryEntries(), QStringList{"1+2"});

    // Fifteen significant digits, three exponent digits.
    TypeAndCompute("1/3");
    EXPECT_EQ(Result()->text(), "0.333333333333333");
    TypeAndCompute("0.1+0.2");
    EXPECT_EQ(Result()->text(), "0.3");
    TypeAndCompute("1e20");
    EXPECT_EQ(Result()->text(), "1e+020");
    // A result wider than its box shows its leading digits.
    TypeAndCompute("-2/3*1e-300");
    EXPECT_EQ(Result()->text(), "-6.66666666666667e-301");
    EXPECT_EQ(Result()->cursorPosition(), 0);
}

TEST_F(CalcDlgTest, TheEqualsButtonComputesLikeEnter) {
    Expr()->setText("2^10");
    Click("computeButton");
    EXPECT_EQ(Result()->text(), "1024");

    // Enter held with Ctrl or Shift, and the keypad's Enter, compute too.
    const struct {
        const char* expression;
        QKeyCombination key;
        const char* result;
    } enters[] = {{"3*3", Qt::ControlModifier | Qt::Key_Return, "9"},
                  {"4*4", Qt::ShiftModifier | Qt::Key_Return, "16"},
                  {"5*5", Qt::KeypadModifier | Qt::Key_Enter, "25"}};
    for (const auto& e : enters) {
        Expr()->setText(e.expression);
        QTest::keyClick(Expr(), e.key.key(), e.key.keyboardModifiers());
        EXPECT_EQ(Result()->text(), e.result) << e.expression;
    }
}

TEST_F(CalcDlgTest, AnExpressionAlreadyListedIgnoringCaseIsNotAddedAgainNorMoved) {
    TypeAndCompute("1e2");
    TypeAndCompute("2+2");
    TypeAndCompute("1E2");
    TypeAndCompute("1e2");
    EXPECT_EQ(HistoryEntries(), (QStringList{"1e2", "2+2"}));
}

TEST_F(CalcDlgTest, TheNaturalFormEndsEveryLineWithCarriageReturnLineFeed) {
    TypeAndCompute("1/2");
    // The compact window hides the box and leaves it undrawn until shown.
    QApplication::processEvents();
    EXPECT_EQ(Natural()->Drawing(), nullptr);
    EXPECT_EQ(m_window->NaturalText(), " 1 \n---\n 2 \n");
    Click("modeButton");
    EXPECT_EQ(Natural()->Text(), " 1 \n---\n 2 ");

    // Two segments: the line feed between them shows as an empty line.
    QString sum = "1";
    for (int i = 2; i <= 20; ++i)
        sum += "+" + QString::number(i);
    TypeAndCompute(sum);
    const std::string text = m_window->NaturalText();
    EXPECT_NE(text.find("12\n\n+ 13"), std::string::npos) << text;
    EXPECT_TRUE(Natural()->Text().contains("12\n\n+ 13"));
}

TEST_F(CalcDlgTest, AnErrorIsShownWithItsExcerptAndLeavesEverythingAsItWas) {
    TypeAndCompute("1/4");
    MessageBoxRecorder boxes;
    TypeAndCompute("1 + * 2");

    ASSERT_EQ(boxes.Requests().size(), 1u);
    const MessageBoxRequest& box = boxes.Requests()[0];
    EXPECT_EQ(box.caption, "发生错误");
    EXPECT_EQ(box.text, "在以下位置发生 \"操作数\" 错误\n\n    *2");
    EXPECT_EQ(box.icon, QMessageBox::Information);
    EXPECT_EQ(box.owner, m_window.get());

    EXPECT_EQ(Expr()->text(), "1+*2");  // stripped all the same
    EXPECT_EQ(Result()->text(), "0.25");
    EXPECT_EQ(m_window->NaturalText(), " 1 \n---\n 4 \n");
    EXPECT_EQ(HistoryEntries(), QStringList{"1/4"});
    // The caret waits where the error is.
    EXPECT_TRUE(Expr()->hasFocus());
    EXPECT_EQ(Expr()->cursorPosition(), 2);
}

TEST_F(CalcDlgTest, ErrorExcerptsAreTenBytesFromThePositionAndEmptyAtTheEnd) {
    MessageBoxRecorder boxes;
    TypeAndCompute("1+");
    TypeAndCompute("(1+2345678901");
    TypeAndCompute("1/0");
    ASSERT_EQ(boxes.Requests().size(), 3u);
    EXPECT_EQ(boxes.Requests()[0].text, "在以下位置发生 \"操作数\" 错误\n\n    ");
    EXPECT_TRUE(boxes.Requests()[1].text.endsWith("\n\n    (1+2345678"))
        << boxes.Requests()[1].text.toStdString();
    EXPECT_TRUE(boxes.Requests()[2].text.endsWith("\n\n    1/0"));
    EXPECT_TRUE(HistoryEntries().isEmpty());
    EXPECT_EQ(Result()->text(), "");
}

TEST_F(CalcDlgTest, DoubleClickOrEnterOnAHistoryEntryRecallsItWithoutComputing) {
    TypeAndCompute("6*7");
    TypeAndCompute("1+1");
    Click("modeButton");
    QListView* history = History();
    const QRect first = history->visualRect(history->model()->index(0, 0));
    for (const bool byKey : {false, true}) {
        Expr()->setText("1+1");
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {}, first.center());
        if (byKey) {
            history->setFocus();
            QTest::keyClick(history, Qt::Key_Return);
        } else {
            QTest::mouseDClick(history->viewport(), Qt::LeftButton, {}, first.center());
        }
        EXPECT_EQ(Expr()->text(), "6*7") << (byKey ? "Enter" : "double click");
        // Its value shows as typing shows it, not committed.
        EXPECT_EQ(Result()->text(), "42");
        EXPECT_TRUE(qobject_cast<ResultBox*>(Result())->IsMuted());
        EXPECT_EQ(HistoryCount(), 2);
    }
}

TEST_F(CalcDlgTest, UpAndDownWalkTheHistoryAndComeBackToTheTypedText) {
    TypeAndCompute("1+1");
    TypeAndCompute("2+2");
    Expr()->clear();
    QTest::keyClicks(Expr(), "3+");
    QTest::keyClick(Expr(), Qt::Key_Up);
    EXPECT_EQ(Expr()->text(), "2+2");
    QTest::keyClick(Expr(), Qt::Key_Up);
    EXPECT_EQ(Expr()->text(), "1+1");
    QTest::keyClick(Expr(), Qt::Key_Up);  // the oldest stays
    EXPECT_EQ(Expr()->text(), "1+1");
    QTest::keyClick(Expr(), Qt::Key_Down);
    EXPECT_EQ(Expr()->text(), "2+2");
    QTest::keyClick(Expr(), Qt::Key_Down);
    EXPECT_EQ(Expr()->text(), "3+");
    EXPECT_EQ(Result()->text(), "");  // the typed text has no value
}

// The compact window's box holds about thirty characters; the line scrolls
// on, and every character typed is computed.
TEST_F(CalcDlgTest, TypingPastTheCompactBoxKeepsEveryCharacter) {
    Expr()->clear();
    const QString sixty(60, QLatin1Char('1'));
    QTest::keyClicks(Expr(), sixty);
    EXPECT_EQ(Expr()->text(), sixty);
    QTest::keyClick(Expr(), Qt::Key_Return);
    EXPECT_EQ(Result()->text(), "1.11111111111111e+059");
}

TEST_F(CalcDlgTest, AnExpressionOfAnyLengthIsKeptWholeFromBoxToHistoryAndBack) {
    // 40,000 terms: more than a line edit holds unless told otherwise.
    QString sum = "1";
    for (int i = 1; i < 40000; ++i)
        sum += "+1";
    Expr()->setText(sum);
    QTest::keyClick(Expr(), Qt::Key_Return);
    EXPECT_EQ(Result()->text(), "40000");
    ASSERT_EQ(HistoryCount(), 1);
    EXPECT_LT(HistoryLine(0).size(), 1100);  // the list line shows the beginning
    EXPECT_TRUE(HistoryLine(0).startsWith("1+1+1"));

    Expr()->clear();
    QTest::keyClick(Expr(), Qt::Key_Up);
    EXPECT_EQ(Expr()->text(), sum);
    Expr()->clear();
    const QRect line = History()->visualRect(History()->model()->index(0, 0));
    const QPoint onLine(line.left() + 5, line.center().y());
    QTest::mouseClick(History()->viewport(), Qt::LeftButton, {}, onLine);
    QTest::mouseDClick(History()->viewport(), Qt::LeftButton, {}, onLine);
    EXPECT_EQ(Expr()->text(), sum);
}

TEST_F(CalcDlgTest, EscapeClearsOnlyTheExpressionAndFocusesIt) {
    TypeAndCompute("1/4");
    QTest::keyClicks(Expr(), "+5");
    Click("modeButton");  // the history shows only in the full size
    History()->setFocus();
    QTest::keyClick(History(), Qt::Key_Escape);
    EXPECT_EQ(Expr()->text(), "");
    EXPECT_TRUE(Expr()->hasFocus());
    EXPECT_EQ(Result()->text(), "");  // nothing to compute
    EXPECT_EQ(HistoryCount(), 1);
    EXPECT_TRUE(m_window->isVisible());  // Escape does not close the window
}

// When a long text's computation ends, the window shows what a short one's
// shows: the result and a history entry, or the error's message and place.
TEST_F(CalcDlgTest, ALongComputationEndsAsAShortOneDoes) {
    const QString sum = LongSum();
    const QString terms = QString::number((sum.size() + 1) / 2);
    const struct {
        QString text;
        QString result;
        bool muted;
        QStringList history;
        QString message;  // "" for none
    } cases[] = {
        {sum, terms, false, {"6*7", sum}, ""},
        {sum + "+", "42", true, {"6*7"}, "在以下位置发生 \"操作数\" 错误\n\n    "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        m_window->History().Clear();
        TypeAndCompute("6*7");
        MessageBoxRecorder boxes;
        Expr()->setText(c.text);
        QTest::keyClick(Expr(), Qt::Key_Return);
        EXPECT_TRUE(Commit()->IsRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!Commit()->IsRunning(), 10000);
        EXPECT_EQ(Result()->text(), c.result);
        EXPECT_EQ(qobject_cast<ResultBox*>(Result())->IsMuted(), c.muted);
        EXPECT_EQ(m_window->HistoryEntries(), c.history);
        EXPECT_EQ(Expr()->text(), c.text);
        ASSERT_EQ(boxes.Requests().size(), c.message.isEmpty() ? 0u : 1u);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(boxes.Requests()[0].text, c.message);
            EXPECT_EQ(Expr()->cursorPosition(), c.text.size());
        }
    }
}

// Stopped by Escape, by an edit or by the window closing, a long
// computation leaves the result and the history as they were; Escape keeps
// the text, and a second one clears it.
TEST_F(CalcDlgTest, ALongComputationStoppedLeavesTheResultAndTheHistory) {
    const QString sum = LongSum();
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Escape", [this] { QTest::keyClick(Expr(), Qt::Key_Escape); }},
        {"an edit", [this] { QTest::keyClicks(Expr(), "+"); }},
        {"closing", [this] { m_window->close(); }},
    };
    for (const auto& [way, stop] : ways) {
        SCOPED_TRACE(way);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        m_window->History().Clear();
        TypeAndCompute("6*7");
        Expr()->setText(sum);
        QTest::keyClick(Expr(), Qt::Key_Return);
        ASSERT_TRUE(Commit()->IsRunning());
        stop();
        EXPECT_FALSE(Commit()->IsRunning());
        Commit()->WaitForDone();
        QApplication::processEvents();
        EXPECT_EQ(m_window->HistoryEntries(), QStringList{"6*7"});
        EXPECT_NE(Result()->text(), QString::number((sum.size() + 1) / 2));
        if (way == std::string_view("Escape")) {
            EXPECT_EQ(Result()->text(), "42");
            EXPECT_EQ(Expr()->text(), sum);
            QTest::keyClick(Expr(), Qt::Key_Escape);
            EXPECT_EQ(Expr()->text(), "");
        }
    }
}

TEST_F(CalcDlgTest, NumLockTurnedOffClearsTheExpressionTurnedOnDoesNothing) {
    bool on = true;
    FakeNumLock numLock([&on] { return std::optional<bool>(on); });
    Expr()->setText("1+2");
    on = true;
    QTest::keyClick(Expr(), Qt::Key_NumLock);
    EXPECT_EQ(Expr()->text(), "1+2");
    on = false;
    QTest::keyClick(Expr(), Qt::Key_NumLock);
    EXPECT_EQ(Expr()->text(), "");
}

TEST_F(CalcDlgTest, WithoutAWindowSystemAnswerNumLockPressesAreCounted) {
    FakeNumLock numLock([] { return std::optional<bool>(); });
    Expr()->setText("1+2");
    QTest::keyClick(Expr(), Qt::Key_NumLock);  // on -> off
    EXPECT_EQ(Expr()->text(), "");
    Expr()->setText("3");
    QTest::keyClick(Expr(), Qt::Key_NumLock);  // off -> on
    EXPECT_EQ(Expr()->text(), "3");
}

TEST_F(CalcDlgTest, F2FocusesTheExpressionAndSelectsAllOfItOutsideTheGrid) {
    Click("modeButton");
    Expr()->setText("12+34");
    History()->setFocus();
    QTest::keyClick(History(), Qt::Key_F2);
    EXPECT_TRUE(Expr()->hasFocus());
    EXPECT_EQ(Expr()->selectedText(), "12+34");

    // The grid keeps F2 for itself; from a cell being edited it goes to the
    // expression, and an untouched new row goes without a message.
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_F2);
    EXPECT_FALSE(Expr()->hasFocus());
    MessageBoxRecorder boxes;
    Click("addVariableButton");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    EXPECT_TRUE(Expr()->hasFocus());
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(CalcDlgTest, TheGraveKeyCopiesTheResultAndNeverTypesItself) {
    QApplication::clipboard()->setText("stale");
    QTest::keyClick(Expr(), Qt::Key_QuoteLeft, {}, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), "");  // nothing computed yet

    TypeAndCompute("1/4");
    QTest::keyClicks(Expr(), "`");
    QTest::keyClick(Expr(), Qt::Key_AsciiTilde, Qt::ShiftModifier);
    EXPECT_EQ(Expr()->text(), "1/4");
    EXPECT_EQ(QApplication::clipboard()->text(), "0.25");
}

// Input methods take "`" for their punctuation, so Ctrl+C copies the result
// too, while nothing is selected; a selection is copied as itself.
TEST_F(CalcDlgTest, CtrlCWithNothingSelectedCopiesTheResult) {
    TypeAndCompute("1/4");
    QApplication::clipboard()->setText("stale");
    QTest::keyClick(Expr(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "0.25");

    Expr()->setSelection(0, 1);
    QTest::keyClick(Expr(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1");
}

TEST_F(CalcDlgTest, EnterOutsideTheExpressionBoxComputesNothing) {
    Click("modeButton");
    Expr()->setText("5*5");
    History()->setFocus();
    QTest::keyClick(History(), Qt::Key_Return);
    EXPECT_TRUE(qobject_cast<ResultBox*>(Result())->IsMuted());  // shown, not committed
    EXPECT_EQ(HistoryCount(), 0);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(CalcDlgTest, TheTopMostButtonTogglesStayingOnTopAndAResizeKeepsIt) {
    Click("topMostButton");
    EXPECT_EQ(Button("topMostButton")->GetCheck(), 1);
    EXPECT_TRUE(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Button("topMostButton")->TipText(), "取消窗口置顶");
    EXPECT_TRUE(m_window->isVisible());

    Click("modeButton");
    EXPECT_TRUE(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    Click("topMostButton");
    EXPECT_EQ(Button("topMostButton")->GetCheck(), 0);
    EXPECT_FALSE(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Button("topMostButton")->TipText(), "窗口置顶");
}

TEST_F(CalcDlgTest, DraggingTheFreeSurfaceMovesTheWindow) {
    const QPoint before = m_window->pos();
    const QPoint grip(100, 28);  // below the top row, inside the frame
    ASSERT_EQ(m_window->childAt(grip), ControlNamed(m_window.get(), "compactPanel"));
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 25)),
                     QPointF(m_window->mapToGlobal(grip + QPoint(40, 25))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &move);
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, grip + QPoint(40, 25));
    EXPECT_EQ(m_window->pos(), before + QPoint(40, 25));
}

TEST_F(CalcDlgTest, TheWindowMenuEndsWithASeparatorAndTheAboutEntry) {
    const std::unique_ptr<QMenu> menu = m_window->CreateWindowMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.last()->text(), "关于 Tallyfern(&A)...");

    WhenModalOpens about([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    actions.last()->trigger();
    EXPECT_EQ(about.SeenClass(), "AboutDlg");
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(CalcDlgTest, DialogsOfAWindowKeptOnTopOpenAboveIt) {
    Click("topMostButton");
    bool aboutOnTop = false;
    WhenModalOpens about([&aboutOnTop](QWidget* modal) {
        aboutOnTop = modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    Click("aboutButton");
    EXPECT_TRUE(aboutOnTop);

    bool editorOnTop = false;
    WhenModalOpens editor([&editorOnTop](QWidget* modal) {
        editorOnTop = modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    Click("editorButton");
    EXPECT_TRUE(editorOnTop);
}

TEST_F(CalcDlgTest, TheAboutButtonOpensTheSameAboutBox) {
    QString version;
    WhenModalOpens about([&version](QWidget* modal) {
        for (const QLabel* label : modal->findChildren<QLabel*>()) {
            if (label->text().startsWith("Tallyfern"))
                version = label->text();
        }
        QTest::mouseClick(ControlNamed<QPushButton>(modal, "okButton"), Qt::LeftButton);
    });
    Click("aboutButton");
    EXPECT_EQ(about.SeenClass(), "AboutDlg");
    EXPECT_EQ(version, "Tallyfern 1.1 版 函数库 20060320");
}

TEST_F(CalcDlgTest, TheEditorJoinsItsLinesIntoTheExpressionBoxOnOk) {
    Expr()->setText("9");
    WhenModalOpens editor([](QWidget* modal) {
        auto* edit = ControlNamed<QPlainTextEdit>(modal, "expressionEdit");
        EXPECT_EQ(edit->toPlainText(), "9");
        edit->selectAll();
        QTest::keyClicks(edit, "1 +");
        QTest::keyClick(edit, Qt::Key_Return);  // a line break, not OK
        QTest::keyClicks(edit, "2");
        QTest::mouseClick(ControlNamed<QPushButton>(modal, "okButton"), Qt::LeftButton);
    });
    Click("editorButton");
    EXPECT_EQ(editor.SeenClass(), "ExprEditDlg");
    EXPECT_EQ(Expr()->text(), "1+2");
    // The editor does not compute: the value shows as typing shows it.
    EXPECT_EQ(Result()->text(), "3");
    EXPECT_TRUE(qobject_cast<ResultBox*>(Result())->IsMuted());
}

TEST_F(CalcDlgTest, CancellingTheEditorChangesNothing) {
    Expr()->setText("9 9");
    WhenModalOpens editor([](QWidget* modal) {
        QTest::keyClicks(ControlNamed<QPlainTextEdit>(modal, "expressionEdit"), "+1");
        QTest::mouseClick(ControlNamed<QPushButton>(modal, "cancelButton"), Qt::LeftButton);
    });
    Click("editorButton");
    EXPECT_EQ(Expr()->text(), "9 9");
}

TEST_F(CalcDlgTest, AClickOnAButtonLeavesTheFocusWhereTheTypingGoes) {
    for (const char* id : {"computeButton", "modeButton", "topMostButton"}) {
        Expr()->setFocus();
        Expr()->setText("1");
        Click(id);
        QTest::keyClicks(QApplication::focusWidget(), "2");
        EXPECT_EQ(Expr()->text(), "12") << "after a click on " << id;
    }
}

TEST_F(CalcDlgTest, WhicheverWayTheEditorClosesTheTypingGoesOnInTheBox) {
    for (const char* answer : {"okButton", "cancelButton"}) {
        Expr()->setText("6*7");
        WhenModalOpens editor([answer](QWidget* modal) {
            QTest::mouseClick(ControlNamed<QPushButton>(modal, answer), Qt::LeftButton);
        });
        Click("editorButton");
        // The window manager hands the activation back.
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(Expr()->hasFocus()) << answer;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(Result()->text(), "42") << "Enter computes, the editor stays closed";
        Result()->clear();
    }
}

TEST_F(CalcDlgTest, EveryWayOfClosingClosesOverAnOpenCellEditDroppingIt) {
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"exit button", [this] { Click("exitButton"); }},
        {"window menu", [this] { m_window->CreateWindowMenu()->actions().at(1)->trigger(); }},
        {"window manager", [this] { m_window->close(); }},
    };
    MessageBoxRecorder boxes;
    for (const auto& [way, close] : ways) {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        if (!m_window->IsExpanded())
            Click("modeButton");
        Click("addVariableButton");
        ASSERT_NE(Grid()->OpenEditor(), nullptr) << way;
        ASSERT_EQ(Grid()->OpenEditor(), QApplication::focusWidget()) << way;
        QTest::keyClicks(QApplication::focusWidget(), "1 is no name");
        close();
        EXPECT_FALSE(m_window->isVisible()) << way;
        EXPECT_TRUE(boxes.Requests().empty()) << way;
        EXPECT_EQ(m_window->VariableRows().rowCount(), 0) << way;
    }
}

TEST_F(CalcDlgTest, TheExitButtonAndTheWindowManagersCloseEndTheWindow) {
    QSignalSpy finished(m_window.get(), &QDialog::finished);
    Click("exitButton");
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(m_window->isVisible());

    m_window->show();
    EXPECT_TRUE(m_window->close());
    EXPECT_EQ(finished.count(), 2);
}

}  // namespace
