// A typing run with real keys, sent to the window as the window system
// sends them: names completed from the list (taken, closed, typed past),
// the bracket that pairs with the caret's, and the usage of the call the
// caret is in.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "CalcWindowTest.h"
#include "CompletionList.h"
#include "ExpressionEdit.h"
#include "TypingHelper.h"
#include "UiTestSupport.h"

namespace {

class TypingHelpTest : public CalcWindowTest {
  protected:
    ExpressionEdit* Box() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    TypingHelper& Help() const { return Box()->TypingHelp(); }

    void Press(Qt::Key key) { QTest::keyClick(m_window->windowHandle(), key); }
    void Type(const char* keys) {
        for (const char* c = keys; *c; ++c)
            QTest::keyClick(m_window->windowHandle(), *c);
    }
    QStringList Listed() const {
        QStringList names;
        const CompletionList* list = Help().List();
        for (int row = 0; list->isVisible() && row < list->topLevelItemCount(); ++row)
            names.append(list->topLevelItem(row)->text(0));
        return names;
    }
};

TEST_F(TypingHelpTest, NamesCompleteBracketsPairAndTheCallsUsageShows) {
    m_window->VariableRows().Reset({{QStringLiteral("ab"), QStringLiteral("5")}});
    Box()->setFocus();
    // What a screen reader is told: each new current entry, each new call.
    QSignalSpy told(&Help(), &TypingHelper::Tell);

    Type("2*a");
    EXPECT_EQ(Listed(),
              QStringList({"ab", "abs", "acos", "arccos", "arcsin", "arctg", "asin", "atan"}));
    EXPECT_TRUE(Box()->hasFocus()) << "the list never takes the focus";

    // Tab takes the one entry left, with its bracket; the hint gives its
    // range.
    Type("s");
    EXPECT_EQ(Listed(), QStringList({"asin"}));
    Press(Qt::Key_Tab);
    EXPECT_EQ(Box()->text(), "2*asin(");
    EXPECT_TRUE(Box()->hasFocus()) << "Tab took the entry instead of moving on";
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_TRUE(Help().Hint()->isVisible());
    EXPECT_EQ(Help().Hint()->text(), QStringLiteral("asin(<b>x</b>), x∈[-1, 1]"));
    ASSERT_EQ(told.size(), 3) << "ab, asin, then the call";
    EXPECT_TRUE(told.at(1).at(0).toString().startsWith("asin"));
    EXPECT_TRUE(told.at(2).at(0).toString().startsWith("asin(x)"));

    // Escape closes the list and leaves the text; typing goes on.
    Type("1)+l");
    EXPECT_EQ(Listed(), QStringList({"lg", "ln", "log"}));
    EXPECT_EQ(told.size(), 4) << "the argument typed told nothing; the list of l's did";
    Press(Qt::Key_Escape);
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(Box()->text(), "2*asin(1)+l") << "Escape was the window's clearing";

    // Enter with the list open takes, and computes nothing.
    Type("o");
    EXPECT_EQ(Listed(), QStringList({"log"}));
    Press(Qt::Key_Return);
    EXPECT_EQ(Box()->text(), "2*asin(1)+log(");
    EXPECT_TRUE(m_window->HistoryEntries().isEmpty());

    Type("2,");
    EXPECT_EQ(Help().Hint()->text(), "log(a, <b>b</b>)");

    // Enter on a variable typed out in full would take nothing: it
    // computes.
    Type("8)");
    EXPECT_FALSE(Help().Hint()->isVisible());
    Type("+ab");
    EXPECT_EQ(Listed(), QStringList({"ab", "abs"}));
    Press(Qt::Key_Return);
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(m_window->HistoryEntries(), QStringList({"2*asin(1)+log(2,8)+ab"}));

    // The caret after the last ')' pairs it with the first '(', which is
    // drawn on a tint; an unclosed bracket has no partner.
    Box()->clear();
    Type("((1+2)*3)");
    EXPECT_EQ(Help().Bracket(), 8);
    EXPECT_EQ(Help().Partner(), 0);
    const QRect first = Box()->CharacterRect(0);
    const QImage paired = Box()->grab(first).toImage();
    Press(Qt::Key_Left);
    EXPECT_EQ(Help().Bracket(), 8) << "the '3' before the caret is no bracket, the ')' after is";
    Press(Qt::Key_Left);
    EXPECT_EQ(Help().Bracket(), -1);
    EXPECT_NE(Box()->grab(first).toImage(), paired) << "the pair's tint left with the caret";
    Press(Qt::Key_Home);
    Press(Qt::Key_Right);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Box()->text(), "(1+2)*3)");
    EXPECT_EQ(Help().Bracket(), 0);
    EXPECT_EQ(Help().Partner(), 4);
    Press(Qt::Key_End);
    EXPECT_EQ(Help().Bracket(), 7);
    EXPECT_EQ(Help().Partner(), -1);
}

}  // namespace
