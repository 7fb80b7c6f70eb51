// The expression computed while it is typed: its value muted in the result
// box, its error marked in place, and nothing committed before Enter.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <vector>

#include "CalcWindowTest.h"
#include "ExpressionEdit.h"
#include "LiveComputation.h"
#include "ResultBox.h"
#include "SharedVariables.h"
#include "UiTestSupport.h"
#include "VarListCtrl.h"

namespace {

class LiveComputeTest : public CalcWindowTest {
  protected:
    ExpressionEdit* Expr() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    ResultBox* Result() const { return ControlNamed<ResultBox>(m_window.get(), "resultBox"); }
    int HistoryCount() const { return m_window->History().rowCount(); }

    // The tooltip a pause of the mouse over `position` of the box shows.
    QString TipAt(int position) {
        const QPoint at = Expr()->CharacterRect(position).center();
        QHelpEvent help(QEvent::ToolTip, at, Expr()->mapToGlobal(at));
        QApplication::sendEvent(Expr(), &help);
        const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return tip;
    }
};

void Paste(ExpressionEdit* box, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

// Empties the box and types `keys`.
void Retype(ExpressionEdit* box, const QString& keys) {
    box->clear();
    QTest::keyClicks(box, keys);
}

// "1" repeated `terms` times with "+" between: a sum worth `terms`.
QString LongSum(int terms) {
    QString sum = QStringLiteral("1");
    for (int i = 1; i < terms; ++i)
        sum += QStringLiteral("+1");
    return sum;
}

TEST_F(LiveComputeTest, EachEditShowsTheValueOrMarksTheErrorWhereItStands) {
    struct Step {
        const char* what;
        std::function<void(ExpressionEdit*)> edit;
        const char* value;  // shown muted; "" for none
        int markFrom;       // -1: no mark
        int markTo;
        const char* messagePart;  // in the tooltip and the description
    };
    auto type = [](const char* keys) {
        return [keys](ExpressionEdit* box) { QTest::keyClicks(box, QString::fromUtf8(keys)); };
    };
    auto retype = [](const char* keys) {
        return [keys](ExpressionEdit* box) { Retype(box, QString::fromUtf8(keys)); };
    };
    auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [k, modifiers](ExpressionEdit* box) { QTest::keyClick(box, k, modifiers); };
    };
    const Step steps[] = {
        {"typed", type("1+2*3"), "7", -1, -1, ""},
        {"an operator with nothing after it", type("+"), "", 5, 6, "操作数"},
        {"an open parenthesis", type("(1"), "", 6, 7, "括号不匹配"},
        {"closed", type(")"), "8", -1, -1, ""},
        {"deleted", key(Qt::Key_Backspace), "", 6, 7, "括号不匹配"},
        {"undone", key(Qt::Key_Z, Qt::ControlModifier), "8", -1, -1, ""},
        {"all replaced by a paste",
         [](ExpressionEdit* box) {
             box->selectAll();
             Paste(box, QStringLiteral("2 * (1 +"));
         },
         "", 7, 8, "操作数"},
        {"blanks count in the mark's place", type(" 2)"), "6", -1, -1, ""},
        {"a divisor that is zero", retype("1+1/0"), "", 4, 5, "除数为零"},
        {"an undefined name", retype("1+foo"), "", 2, 3, "foo"},
        {"a function out of its domain", retype("2*asin(2)"), "", 2, 3, "越界"},
        {"emptied", retype(""), "", -1, -1, ""},
    };
    Expr()->setFocus();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.edit(Expr());
        EXPECT_EQ(Result()->text(), QString::fromUtf8(step.value));
        EXPECT_TRUE(Result()->IsMuted());
        if (step.markFrom < 0) {
            EXPECT_FALSE(Expr()->HasErrorMark());
            continue;
        }
        ASSERT_TRUE(Expr()->HasErrorMark()) << Expr()->text().toStdString();
        EXPECT_EQ(Expr()->ErrorMarkStart(), step.markFrom);
        EXPECT_EQ(Expr()->ErrorMarkEnd(), step.markTo);
        const QString message = Expr()->ErrorMarkMessage();
        EXPECT_TRUE(message.contains(QString::fromUtf8(step.messagePart))) << message.toStdString();
        EXPECT_EQ(Expr()->accessibleDescription(), message);
        EXPECT_EQ(TipAt(step.markFrom), message);
    }
}

TEST_F(LiveComputeTest, TypingNeitherAddsToTheHistoryNorOpensABox) {
    MessageBoxRecorder boxes;
    Expr()->setFocus();
    QTest::keyClicks(Expr(), QStringLiteral("2*(1+"));
    QTest::keyClick(Expr(), Qt::Key_Backspace);
    QTest::keyClicks(Expr(), QStringLiteral("3)/0"));
    QTest::keyClick(Expr(), Qt::Key_Up);
    EXPECT_EQ(HistoryCount(), 0);
    EXPECT_TRUE(boxes.Requests().empty());
}

// In the full window the natural form follows the typing, drawn as Enter
// would draw it, also where the value fails; an expression that does not
// read shows none, as an earlier drawing would be taken for its own.
TEST_F(LiveComputeTest, TheNaturalFormFollowsTheTypingInTheFullWindow) {
    ControlNamed<QAbstractButton>(m_window.get(), "modeButton")->click();
    Expr()->setFocus();
    QTest::keyClicks(Expr(), QStringLiteral("1/2/3"));
    const std::string typed = m_window->NaturalText();
    EXPECT_NE(typed.find("---"), std::string::npos) << typed;
    QTest::keyClicks(Expr(), QStringLiteral("+("));
    EXPECT_EQ(m_window->NaturalText(), "");
    QTest::keyClick(Expr(), Qt::Key_Backspace);
    QTest::keyClick(Expr(), Qt::Key_Backspace);
    QTest::keyClick(Expr(), Qt::Key_Return);
    EXPECT_EQ(m_window->NaturalText(), typed);

    // An undefined name reads: it is drawn.
    MessageBoxRecorder boxes;
    QTest::keyClicks(Expr(), QStringLiteral("*x"));
    const std::string undefined = m_window->NaturalText();
    EXPECT_NE(undefined.find('x'), std::string::npos) << undefined;
    // A failed computation, or the switch turned off, puts back the last
    // computation's drawing.
    QTest::keyClicks(Expr(), QStringLiteral("+"));
    QTest::keyClick(Expr(), Qt::Key_Return);
    EXPECT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(m_window->NaturalText(), typed);
    QTest::keyClick(Expr(), Qt::Key_Backspace);
    EXPECT_EQ(m_window->NaturalText(), undefined);
    m_window->SetComputeWhileTyping(false);
    EXPECT_EQ(m_window->NaturalText(), typed);
}

// The value shown follows the grid as it follows the box.
TEST_F(LiveComputeTest, AnEditedOrRemovedVariableChangesTheValueShown) {
    auto* grid = ControlNamed<VarListCtrl>(m_window.get(), "variableGrid");
    m_window->VariableRows().Reset({{QStringLiteral("rate"), QStringLiteral("3")}});
    Expr()->setFocus();
    QTest::keyClicks(Expr(), QStringLiteral("rate*2"));
    EXPECT_EQ(Result()->text(), "6");

    ASSERT_TRUE(grid->EditCell(0, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->OpenEditor());
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("4"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Result()->text(), "8");

    grid->selectRow(0);
    grid->RemoveAction()->trigger();
    EXPECT_EQ(Result()->text(), "");
    EXPECT_TRUE(Expr()->accessibleDescription().contains(QStringLiteral("rate")));
}

// A long text is computed on another thread with a copy of the variables,
// made again after each change of the grid.
TEST_F(LiveComputeTest, ALongTextReadsTheVariablesAsTheyAreNow) {
    QString text = QStringLiteral("rate");
    while (text.size() <= LiveComputation::kComputedAtOnce)
        text += QStringLiteral("+0");
    for (const char* value : {"3", "4"}) {
        m_window->VariableRows().Reset({{QStringLiteral("rate"), QString::fromUtf8(value)}});
        if (Expr()->text().isEmpty())
            Expr()->setText(text);
        QTRY_COMPARE_WITH_TIMEOUT(Result()->text(), QString::fromUtf8(value), 5000);
    }
}

// Enter shows, records and reports exactly what it did before values were
// shown while typing, with the switch on and off.
TEST_F(LiveComputeTest, EnterCommitsAsWithoutTheSwitch) {
    struct Seen {
        QString result;
        bool muted;
        int history;
        std::vector<QString> messages;
        int caret;
        bool operator==(const Seen&) const = default;
    };
    auto run = [this](bool live) {
        m_window->SetComputeWhileTyping(live);
        m_window->History().Clear();
        Expr()->setFocus();
        MessageBoxRecorder boxes;
        std::vector<Seen> seen;
        for (const char* typed : {"1+2*3", "2*(1+", "1+foo", "4/2"}) {
            Expr()->clear();
            QTest::keyClicks(Expr(), QString::fromUtf8(typed));
            QTest::keyClick(Expr(), Qt::Key_Return);
            std::vector<QString> messages;
            for (const MessageBoxRequest& request : boxes.Requests())
                messages.push_back(request.text);
            seen.push_back({Result()->text(), Result()->IsMuted(), HistoryCount(), messages,
                            Expr()->cursorPosition()});
        }
        return seen;
    };
    const std::vector<Seen> live = run(true);
    const std::vector<Seen> off = run(false);
    ASSERT_EQ(live.size(), 4u);
    EXPECT_EQ(live[0].result, "7");
    EXPECT_EQ(live[1].result, "7") << "the last result stays after an error";
    EXPECT_TRUE(live[1].muted) << "as no answer to the expression that failed";
    EXPECT_EQ(live[3].history, 2);
    EXPECT_FALSE(live[3].muted);
    EXPECT_EQ(live, off);
}

TEST_F(LiveComputeTest, AnEditAfterALongInputNeverShowsTheLongInputsValue) {
    std::vector<QString> shown;
    QObject::connect(Result(), &QLineEdit::textChanged,
                     [&shown](const QString& text) { shown.push_back(text); });
    Expr()->setFocus();
    // Long enough to be computed away from the window's thread.
    Paste(Expr(), LongSum(20000));
    Expr()->selectAll();
    QTest::keyClicks(Expr(), QStringLiteral("5"));
    EXPECT_EQ(Result()->text(), "5");
    QTest::qWait(1000);
    EXPECT_EQ(Result()->text(), "5");
    EXPECT_EQ(std::count(shown.begin(), shown.end(), QStringLiteral("20000")), 0);

    // Alone, it shows once computed.
    Expr()->selectAll();
    Paste(Expr(), LongSum(20000));
    QTRY_COMPARE_WITH_TIMEOUT(Result()->text(), QStringLiteral("20000"), 5000);
    EXPECT_TRUE(Result()->IsMuted());
}

TEST_F(LiveComputeTest, TheSwitchSitsInTheWindowMenuAndOffShowsNothingBeforeEnter) {
    const std::unique_ptr<QMenu> menu = m_window->CreateWindowMenu();
    const QList<QAction*> entries = menu->actions();
    ASSERT_GE(entries.size(), 5);
    EXPECT_EQ(entries[2], m_window->ComputeWhileTypingAction());
    EXPECT_TRUE(entries[2]->isCheckable());
    EXPECT_TRUE(entries[2]->isChecked());
    EXPECT_TRUE(entries[3]->isSeparator());

    Expr()->setFocus();
    QTest::keyClicks(Expr(), QStringLiteral("6*7"));
    QTest::keyClick(Expr(), Qt::Key_Return);
    QTest::keyClicks(Expr(), QStringLiteral("+"));
    ASSERT_TRUE(Expr()->HasErrorMark());
    entries[2]->trigger();
    EXPECT_FALSE(m_window->ComputesWhileTyping());
    EXPECT_FALSE(Expr()->HasErrorMark());
    EXPECT_EQ(Result()->text(), "42");
    EXPECT_FALSE(Result()->IsMuted());
    QTest::keyClicks(Expr(), QStringLiteral("1"));
    EXPECT_EQ(Result()->text(), "42");
    EXPECT_FALSE(Result()->IsMuted());
}

TEST(LiveComputation, ACancelRightAfterAnEditOfALongTextStartsNoWork) {
    // As Enter does after the compute command strips the blanks.
    LiveComputation live;
    int reported = 0;
    QObject::connect(&live, &LiveComputation::Computed, [&reported] { ++reported; });
    const VarTable none;
    SharedVariables variables(none);
    live.Request(LongSum(100000), variables);
    live.Cancel();
    QCoreApplication::processEvents();
    EXPECT_FALSE(live.IsBusy());
    QTest::qWait(100);
    EXPECT_EQ(reported, 0);
}

}  // namespace
