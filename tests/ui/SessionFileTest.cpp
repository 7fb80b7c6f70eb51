// The kept file's text, read back whatever became of it, and the merge of
// two windows writing it in turn.
#include <gtest/gtest.h>

#include "SessionFile.h"
#include "SessionMerge.h"

namespace {

const QByteArray kHeader = R"({"format":"tallyfern-session","version":1})"
                           "\n";

struct ReadCase {
    const char* why;
    QByteArray bytes;
    QStringList history;
    QStringList variableNames;
    SessionReadProblems problems;
};

SessionReadProblems Damaged() {
    SessionReadProblems p;
    p.damaged = true;
    return p;
}
SessionReadProblems Newer() {
    SessionReadProblems p;
    p.newerVersion = true;
    return p;
}
SessionReadProblems NotUtf8(int skippedHistory) {
    SessionReadProblems p;
    p.notUtf8 = true;
    p.skippedHistory = skippedHistory;
    return p;
}
SessionReadProblems Skipped(int history, int variables) {
    SessionReadProblems p;
    p.skippedHistory = history;
    p.skippedVariables = variables;
    return p;
}

TEST(SessionFileTest, EveryValidRecordIsTakenAndWhatWasSkippedIsCounted) {
    const ReadCase cases[] = {
        {"a sound file",
         kHeader + R"({"history":"1+2"})"
                   "\n"
                   R"({"variable":"k","value":"2"})"
                   "\n",
         {"1+2"},
         {"k"},
         {}},
        {"cut short in the middle of a record: the records before it stay",
         kHeader + R"({"history":"1+2"})"
                   "\n"
                   R"({"history":"3*)",
         {"1+2"},
         {},
         Damaged()},
        {"a corrupt line among sound ones",
         kHeader + R"({"history":"a"})"
                   "\n"
                   "\x01garbage\n"
                   R"({"history":"b"})"
                   "\n",
         {"a", "b"},
         {},
         Damaged()},
        {"no header",
         R"({"history":"a"})"
         "\n",
         {"a"},
         {},
         Damaged()},
        {"a newer version: what this one understands, the rest left alone",
         R"({"format":"tallyfern-session","version":7})"
         "\n"
         R"({"history":"a"})"
         "\n"
         R"({"unknown":1})"
         "\n",
         {"a"},
         {},
         Newer()},
        {"bytes that are not UTF-8 spoil only their own record",
         kHeader + "{\"history\":\"\xff\xfe\"}\n"
                   R"({"history":"ok"})"
                   "\n",
         {"ok"},
         {},
         NotUtf8(1)},
        {"rows the grid would refuse: a bad name, a name taken by case, a value no number, "
         "an empty or repeated history entry",
         kHeader + R"({"variable":"1x","value":"1"})"
                   "\n"
                   R"({"variable":"rate","value":"1"})"
                   "\n"
                   R"({"variable":"RATE","value":"2"})"
                   "\n"
                   R"({"variable":"k","value":"1+1"})"
                   "\n"
                   R"({"variable":"m","value":7})"
                   "\n"
                   R"({"history":""})"
                   "\n"
                   R"j({"history":"sin(1)"})j"
                   "\n"
                   R"j({"history":"SIN(1)"})j"
                   "\n",
         {"sin(1)"},
         {"rate"},
         Skipped(2, 4)},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.why);
        const SessionReadResult read = ParseSessionFile(c.bytes);
        EXPECT_EQ(read.session.history, c.history);
        QStringList names;
        for (const KeptVariable& variable : read.session.variables)
            names << variable.name;
        EXPECT_EQ(names, c.variableNames);
        EXPECT_EQ(read.problems.damaged, c.problems.damaged);
        EXPECT_EQ(read.problems.newerVersion, c.problems.newerVersion);
        EXPECT_EQ(read.problems.notUtf8, c.problems.notUtf8);
        EXPECT_EQ(read.problems.skippedHistory, c.problems.skippedHistory);
        EXPECT_EQ(read.problems.skippedVariables, c.problems.skippedVariables);
    }
}

TEST(SessionFileTest, WhatIsWrittenReadsBackTheSameAndTheOldestHistoryGoesFirst) {
    KeptSession session{{"1+2", "\"quoted\"\nline", "√2·π"}, {{"rate", "0.05"}, {"_k", "-1e-3"}}};
    const SessionReadResult read = ParseSessionFile(SerializeSession(session));
    EXPECT_FALSE(read.problems.Any());
    EXPECT_EQ(read.session.history, session.history);
    EXPECT_EQ(read.session.variables, session.variables);

    QStringList history;
    for (int i = 0; i < kMaxHistoryEntries + 5; ++i)
        history << QString::number(i);
    LimitHistory(history);
    ASSERT_EQ(history.size(), kMaxHistoryEntries);
    EXPECT_EQ(history.front(), "5");
    // One entry larger than all the room there is is not kept either.
    history = {"1", QString(kMaxHistoryCharacters, QLatin1Char('9')), "2"};
    LimitHistory(history);
    EXPECT_EQ(history, QStringList{"2"});
}

TEST(SessionFileTest, TwoWindowsWritingInTurnKeepEachOthersWork) {
    const KeptVariable a1{"a", "1"}, a2{"a", "2"}, a3{"A", "3"}, b{"b", "5"}, c{"c", "6"};
    const struct {
        const char* why;
        KeptSession disk, mine, base, merged;
    } cases[] = {
        {"both histories, in the order they were written",
         {{"x1", "y1"}, {}},
         {{"x1", "x2"}, {}},
         {{"x1"}, {}},
         {{"x1", "y1", "x2"}, {}}},
        {"history cleared here goes; what the other window added since stays",
         {{"x1", "y1"}, {}},
         {{}, {}},
         {{"x1"}, {}},
         {{"y1"}, {}}},
        {"an entry the other window removed does not come back",
         {{"y1"}, {}},
         {{"x1", "x2"}, {}},
         {{"x1"}, {}},
         {{"y1", "x2"}, {}}},
        {"a variable changed here wins over the file's",
         {{}, {a2}},
         {{}, {a3}},
         {{}, {a1}},
         {{}, {a3}}},
        {"a variable left alone here takes the other window's value",
         {{}, {a2, b}},
         {{}, {a1}},
         {{}, {a1}},
         {{}, {a2, b}}},
        {"a variable removed here goes; one added there stays",
         {{}, {a1, b, c}},
         {{}, {b}},
         {{}, {a1, b}},
         {{}, {b, c}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const KeptSession merged = MergeSessions(c.disk, c.mine, c.base);
        EXPECT_EQ(merged.history, c.merged.history);
        EXPECT_EQ(merged.variables, c.merged.variables);
    }
}

}  // namespace
