// What the typing helps read from the text around the caret: the name to
// complete, the names that complete it, a bracket's partner, the call and
// argument the caret is in, and the usage hint with that argument in bold.
#include <gtest/gtest.h>

#include <QStack>
#include <random>

#include "FunctionHelps.h"
#include "TypingText.h"

namespace {

TEST(TypingTextTest, TheNameBeforeTheCaretIsReadAsTheEngineReadsNames) {
    struct Row {
        const char* text;
        qsizetype caret;
        qsizetype start;
        const char* why;
    };
    const Row rows[] = {
        {"2*as", 4, 2, "a name after an operator"},
        {"x_1", 3, 0, "digits and '_' continue a name"},
        {"(ab", 3, 1, "a name after a bracket"},
        {"asin", 2, -1, "inside a name completing would split it"},
        {"2e", 2, -1, "a run that begins with a digit is a number"},
        {"ab ", 3, -1, "a blank ends the name"},
        {"", 0, -1, "nothing typed"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(NameStartBefore(QString::fromLatin1(row.text), row.caret), row.start) << row.why;
}

TEST(TypingTextTest, NamesThatBeginWithThePrefixAreListedByNameExactOneFirst) {
    const QList<NameEntry> entries = {
        {"asin", {}, true}, {"abs", {}, true}, {"Abs", {}, false}, {"ab", {}, false},
        {"ab", {}, true},   {"log", {}, true}, {"acos", {}, true},
    };
    struct Row {
        const char* prefix;
        qsizetype most;
        QStringList names;
        const char* why;
    };
    const Row rows[] = {
        {"a", 50, {"ab", "ab", "abs", "acos", "asin"}, "by name, case counts"},
        {"ab", 50, {"ab", "ab", "abs"}, "the exact name first"},
        {"A", 50, {"Abs"}, "an upper-case prefix lists upper-case names only"},
        {"a", 2, {"ab", "ab"}, "no more than asked for"},
        {"", 50, {}, "nothing typed lists nothing"},
        {"x", 50, {}, "no name begins so"},
    };
    for (const Row& row : rows) {
        QStringList names;
        const QList<qsizetype> found =
            MatchingNames(entries, QString::fromLatin1(row.prefix), row.most);
        for (qsizetype i : found)
            names.append(entries[i].name);
        EXPECT_EQ(names, row.names) << row.why;
        if (QString::fromLatin1(row.prefix) == u"ab")
            EXPECT_TRUE(entries[found[0]].isFunction) << "a function before a variable of its name";
    }
}

TEST(TypingTextTest, TheBracketBesideTheCaretAndItsPartnerAreFound) {
    struct Row {
        const char* text;
        qsizetype caret;
        qsizetype bracket;
        qsizetype partner;
        const char* why;
    };
    const Row rows[] = {
        {"((1+2)*3)", 9, 8, 0, "after the last ')' the first '('"},
        {"((1+2)*3)", 1, 0, 8, "the bracket before the caret wins"},
        {"((1+2)*3)", 5, 5, 1, "else the one after it"},
        {"(1+2", 1, 0, -1, "an unclosed bracket has no partner"},
        {"1+2)", 4, 3, -1, "nor has a closing one never opened"},
        {"a+b", 1, -1, -1, "no bracket beside the caret"},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromLatin1(row.text);
        const qsizetype bracket = BracketBesideCaret(text, row.caret);
        EXPECT_EQ(bracket, row.bracket) << row.why;
        EXPECT_EQ(BracketPartner(text, bracket), row.partner) << row.why;
    }
}

// A key on a line of megabytes looks no further than the reach: a partner
// or a call beyond it is not known, and an unclosed bracket is not taken
// for one left alone.
TEST(TypingTextTest, TheHelpsLookNoFurtherThanTheirReach) {
    const QString far(kHelpReach, u'1');
    const QString beyond = u'(' + far + u')';
    const QString within = u'(' + far.chopped(1) + u')';
    const QString unclosed = u'(' + far;
    EXPECT_EQ(BracketPartner(beyond, 0), kPartnerOutOfReach);
    EXPECT_EQ(BracketPartner(beyond, kHelpReach + 1), kPartnerOutOfReach);
    EXPECT_EQ(BracketPartner(within, 0), kHelpReach);
    EXPECT_EQ(BracketPartner(unclosed, 0), -1) << "the line's end is within reach";
    const QString callBeyond = "log(" + far;
    const QString callWithin = "log(" + far.chopped(1);
    EXPECT_EQ(CallAround(callBeyond, callBeyond.size()), std::nullopt);
    EXPECT_EQ(CallAround(callWithin, callWithin.size()), (CallPlace{0, 3, 0}));
    EXPECT_EQ(NameStartBefore(QString(kHelpReach + 1, u'a'), kHelpReach + 1), -1);
    EXPECT_EQ(NameStartBefore(QString(kHelpReach, u'a'), kHelpReach), 0);
}

// The partners found by walking out from each bracket are those a stack
// pairs in one pass over the text.
TEST(TypingTextTest, BracketPartnersAgreeWithPairingByAStack) {
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        QString text;
        for (int i = 0; i < 12; ++i)
            text += QChar(u"()x"[random() % 3]);
        QList<qsizetype> paired(text.size(), -1);
        QStack<qsizetype> open;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'(') {
                open.push(i);
            } else if (text[i] == u')' && !open.isEmpty()) {
                paired[i] = open.top();
                paired[open.pop()] = i;
            }
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] != u'x')
                ASSERT_EQ(BracketPartner(text, i), paired[i]) << qPrintable(text) << " at " << i;
        }
    }
}

TEST(TypingTextTest, TheCallAndArgumentTheCaretIsInAreFound) {
    struct Row {
        const char* text;
        qsizetype caret;
        std::optional<CallPlace> call;
        const char* why;
    };
    const Row rows[] = {
        {"log(2,", 6, CallPlace{0, 3, 1}, "after the comma the second argument"},
        {"2*abs(", 6, CallPlace{2, 5, 0}, "the first argument"},
        {"log(2, (3+", 10, CallPlace{0, 3, 1}, "a plain bracket is passed over"},
        {"sin(log(2,3)", 12, CallPlace{0, 3, 0}, "a closed inner call is passed over"},
        {"log (2,", 7, CallPlace{0, 3, 1}, "a blank before the bracket still calls"},
        {"log(2,3)", 8, std::nullopt, "after the closing bracket"},
        {"(1,2", 4, std::nullopt, "a bracket with no name is no call"},
        {"1+2", 3, std::nullopt, "no bracket at all"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CallAround(QString::fromLatin1(row.text), row.caret), row.call) << row.why;
}

TEST(TypingTextTest, TheUsageHintBoldsTheCurrentArgument) {
    struct Row {
        QString usage;
        QString name;
        int argument;
        QString hint;
    };
    const Row rows[] = {
        {"log(a, b)", "log", 1, "log(a, <b>b</b>)"},
        {QStringLiteral("asin(x)\n　　x∈[-1, 1]"), "arcsin", 0,
         QStringLiteral("arcsin(<b>x</b>), x∈[-1, 1]")},
        {"atan(x)\n", "atan", 2, "atan(x)"},
        {"f(a<b)", "f", 0, "f(<b>a&lt;b</b>)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(UsageHint(row.usage, row.name, row.argument), row.hint) << qPrintable(row.usage);
}

TEST(TypingTextTest, EveryFunctionHasHelpAndAnAliasSharesItsFunctions) {
    const QList<FunctionHelp> helps = FunctionHelps();
    const auto named = [&](const char* name) {
        return *std::find_if(helps.begin(), helps.end(),
                             [&](const FunctionHelp& help) { return help.name == name; });
    };
    for (const FunctionHelp& help : helps)
        EXPECT_FALSE(help.summary.isEmpty()) << qPrintable(help.name);
    EXPECT_EQ(named("arcsin").summary, named("asin").summary);
    EXPECT_EQ(named("arcsin").usage, named("asin").usage);
}

}  // namespace
